#include "app/WavsmithMainFrame.h"

#include "app/AboutDialog.h"
#include "app/AppContext.h"
#include "app/CommandIds.h"
#include "app/CommandTable.h"
#include "app/InfoBar.h"
#include "app/MainBar.h"
#include "app/WavsmithView.h"
#include "encoding/AppSettings.h"
#include "filelist/FileList.h"
#include "lang/StringCatalogue.h"
#include "lang/ui/UiText.h"
#include "platform/PlatformPaths.h"
#include "platform/Profile.h"
#include "platform/ui/AfterFirstPaint.h"
#include "platform/ui/ThemeIcon.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QUrl>

namespace {
constexpr const char* kMainSection = "Main";
constexpr const char* kSettingsSection = "Settings";
// The status bar's visibility is stored as the window's visible-style bit.
constexpr int kVisibleStyleBit = 268435456;
constexpr unsigned kPriorityPopupId = 60404;
constexpr unsigned kInitialTotalSize = 59422;
constexpr unsigned kInitialTotalPlayTime = 59423;
constexpr const char* kSiteUrl = "https://orvandel.example/wavsmith/";
constexpr const char* kUpdateUrl = "https://orvandel.example/checknew.php?app=wavsmith&version=";
constexpr const char* kIntroductionTopic = "01_introduction.htm";
constexpr const char* kHotKeysTopic = "08_hot_keys.htm";

void OpenUrl(const QUrl& url) {
    if (!QDesktopServices::openUrl(url))
        QApplication::beep();
}
} // namespace

CWavsmithMainFrame::CWavsmithMainFrame(SAppContext& context, CLanguageMenu::RestartHook restart,
                                       QWidget* pParent)
    : QMainWindow(pParent), m_context(context), m_languageMenu(context.m_catalogue),
      m_restart(std::move(restart)),
      m_pCommands(new CCommandTable(this, context.m_catalogue, m_languageMenu)),
      m_pMainBar(new CMainBar(*m_pCommands, context.m_catalogue, this)),
      m_pInfoBar(new CInfoBar(context.m_catalogue, this)),
      m_pView(new CWavsmithView(context, *m_pCommands, this)), m_pTotalSize(new QLabel(this)),
      m_pTotalPlayTime(new QLabel(this)) {
    setWindowTitle(ProgramTitle());
    // The window manager shows the icon, not the window's first picture.
    CAfterFirstPaint::Run(*this, [this] { setWindowIcon(CAboutDialog::ProgramIcon()); });
    setCentralWidget(m_pView);
    m_bHasHelp =
        QFileInfo::exists(UiText::FromUtf8(CPlatformPaths::HelpDir() + kIntroductionTopic));
    RegisterFrameCommands();
    BuildMenus();
    addToolBar(Qt::TopToolBarArea, m_pMainBar);
    addToolBarBreak(Qt::TopToolBarArea);
    m_pInfoBar->setWindowTitle(
        UiText::WithoutMnemonics(m_pCommands->MenuText(CommandId::kInfoBar)));
    addToolBar(Qt::TopToolBarArea, m_pInfoBar);
    BuildStatusBar();
    RestoreBars();

    connect(m_pCommands, &CCommandTable::CommandDone, this, &CWavsmithMainFrame::UpdateFrame);
    connect(m_pView, &CWavsmithView::ListUpdated, this, &CWavsmithMainFrame::UpdateFrame);
    connect(m_pMainBar, &CMainBar::HelpClicked, this,
            [this] { OpenHelpTopic(m_pView->CurrentHelpTopic()); });
    connect(m_pMainBar, &CMainBar::ExitClicked, this, &QWidget::close);
    connect(m_pInfoBar, &CInfoBar::SourceClicked, this,
            [this] { m_pCommands->Run(CommandId::kOpenDirectory); });
    connect(m_pInfoBar, &CInfoBar::DestinationClicked, this,
            [this] { m_pCommands->Run(CommandId::kDestination); });
    UpdateFrame();
}

CWavsmithMainFrame::~CWavsmithMainFrame() = default;

QString CWavsmithMainFrame::ProgramTitle() {
    return QStringLiteral("Wavsmith " WAVSMITH_VERSION);
}

void CWavsmithMainFrame::RegisterFrameCommands() {
    using namespace CommandId;
    CCommandTable& commands = *m_pCommands;
    commands.Add({kHelp,
                  {Qt::Key_F1},
                  [this] { OpenHelpTopic(m_pView->CurrentHelpTopic()); },
                  [this] { return m_bHasHelp; },
                  {}});
    commands.Add(
        {kHotKeys, {}, [this] { OpenHelpTopic(QString::fromLatin1(kHotKeysTopic)); }, {}, {}});
    commands.Add({kVisitSite, {}, [] { OpenUrl(QUrl(QString::fromLatin1(kSiteUrl))); }, {}, {}});
    commands.Add(
        {kCheckVersion,
         {},
         [] { OpenUrl(QUrl(QString::fromLatin1(kUpdateUrl) + QStringLiteral(WAVSMITH_VERSION))); },
         {},
         {}});
    commands.Add(
        {kAbout, {}, [this] { CAboutDialog(m_context.m_catalogue, this).exec(); }, {}, {}});
    commands.Add({kMainBar,
                  {},
                  [this] { m_pMainBar->setVisible(m_pMainBar->isHidden()); },
                  {},
                  [this] { return !m_pMainBar->isHidden(); }});
    commands.Add({kInfoBar,
                  {},
                  [this] { m_pInfoBar->setVisible(m_pInfoBar->isHidden()); },
                  {},
                  [this] { return !m_pInfoBar->isHidden(); }});
    commands.Add({kStatusBar,
                  {},
                  [this] { statusBar()->setVisible(statusBar()->isHidden()); },
                  {},
                  [this] { return !statusBar()->isHidden(); }});
    commands.Add({kExit, {Qt::ALT | Qt::Key_F4}, [this] { close(); }, {}, {}});
}

void CWavsmithMainFrame::BuildMenus() {
    using namespace CommandId;
    m_nPopupCounter = CLanguageMenu::kFirstPopupId;
    QMenu* file = AddPopup(nullptr, "&File", 0);
    AddItems(file, {kOpenFiles, kOpenDirectory, kDestination, 0, kRefresh, kFreeDB, kEncode});
    // Not counted among the popups: its title has an identifier of its own.
    QMenu* priority = AddPopup(file, "Encode process &priority", kPriorityPopupId);
    AddItems(priority, {kPriorityLow, kPriorityLow + 1, kPriorityLow + 2, kPriorityLow + 3,
                        kPriorityHighest});
    AddItems(file, {0, kExit});

    QMenu* edit = AddPopup(nullptr, "&Edit", 0);
    AddItems(edit, {kFileInformation, 0, kPlayWav, kPlayMp3, 0, kDeleteItem, kDeleteAll, 0,
                    kCheckAll, kUncheckAll, kInvertSelection, 0, kClearStatus});

    QMenu* view = AddPopup(nullptr, "&View", 0);
    AddItems(view, {kMainBar, kInfoBar, kStatusBar, kDirectoryTree, 0});
    BuildLanguageMenu(AddPopup(view, "Interface &language", 0));
    view->addSeparator();
    AddItems(AddPopup(view, "View &Columns", 0),
             {kColumnNumber, kColumnTitle, 0, kColumnPlayTime, 0, kColumnDirectory, kColumnWavName,
              kColumnWavSize, 0, kColumnMp3Name, kColumnMp3Size, 0, kColumnStatus});

    QMenu* help = AddPopup(nullptr, "&Help", 0);
    AddItems(help, {kHelp, kHotKeys, 0, kVisitSite, kCheckVersion, 0, kAbout});
}

QMenu* CWavsmithMainFrame::AddPopup(QMenu* pParent, const char* strBuiltInTitle,
                                    unsigned nTitleId) {
    QString title = QString::fromLatin1(strBuiltInTitle);
    if (m_context.m_catalogue.IsLanguageSelected()) {
        const unsigned id = nTitleId != 0 ? nTitleId : CLanguageMenu::TakePopupId(m_nPopupCounter);
        title = UiText::Load(m_context.m_catalogue, id);
    }
    QMenu* menu = pParent != nullptr ? pParent->addMenu(title) : menuBar()->addMenu(title);
    connect(menu, &QMenu::aboutToShow, m_pCommands, &CCommandTable::UpdateCommandUi);
    return menu;
}

void CWavsmithMainFrame::AddItems(QMenu* pMenu, std::initializer_list<unsigned> ids) {
    for (const unsigned id : ids) {
        if (id == 0)
            pMenu->addSeparator();
        else if (QAction* action = m_pCommands->Action(id))
            pMenu->addAction(action);
    }
}

void CWavsmithMainFrame::BuildLanguageMenu(QMenu* pMenu) {
    const bool english = !m_context.m_catalogue.IsLanguageSelected();
    m_pCommands->Add({CommandId::kEnglish,
                      {},
                      [this] { SwitchLanguage(CommandId::kEnglish); },
                      {},
                      [english] { return english; }});
    AddItems(pMenu, {CommandId::kEnglish});
    for (const SLanguageItem& item : m_languageMenu.BuildLanguageMenu()) {
        const unsigned id = item.m_nCommandId;
        const bool checked = item.m_bChecked;
        pMenu->addAction(m_pCommands->Add(
            {id, {}, [this, id] { SwitchLanguage(id); }, {}, [checked] { return checked; }},
            UiText::FromUtf8(item.m_strName)));
    }
}

void CWavsmithMainFrame::SwitchLanguage(unsigned nCommandId) {
    m_languageMenu.SwitchToItem(nCommandId, m_context.m_prompt, m_context.m_profile, [this] {
        m_bRestarting = true;
        if (m_restart)
            m_restart();
        close();
    });
}

void CWavsmithMainFrame::BuildStatusBar() {
    m_pTotalSize->setText(UiText::Load(m_context.m_catalogue, kInitialTotalSize));
    m_pTotalPlayTime->setText(UiText::Load(m_context.m_catalogue, kInitialTotalPlayTime));
    statusBar()->addPermanentWidget(m_pTotalSize);
    statusBar()->addPermanentWidget(m_pTotalPlayTime);
}

void CWavsmithMainFrame::RestoreBars() {
    const CProfile& profile = m_context.m_profile;
    m_pMainBar->setVisible(profile.GetInt(kSettingsSection, "MainBar", 1) != 0);
    m_pInfoBar->setVisible(profile.GetInt(kSettingsSection, "InfoBar", 1) != 0);
    statusBar()->setVisible(profile.GetInt(kSettingsSection, "StatusBar", 1) != 0);
}

void CWavsmithMainFrame::ShowFromProfile() {
    const CProfile& profile = m_context.m_profile;
    const int left = profile.GetInt(kMainSection, "FrameWndLeft", 60);
    const int top = profile.GetInt(kMainSection, "FrameWndTop", 30);
    const int right = profile.GetInt(kMainSection, "FrameWndRight", 700);
    const int bottom = profile.GetInt(kMainSection, "FrameWndBottom", 550);
    setGeometry(left, top, right - left, bottom - top);
    show();
    m_pView->Initialize();
    UpdateFrame();
}

void CWavsmithMainFrame::OpenHelpTopic(const QString& strTopic) const {
    const qsizetype hash = strTopic.indexOf(QLatin1Char('#'));
    QUrl url =
        QUrl::fromLocalFile(UiText::FromUtf8(CPlatformPaths::HelpDir()) + strTopic.left(hash));
    if (hash >= 0)
        url.setFragment(strTopic.mid(hash + 1));
    OpenUrl(url);
}

void CWavsmithMainFrame::UpdateFrame() {
    m_pCommands->UpdateCommandUi();
    m_pMainBar->UpdateButtons();
    const CAppSettings& settings = m_context.m_settings;
    m_pInfoBar->ShowFolders(UiText::FromUtf8(settings.m_strInputDir),
                            UiText::FromUtf8(settings.m_strOutputDir), settings.m_bSameDir != 0);
    const CFileList& list = m_context.m_fileList;
    m_pTotalSize->setText(UiText::FromUtf8(list.TotalSizeText(m_context.m_catalogue)));
    m_pTotalPlayTime->setText(UiText::FromUtf8(list.TotalPlayTimeText(m_context.m_catalogue)));
}

void CWavsmithMainFrame::closeEvent(QCloseEvent* pEvent) {
    // An add in progress lets the window paint; it must not also let the list go.
    if (m_pView->IsAdding()) {
        pEvent->ignore();
        return;
    }
    // A restart for another language leaves the settings as they are on disk.
    if (!m_bRestarting) {
        m_pView->CloseView();
        CProfile::CDeferredSave batch(m_context.m_profile);
        m_context.m_settings.SaveSettings(m_context.m_profile);
        SaveWindowState();
    }
    pEvent->accept();
}

void CWavsmithMainFrame::SaveWindowState() {
    CProfile& profile = m_context.m_profile;
    if (!isMinimized() && !isMaximized()) {
        const QRect rect = geometry();
        profile.WriteInt(kMainSection, "FrameWndLeft", rect.left());
        profile.WriteInt(kMainSection, "FrameWndTop", rect.top());
        profile.WriteInt(kMainSection, "FrameWndRight", rect.left() + rect.width());
        profile.WriteInt(kMainSection, "FrameWndBottom", rect.top() + rect.height());
    }
    profile.WriteInt(kSettingsSection, "MainBar", m_pMainBar->isHidden() ? 0 : 1);
    profile.WriteInt(kSettingsSection, "InfoBar", m_pInfoBar->isHidden() ? 0 : 1);
    profile.WriteInt(kSettingsSection, "StatusBar", statusBar()->isHidden() ? 0 : kVisibleStyleBit);
}
