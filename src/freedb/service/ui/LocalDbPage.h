#pragma once

#include <QWidget>
#include <array>

struct SAppContext;
class QRadioButton;

// The "Local DB" page of the FreeDB settings: which retrieved albums are cached in the CD
// Player database ("WriteToLocalDB").
class CLocalDbPage : public QWidget {
    Q_OBJECT
public:
    explicit CLocalDbPage(SAppContext& context, QWidget* pParent = nullptr);

    void Load();
    bool Store();
    bool IsModified() const { return m_bModified; }

private:
    SAppContext& m_context;
    std::array<QRadioButton*, 3> m_choices{};
    bool m_bModified = false;
};
