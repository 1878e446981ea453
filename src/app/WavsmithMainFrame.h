#pragma once

#include "lang/LanguageMenu.h"

#include <QMainWindow>
#include <functional>

struct SAppContext;
class CCommandTable;
class CInfoBar;
class CMainBar;
class CWavsmithView;
class QLabel;
class QMenu;

// The main window: menus, main bar, info bar and status bar around the main view; its
// place and bars persist in the profile. Closing it empties the list and saves the
// settings, the window's rectangle and the bars. Lives in the window thread.
class CWavsmithMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // `restart` starts the program anew after a language change.
    CWavsmithMainFrame(SAppContext& context, CLanguageMenu::RestartHook restart,
                       QWidget* pParent = nullptr);
    ~CWavsmithMainFrame() override;

    CWavsmithView& View() { return *m_pView; }
    CCommandTable& Commands() { return *m_pCommands; }

    // Places the window from the profile and shows it; then the view starts up.
    void ShowFromProfile();
    // Opens a topic of the help folder ("04_tab_id3_tag.htm#symbol_replacement").
    void OpenHelpTopic(const QString& strTopic) const;
    bool HasHelp() const { return m_bHasHelp; }

    // "Wavsmith 1.65"
    static QString ProgramTitle();

protected:
    void closeEvent(QCloseEvent* pEvent) override;

private:
    void RegisterFrameCommands();
    void BuildMenus();
    QMenu* AddPopup(QMenu* pParent, const char* strBuiltInTitle, unsigned nTitleId);
    void AddItems(QMenu* pMenu, std::initializer_list<unsigned> ids);
    void BuildLanguageMenu(QMenu* pMenu);
    void BuildStatusBar();
    void RestoreBars();
    void SaveWindowState();
    void UpdateFrame();
    void SwitchLanguage(unsigned nCommandId);

    SAppContext& m_context;
    CLanguageMenu m_languageMenu;
    CLanguageMenu::RestartHook m_restart;
    CCommandTable* m_pCommands;
    // The bars are made before the view: they need no fonts, so they are built while the
    // font database still loads, and the tab order follows the window from the top.
    CMainBar* m_pMainBar;
    CInfoBar* m_pInfoBar;
    CWavsmithView* m_pView;
    QLabel* m_pTotalSize;
    QLabel* m_pTotalPlayTime;
    // The counter of the popup titles while menus are built with a language selected.
    unsigned m_nPopupCounter = CLanguageMenu::kFirstPopupId;
    bool m_bHasHelp = false;
    bool m_bRestarting = false;
};
