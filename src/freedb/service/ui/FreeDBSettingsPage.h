#pragma once

#include "app/SettingsPage.h"

struct SAppContext;
class CFreeDBSettingsSheet;

// The FreeDB settings as the main view's fourth page: the three pages of the settings
// dialog. What the user changed there is saved when the page is left and when the
// program closes; a page left unchanged saves nothing, so it never writes back settings
// that the FreeDB editor changed meanwhile.
class CFreeDBSettingsPage : public CSettingsPage {
    Q_OBJECT
public:
    explicit CFreeDBSettingsPage(SAppContext& context, QWidget* pParent = nullptr);

    void LoadFromSettings() override;
    void StoreToSettings() override;
    QString HelpTopic() const override;

    CFreeDBSettingsSheet& Sheet() { return *m_pSheet; }

private:
    CFreeDBSettingsSheet* m_pSheet;
};
