#pragma once

#include <QTabWidget>

struct SAppContext;
class CConnectionPage;
class CLocalDbPage;
class COptionsPage;

// The three pages of the FreeDB settings ("Connection", "Options", "Local DB"), as the
// settings dialog and the main view's fourth tab show them.
class CFreeDBSettingsSheet : public QTabWidget {
    Q_OBJECT
public:
    explicit CFreeDBSettingsSheet(SAppContext& context, QWidget* pParent = nullptr);

    void Load();
    // Saves every page, or only those the user changed; false when something could not be
    // written.
    bool Store(bool bChangedOnly = false);
    bool IsModified() const;

    CConnectionPage& Connection() { return *m_pConnection; }
    COptionsPage& Options() { return *m_pOptions; }
    CLocalDbPage& LocalDb() { return *m_pLocalDb; }

private:
    CConnectionPage* m_pConnection;
    COptionsPage* m_pOptions;
    CLocalDbPage* m_pLocalDb;
};
