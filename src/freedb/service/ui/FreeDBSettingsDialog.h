#pragma once

#include <QDialog>

struct SAppContext;
class CFreeDBSettingsSheet;

// "FreeDB Settings": the three settings pages with OK, which saves every page, and Help.
class CFreeDBSettingsDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kHelpTopic = "06_freedb_overview.htm";

    explicit CFreeDBSettingsDialog(SAppContext& context, QWidget* pParent = nullptr);

    CFreeDBSettingsSheet& Sheet() { return *m_pSheet; }
    void accept() override;

private:
    CFreeDBSettingsSheet* m_pSheet;
};
