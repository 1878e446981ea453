#include "app/WavsmithView.h"

#include "app/AppContext.h"
#include "app/CommandIds.h"
#include "app/CommandTable.h"
#include "app/FileInformationDialog.h"
#include "encoding/AppSettings.h"
#include "encoding/TrackItem.h"
#include "encoding/ui/EncodingDialog.h"
#include "encoding/ui/Id3Page.h"
#include "encoding/ui/Mp3Page.h"
#include "filelist/FileList.h"
#include "filelist/TrackListColumns.h"
#include "filelist/ui/FolderBrowser.h"
#include "filelist/ui/SkipFilesDialog.h"
#include "filelist/ui/TrackListModel.h"
#include "filelist/ui/TrackListPage.h"
#include "filelist/ui/TrackListView.h"
#include "freedb/service/AlbumInfo.h"
#include "freedb/service/ui/FreeDBEditor.h"
#include "freedb/service/ui/FreeDBSettingsPage.h"
#include "freedb/service/ui/FreeDBTexts.h"
#include "lang/StringCatalogue.h"
#include "lang/ui/UiText.h"
#include "platform/PlatformPaths.h"
#include "platform/Profile.h"
#include "platform/UserPrompt.h"
#include "platform/ui/ThemeIcon.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QMenu>
#include <QTabWidget>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

namespace {
constexpr unsigned kTabTitles[] = {59507, 59508, 59509, 4041};
constexpr const char* kTabIcons[] = {"folder-music", "audio-x-generic", "document-properties",
                                     "media-optical"};
constexpr QStyle::StandardPixmap kTabFallbackIcons[] = {
    QStyle::SP_FileDialogDetailedView, QStyle::SP_MediaVolume, QStyle::SP_FileDialogInfoView,
    QStyle::SP_DriveNetIcon};
constexpr unsigned kOpenSourceDirTitle = 60493;
constexpr unsigned kOpenSourceDirPrompt = 60494;
constexpr unsigned kSelectDestinationPrompt = 60492;
constexpr unsigned kIncludeSubfoldersText = 62200;
constexpr unsigned kWaveFilesFilter = 62203;
constexpr unsigned kAllFilesFilter = 62204;
constexpr const char* kSettingsSection = "Settings";
// While files are added, the rows so far are shown this often.
constexpr qint64 kShowRowsEveryMs = 100;

// The column commands with their columns, in the order of their menus; 0 separates.
struct SColumnCommand {
    unsigned m_nId;
    int m_nColumn;
};
constexpr SColumnCommand kColumnCommands[] = {
    {CommandId::kColumnNumber, CTrackListColumns::kNumber},
    {CommandId::kColumnTitle, CTrackListColumns::kTitle},
    {0, 0},
    {CommandId::kColumnPlayTime, CTrackListColumns::kPlayTime},
    {0, 0},
    {CommandId::kColumnDirectory, CTrackListColumns::kDirectory},
    {CommandId::kColumnWavName, CTrackListColumns::kWavName},
    {CommandId::kColumnWavSize, CTrackListColumns::kWavSize},
    {0, 0},
    {CommandId::kColumnMp3Name, CTrackListColumns::kMp3Name},
    {CommandId::kColumnMp3Size, CTrackListColumns::kMp3Size},
    {0, 0},
    {CommandId::kColumnStatus, CTrackListColumns::kStatus}};

constexpr unsigned kListMenuCommands[] = {CommandId::kFileInformation,
                                          0,
                                          CommandId::kPlayWav,
                                          CommandId::kPlayMp3,
                                          0,
                                          CommandId::kDeleteItem,
                                          CommandId::kDeleteAll,
                                          0,
                                          CommandId::kCheckAll,
                                          CommandId::kUncheckAll,
                                          CommandId::kInvertSelection,
                                          0,
                                          CommandId::kClearStatus};

// A directory text without its trailing '/', as a folder dialog starts from it.
QString DialogStart(const std::string& strDirectory) {
    std::string start = strDirectory;
    if (start.size() > 1 && start.back() == '/')
        start.pop_back();
    return UiText::FromUtf8(start);
}
} // namespace

CWavsmithView::CWavsmithView(SAppContext& context, CCommandTable& commands, QWidget* pParent)
    : QWidget(pParent), m_context(context), m_commands(commands), m_pTabs(new QTabWidget(this)),
      m_pTrackListPage(
          new CTrackListPage(context.m_fileList, context.m_profile, context.m_catalogue, m_pTabs)) {
    m_pages[kTrackListPage] = m_pTrackListPage;
    for (size_t page = 0; page < m_pages.size(); ++page) {
        const QString title = UiText::Load(m_context.m_catalogue, kTabTitles[page]);
        QWidget* tab = m_pTrackListPage;
        if (page != kTrackListPage) {
            // Holds the page once it is built.
            tab = new QWidget(m_pTabs);
            auto* holderLayout = new QVBoxLayout(tab);
            holderLayout->setContentsMargins(0, 0, 0, 0);
        }
        m_pTabs->addTab(tab, ThemeIcon::Get(kTabIcons[page], kTabFallbackIcons[page]), title);
    }
    m_pTrackListPage->setAccessibleName(m_pTabs->tabText(kTrackListPage));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_pTabs);

    connect(m_pTabs, &QTabWidget::currentChanged, this, &CWavsmithView::OnTabChanged);
    connect(m_pTrackListPage, &CTrackListPage::FolderSelected, this,
            &CWavsmithView::OnFolderSelected);
    connect(m_pTrackListPage, &CTrackListPage::SortRequested, this,
            &CWavsmithView::OnSortRequested);
    connect(&m_pTrackListPage->List(), &CTrackListView::PathsDropped, this,
            &CWavsmithView::AddDroppedPaths);
    m_context.m_fileList.m_onFileAdded = [this] { ShowRowsSoFar(); };
    CTrackListModel& model = m_pTrackListPage->Model();
    connect(&model, &CTrackListModel::TitleEdited, this, [this] {
        m_context.m_fileList.ApplySettings();
        UpdateList();
    });
    connect(&model, &CTrackListModel::CheckChanged, this, [this] {
        m_commands.UpdateCommandUi();
        emit ListUpdated();
    });
    RegisterCommands();
    BuildContextMenus();
}

CWavsmithView::~CWavsmithView() {
    m_context.m_fileList.m_onFileAdded = nullptr;
}

void CWavsmithView::Initialize() {
    std::string& source = m_context.m_settings.m_strInputDir;
    if (source.empty())
        return;
    if (!m_pTrackListPage->SelectFolder(DialogStart(source))) {
        const QString root = QStringLiteral("/");
        source = UiText::ToUtf8(root);
        m_pTrackListPage->SelectFolder(root);
    }
}

void CWavsmithView::CloseView() {
    // The FreeDB settings the user changed on their page are kept.
    StoreIfBuilt(kFreeDBPage);
    m_context.m_fileList.DeleteAllItems();
    m_pTrackListPage->UpdateList();
}

void CWavsmithView::RegisterCommands() {
    RegisterListCommands();
    RegisterViewCommands();
    RegisterColumnCommands();
}

void CWavsmithView::RegisterListCommands() {
    using namespace CommandId;
    CFileList& list = m_context.m_fileList;
    const auto onList = [this] { return OnTrackListTab(); };
    const auto onListWithItems = [this, &list] { return OnTrackListTab() && list.HasItems(); };
    const auto changeTracks = [this](auto change) {
        return [this, change] {
            ReadBack();
            change();
            UpdateList();
        };
    };

    m_commands.Add({kOpenFiles, {Qt::CTRL | Qt::Key_Insert}, [this] { OnOpenFiles(); }, {}, {}});
    m_commands.Add({kOpenDirectory,
                    {Qt::Key_Insert, Qt::CTRL | Qt::Key_O},
                    [this] { OnOpenDirectory(); },
                    {},
                    {}});
    m_commands.Add(
        {kRefresh, {Qt::CTRL | Qt::Key_R, Qt::Key_F5}, [this] { OnRefresh(); }, onList, {}});
    m_commands.Add({kDestination,
                    {Qt::CTRL | Qt::Key_D},
                    [this] { OnDestinationDirectory(); },
                    [&list] { return list.CanChooseDestination(); },
                    {}});
    m_commands.Add({kEncode,
                    {Qt::CTRL | Qt::Key_E},
                    [this] { OnEncode(); },
                    [&list] { return list.CanEncode(); },
                    {}});
    m_commands.Add(
        {kFreeDB, {}, [this] { OnGetInfoFromFreeDB(); }, [&list] { return list.HasItems(); }, {}});
    m_commands.Add({kCheckAll,
                    {Qt::CTRL | Qt::Key_A},
                    changeTracks([&list] { list.CheckAll(); }),
                    [this, &list] { return OnTrackListTab() && list.CanCheckAll(); },
                    {}});
    m_commands.Add({kUncheckAll,
                    {Qt::CTRL | Qt::Key_U},
                    changeTracks([&list] { list.UncheckAll(); }),
                    [this, &list] { return OnTrackListTab() && list.CanUncheckAll(); },
                    {}});
    m_commands.Add({kInvertSelection,
                    {Qt::CTRL | Qt::Key_I},
                    changeTracks([&list] { list.InvertSelection(); }),
                    onListWithItems,
                    {}});
    m_commands.Add({kDeleteItem,
                    {Qt::CTRL | Qt::Key_Delete},
                    changeTracks([this, &list] {
                        if (const int row = m_pTrackListPage->FirstSelectedRow(); row >= 0)
                            list.DeleteItem(static_cast<size_t>(row));
                    }),
                    onListWithItems,
                    {}});
    m_commands.Add(
        {kDeleteAll, {}, changeTracks([&list] { list.DeleteAllItems(); }), onListWithItems, {}});
    m_commands.Add({kClearStatus,
                    {},
                    changeTracks([&list] { list.ClearStatus(); }),
                    [this, &list] { return OnTrackListTab() && list.CanClearStatus(); },
                    {}});
    // The desktop's player for the file type plays it.
    const auto play = [](const std::string& strPath) {
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(UiText::FromUtf8(strPath))))
            QApplication::beep();
    };
    m_commands.Add({kPlayWav,
                    {},
                    [this, &list, play] { play(list.Tracks().At(TargetRow()).m_strWavPath); },
                    onListWithItems,
                    {}});
    m_commands.Add({kPlayMp3,
                    {},
                    [this, &list, play] {
                        if (list.CanPlayMp3(TargetRow()))
                            play(list.Tracks().At(TargetRow()).m_strMp3Path);
                    },
                    [this, &list] { return OnTrackListTab() && list.CanPlayMp3(TargetRow()); },
                    {}});
    m_commands.Add({kFileInformation,
                    {Qt::ALT | Qt::Key_Return, Qt::ALT | Qt::Key_Enter},
                    [this] { OnFileInformation(); },
                    onListWithItems,
                    {}});
}

void CWavsmithView::RegisterViewCommands() {
    using namespace CommandId;
    const Qt::Key tabKeys[] = {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4};
    const unsigned tabIds[] = {kFirstTab, kFirstTab + 1, kFirstTab + 2, kFreeDBTab};
    for (int page = 0; page < 4; ++page)
        m_commands.Add(
            {tabIds[page], {Qt::ALT | tabKeys[page]}, [this, page] { SelectPage(page); }, {}, {}});
    m_commands.Add({kDirectoryTree,
                    {},
                    [this] { m_pTrackListPage->ToggleTree(); },
                    {},
                    [this] { return m_pTrackListPage->IsTreeShown(); }});
    for (int priority = -2; priority <= 2; ++priority) {
        int& setting = m_context.m_settings.m_nThreadPriority;
        m_commands.Add({static_cast<unsigned>(static_cast<int>(kPriorityLow) + priority + 2),
                        {},
                        [&setting, priority] { setting = priority; },
                        {},
                        [&setting, priority] { return setting == priority; }});
    }
}

void CWavsmithView::RegisterColumnCommands() {
    for (const SColumnCommand& command : kColumnCommands) {
        if (command.m_nId == 0)
            continue;
        const int column = command.m_nColumn;
        m_commands.Add({command.m_nId,
                        {},
                        [this, column] { m_pTrackListPage->ToggleColumn(column); },
                        {},
                        [this, column] { return m_pTrackListPage->IsColumnVisible(column); }});
    }
}

void CWavsmithView::BuildContextMenus() {
    m_pListMenu = new QMenu(this);
    for (const unsigned id : kListMenuCommands) {
        if (id == 0)
            m_pListMenu->addSeparator();
        else
            m_pListMenu->addAction(m_commands.Action(id));
    }
    connect(m_pListMenu, &QMenu::aboutToShow, &m_commands, &CCommandTable::UpdateCommandUi);
    CTrackListView& list = m_pTrackListPage->List();
    list.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&list, &QWidget::customContextMenuRequested, this, [this, &list](const QPoint& pos) {
        m_pListMenu->popup(list.viewport()->mapToGlobal(pos));
    });
    QHeaderView& header = *list.header();
    header.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&header, &QWidget::customContextMenuRequested, this,
            [this, &header](const QPoint& pos) { ShowColumnsMenu(header.mapToGlobal(pos)); });
}

void CWavsmithView::ShowColumnsMenu(const QPoint& globalPos) {
    QMenu menu(this);
    for (const SColumnCommand& command : kColumnCommands) {
        if (command.m_nId == 0)
            menu.addSeparator();
        else
            menu.addAction(m_commands.Action(command.m_nId));
    }
    connect(&menu, &QMenu::aboutToShow, &m_commands, &CCommandTable::UpdateCommandUi);
    // The menu comes back after each choice, so several columns can be toggled at once.
    while (menu.exec(globalPos) != nullptr) {
    }
}

void CWavsmithView::SelectPage(int nPage) {
    m_pTabs->setCurrentIndex(nPage);
}

CSettingsPage& CWavsmithView::Page(int nPage) {
    CSettingsPage*& page = m_pages[static_cast<size_t>(nPage)];
    if (page == nullptr) {
        QWidget* holder = m_pTabs->widget(nPage);
        page = BuildPage(nPage, holder);
        page->setAccessibleName(m_pTabs->tabText(nPage));
        holder->layout()->addWidget(page);
        page->show();
        page->LoadFromSettings();
    }
    return *page;
}

CSettingsPage* CWavsmithView::BuildPage(int nPage, QWidget* pHolder) {
    if (nPage == kMp3Page)
        return new CMp3Page(m_context, pHolder);
    if (nPage == kFreeDBPage)
        return new CFreeDBSettingsPage(m_context, pHolder);
    auto* id3Page = new CId3Page(m_context, pHolder);
    id3Page->SetHelpAction(m_commands.Action(CommandId::kHelp));
    connect(id3Page, &CId3Page::DestinationRequested, this, &CWavsmithView::OnDestinationDirectory);
    connect(id3Page, &CId3Page::FoldersChanged, this, &CWavsmithView::UpdateList);
    return id3Page;
}

QString CWavsmithView::CurrentHelpTopic() const {
    return m_pages[static_cast<size_t>(m_nCurrentPage)]->HelpTopic();
}

void CWavsmithView::OnTabChanged(int nPage) {
    StorePage(m_nCurrentPage);
    m_nCurrentPage = nPage;
    CSettingsPage& page = Page(nPage);
    page.setFocus();
    page.LoadFromSettings();
    page.RefreshPreview();
    m_commands.UpdateCommandUi();
    emit ListUpdated();
}

void CWavsmithView::StorePage(int nPage) {
    StoreIfBuilt(nPage);
    if (nPage != kTrackListPage && nPage != kFreeDBPage)
        m_context.m_fileList.ApplySettings();
}

void CWavsmithView::StoreOptionPages() {
    StoreIfBuilt(kMp3Page);
    StoreIfBuilt(kId3Page);
}

void CWavsmithView::StoreIfBuilt(int nPage) {
    if (CSettingsPage* page = m_pages[static_cast<size_t>(nPage)])
        page->StoreToSettings();
}

void CWavsmithView::LoadIfBuilt(int nPage) {
    if (CSettingsPage* page = m_pages[static_cast<size_t>(nPage)])
        page->LoadFromSettings();
}

void CWavsmithView::ReadBack() {
    m_pTrackListPage->Model().RefreshReadBack();
}

size_t CWavsmithView::TargetRow() const {
    const int row = m_pTrackListPage->FirstSelectedRow();
    return row < 0 ? 0 : static_cast<size_t>(row);
}

void CWavsmithView::UpdateList() {
    m_pTrackListPage->UpdateList();
    emit ListUpdated();
}

void CWavsmithView::RunAdd(const std::function<void()>& add) {
    // Every add ends by applying the settings to all tracks and naming them; the pages'
    // values go into the settings before, so that this one pass takes them.
    StoreOptionPages();
    m_bAdding = true;
    m_sinceRowsShown.start();
    add();
    m_bAdding = false;
    UpdateList();
    if (m_bWaitCursor)
        QApplication::restoreOverrideCursor();
    m_bWaitCursor = false;
    ShowSkippedFiles();
}

void CWavsmithView::ShowRowsSoFar() {
    // A long add keeps the window painting, and the rows appear as they come under the
    // wait cursor; the user's input waits until the add is done, as the list is changing
    // under it. A quick add shows neither, so nothing flickers.
    if (!m_bAdding || m_sinceRowsShown.elapsed() < kShowRowsEveryMs)
        return;
    if (!m_bWaitCursor)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    m_bWaitCursor = true;
    m_pTrackListPage->Model().RefreshWrite();
    emit ListUpdated();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_sinceRowsShown.restart();
}

void CWavsmithView::OnOpenFiles() {
    const CStringCatalogue& catalogue = m_context.m_catalogue;
    const QString filter = QStringLiteral("%1 (*.wav *.WAV);;%2 (*)")
                               .arg(UiText::Load(catalogue, kWaveFilesFilter),
                                    UiText::Load(catalogue, kAllFilesFilter));
    // Captioned as its command, without the key and the dots.
    const QString caption = UiText::WithoutMnemonics(
        m_commands.MenuText(CommandId::kOpenFiles).section(QLatin1Char('\t'), 0, 0));
    QFileDialog dialog(this, caption.chopped(caption.endsWith(QStringLiteral("...")) ? 3 : 0),
                       DialogStart(m_context.m_settings.m_strInputDir), filter);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.resize(760, 460);
    // Qt's own dialog (not a desktop's) gives its size, type and date columns fixed widths
    // that cut their texts; they follow their contents here, the names take the rest.
    if (auto* details = dialog.findChild<QTreeView*>()) {
        QHeaderView* header = details->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < header->count(); ++column)
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
    if (dialog.exec() == QDialog::Accepted)
        AddFiles(dialog.selectedFiles());
}

void CWavsmithView::AddFiles(const QStringList& paths) {
    std::vector<std::string> files;
    files.reserve(static_cast<size_t>(paths.size()));
    for (const QString& path : paths)
        files.push_back(UiText::ToUtf8(path));
    RunAdd([this, &files] { m_context.m_fileList.OpenFiles(files); });
}

void CWavsmithView::AddDroppedPaths(const QStringList& paths) {
    std::vector<std::string> dropped;
    for (const QString& path : paths)
        dropped.push_back(UiText::ToUtf8(path));
    const bool subfolders = m_context.m_profile.GetInt(kSettingsSection, kSubfoldersKey, 0) != 0;
    RunAdd([this, &dropped, subfolders] { m_context.m_fileList.AddPaths(dropped, subfolders); });
}

void CWavsmithView::OpenPaths(const std::vector<std::string>& paths) {
    const std::string before = m_context.m_settings.m_strInputDir;
    RunAdd([this, &paths] { m_context.m_fileList.OpenPaths(paths); });
    const std::string& source = m_context.m_settings.m_strInputDir;
    if (!source.empty() && source != before)
        m_pTrackListPage->ShowFolder(DialogStart(source));
}

void CWavsmithView::OnOpenDirectory() {
    const CStringCatalogue& catalogue = m_context.m_catalogue;
    CProfile& profile = m_context.m_profile;
    CFolderBrowser browser(catalogue, UiText::Load(catalogue, kOpenSourceDirTitle),
                           UiText::Load(catalogue, kOpenSourceDirPrompt), this);
    browser.SetStartFolder(DialogStart(m_context.m_settings.m_strInputDir));
    browser.AddCheckBox(UiText::Load(catalogue, kIncludeSubfoldersText),
                        profile.GetInt(kSettingsSection, kSubfoldersKey, 0) != 0);
    if (browser.exec() != QDialog::Accepted)
        return;
    const bool subfolders = browser.IsChecked();
    profile.WriteInt(kSettingsSection, kSubfoldersKey, subfolders ? 1 : 0);
    const QString folder = browser.Folder();
    CAppSettings& settings = m_context.m_settings;
    settings.m_strInputDir = CPlatformPaths::WithTrailingSlash(UiText::ToUtf8(folder));
    if (settings.m_strOutputDir.empty())
        settings.m_strOutputDir = settings.m_strInputDir;
    // Another folder selected in the tree applies the tree's rule, as a click would; the
    // folder already selected is only read again.
    if (m_pTrackListPage->SelectedFolder() == folder) {
        RunAdd([this, subfolders] { m_context.m_fileList.Refresh(subfolders); });
        return;
    }
    m_bSubfoldersForTree = subfolders;
    m_pTrackListPage->SelectFolder(folder);
    m_bSubfoldersForTree = false;
}

void CWavsmithView::OnRefresh() {
    RunAdd([this] { m_context.m_fileList.Refresh(); });
}

void CWavsmithView::OnFolderSelected(const QString& strPath) {
    const bool subfolders = m_bSubfoldersForTree;
    RunAdd([this, &strPath, subfolders] {
        m_context.m_fileList.SelectSourceFolder(UiText::ToUtf8(strPath), subfolders);
    });
}

void CWavsmithView::OnSortRequested(int nColumn, bool bReverse) {
    ReadBack();
    m_context.m_fileList.Sort(nColumn, bReverse);
    UpdateList();
}

void CWavsmithView::OnDestinationDirectory() {
    const CStringCatalogue& catalogue = m_context.m_catalogue;
    CFolderBrowser browser(catalogue, QStringLiteral("Wavsmith " WAVSMITH_VERSION),
                           UiText::Load(catalogue, kSelectDestinationPrompt), this);
    browser.AddEditBox([this](const QString& strFolder) {
        return CFileList::ValidateDestination(
            CPlatformPaths::WithTrailingSlash(UiText::ToUtf8(strFolder)), m_context.m_prompt,
            m_context.m_catalogue);
    });
    const std::string& destination = m_context.m_settings.m_strOutputDir;
    browser.SetStartFolder(destination.empty() ? QDir::currentPath() : DialogStart(destination));
    if (browser.exec() != QDialog::Accepted)
        return;
    m_context.m_settings.m_strOutputDir =
        CPlatformPaths::WithTrailingSlash(UiText::ToUtf8(browser.Folder()));
    m_context.m_fileList.ApplySettings();
    UpdateList();
}

void CWavsmithView::OnEncode() {
    ReadBack();
    StoreIfBuilt(kMp3Page);
    m_context.m_fileList.Encode(m_context.m_prompt, m_context.m_catalogue, [this] {
        CEncodingDialog dialog(m_context, window());
        CTrackListModel& model = m_pTrackListPage->Model();
        connect(&dialog, &CEncodingDialog::ProgressTick, &model, &CTrackListModel::RefreshProgress);
        connect(&dialog, &CEncodingDialog::TracksChanged, this, [this, &model] {
            UpdateList();
            // The bold row of the track being encoded stays in sight.
            const CTrackList& tracks = m_context.m_fileList.Tracks();
            for (size_t row = 0; row < tracks.Count(); ++row) {
                if (tracks.At(row).m_bEncoding)
                    m_pTrackListPage->List().scrollTo(model.index(static_cast<int>(row), 0));
            }
        });
        dialog.RunModal();
    });
    UpdateList();
}

void CWavsmithView::OnGetInfoFromFreeDB() {
    ReadBack();
    CAlbumInfo album = m_context.m_fileList.BuildAlbum();
    bool chosen = false;
    try {
        CFreeDBEditor editor(m_context, &album, CFreeDBEditor::kStartLookup, {}, &m_commands,
                             window());
        chosen = editor.exec() == QDialog::Accepted;
    } catch (const std::exception&) {
        m_context.m_prompt.ShowMessage(
            m_context.m_catalogue.LoadUiString(FreeDBText::kLookupException), EPromptIcon::Error);
        return;
    }
    // The FreeDB page shows what the editor's settings dialog may have saved.
    LoadIfBuilt(kFreeDBPage);
    if (!chosen)
        return;
    m_context.m_fileList.ApplyAlbum(album);
    UpdateList();
    LoadIfBuilt(kId3Page);
}

void CWavsmithView::OnFileInformation() {
    const int row = m_pTrackListPage->FirstSelectedRow();
    if (row < 0)
        return;
    CFileInformationDialog dialog(m_context.m_fileList.Tracks().At(static_cast<size_t>(row)),
                                  m_context.m_settings, m_context.m_catalogue, m_context.m_profile,
                                  this);
    dialog.exec();
    UpdateList();
}

void CWavsmithView::ShowSkippedFiles() {
    CFileList& list = m_context.m_fileList;
    if (list.SkippedFiles().empty() || list.m_bDontShowSkipped)
        return;
    CSkipFilesDialog dialog(list.SkippedFiles(), list.m_bDontShowSkipped, m_context.m_catalogue,
                            this);
    dialog.exec();
}
