#include "app/WavsmithView.h"

#include "app/AppContext.h"
#include "app/CommandIds.h"
#include "app/CommandTable.h"
#include "encoding/AppSettings.h"
#include "encoding/TrackItem.h"
#include "encoding/ui/EncodingDialog.h"
#include "encoding/ui/Id3Page.h"
#include "encoding/ui/Mp3Page.h"
#include "filelist/FileList.h"
#include "filelist/ui/TrackListModel.h"
#include "filelist/ui/TrackListPage.h"
#include "freedb/service/ui/FreeDBSettingsPage.h"
#include "lang/ui/UiText.h"
#include "platform/PlatformPaths.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QTabWidget>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

namespace {
constexpr unsigned kTabTitles[] = {59507, 59508, 59509, 4041};
constexpr const char* kTabIcons[] = {"view-list-details", "audio-x-generic", "document-properties",
                                     "network-server"};
constexpr unsigned kOpenSourceDirTitle = 60493;

// Runs a command's body under the wait cursor.
class CWaitCursor {
public:
    CWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CWaitCursor() { QApplication::restoreOverrideCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

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
    auto* id3Page = new CId3Page(context, m_pTabs);
    m_pages = {m_pTrackListPage, new CMp3Page(context, m_pTabs), id3Page,
               new CFreeDBSettingsPage(context, m_pTabs)};
    for (size_t page = 0; page < m_pages.size(); ++page) {
        const QString title = UiText::Load(m_context.m_catalogue, kTabTitles[page]);
        m_pTabs->addTab(m_pages[page], QIcon::fromTheme(QString::fromLatin1(kTabIcons[page])),
                        title);
        m_pages[page]->setAccessibleName(title);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_pTabs);

    connect(m_pTabs, &QTabWidget::currentChanged, this, &CWavsmithView::OnTabChanged);
    connect(m_pTrackListPage, &CTrackListPage::FolderSelected, this,
            &CWavsmithView::OnFolderSelected);
    CTrackListModel& model = m_pTrackListPage->Model();
    connect(&model, &CTrackListModel::TitleEdited, this, [this] {
        m_context.m_fileList.ApplySettings();
        UpdateList();
    });
    connect(&model, &CTrackListModel::CheckChanged, this, [this] {
        m_commands.UpdateCommandUi();
        emit ListUpdated();
    });
    connect(id3Page, &CId3Page::DestinationRequested, this, &CWavsmithView::OnDestinationDirectory);
    connect(id3Page, &CId3Page::FoldersChanged, this, &CWavsmithView::UpdateList);
    connect(id3Page, &CId3Page::HelpRequested, this, [this] { m_commands.Run(CommandId::kHelp); });
    RegisterCommands();
}

void CWavsmithView::Initialize() {
    m_pages[kMp3Page]->LoadFromSettings();
    m_pages[kId3Page]->LoadFromSettings();
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
    m_context.m_fileList.DeleteAllItems();
    m_pTrackListPage->Model().RefreshWrite();
}

void CWavsmithView::RegisterCommands() {
    RegisterListCommands();
    RegisterViewCommands();
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
    m_commands.Add({kPlayWav,
                    {},
                    [this, &list] {
                        QDesktopServices::openUrl(QUrl::fromLocalFile(
                            UiText::FromUtf8(list.Tracks().At(TargetRow()).m_strWavPath)));
                    },
                    onListWithItems,
                    {}});
    m_commands.Add({kPlayMp3,
                    {},
                    [this, &list] {
                        QDesktopServices::openUrl(QUrl::fromLocalFile(
                            UiText::FromUtf8(list.Tracks().At(TargetRow()).m_strMp3Path)));
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

void CWavsmithView::SelectPage(int nPage) {
    m_pTabs->setCurrentIndex(nPage);
}

QString CWavsmithView::CurrentHelpTopic() const {
    return m_pages[static_cast<size_t>(m_nCurrentPage)]->HelpTopic();
}

void CWavsmithView::OnTabChanged(int nPage) {
    StorePage(m_nCurrentPage);
    m_nCurrentPage = nPage;
    CSettingsPage& page = *m_pages[static_cast<size_t>(nPage)];
    page.setFocus();
    if (nPage != kFreeDBPage) {
        page.LoadFromSettings();
        page.RefreshPreview();
    }
    m_commands.UpdateCommandUi();
    emit ListUpdated();
}

void CWavsmithView::StorePage(int nPage) {
    if (nPage == kFreeDBPage)
        return;
    m_pages[static_cast<size_t>(nPage)]->StoreToSettings();
    if (nPage != kTrackListPage)
        m_context.m_fileList.ApplySettings();
}

void CWavsmithView::StoreOptionPages() {
    m_pages[kMp3Page]->StoreToSettings();
    m_pages[kId3Page]->StoreToSettings();
    m_context.m_fileList.ApplySettings();
}

void CWavsmithView::ReadBack() {
    m_pTrackListPage->Model().RefreshReadBack();
}

size_t CWavsmithView::TargetRow() const {
    const int row = m_pTrackListPage->FirstSelectedRow();
    return row < 0 ? 0 : static_cast<size_t>(row);
}

void CWavsmithView::UpdateList() {
    m_pTrackListPage->Model().RefreshWrite();
    emit ListUpdated();
}

void CWavsmithView::OnOpenFiles() {
    const QStringList paths =
        QFileDialog::getOpenFileNames(this, {}, DialogStart(m_context.m_settings.m_strInputDir),
                                      QStringLiteral("Wav File (*.wav *.WAV);;All Files (*)"));
    if (paths.isEmpty())
        return;
    const CWaitCursor wait;
    std::vector<std::string> files;
    files.reserve(static_cast<size_t>(paths.size()));
    for (const QString& path : paths)
        files.push_back(UiText::ToUtf8(path));
    ReadBack();
    m_context.m_fileList.OpenFiles(files);
    StoreOptionPages();
    UpdateList();
    ShowSkippedFiles();
}

void CWavsmithView::OpenPaths(const std::vector<std::string>& paths) {
    const CWaitCursor wait;
    ReadBack();
    m_context.m_fileList.OpenPaths(paths);
    StoreOptionPages();
    UpdateList();
    ShowSkippedFiles();
}

void CWavsmithView::OnOpenDirectory() {
    const QString folder = QFileDialog::getExistingDirectory(
        this, UiText::Load(m_context.m_catalogue, kOpenSourceDirTitle),
        DialogStart(m_context.m_settings.m_strInputDir));
    if (folder.isEmpty())
        return;
    CAppSettings& settings = m_context.m_settings;
    settings.m_strInputDir = CPlatformPaths::WithTrailingSlash(UiText::ToUtf8(folder));
    if (settings.m_strOutputDir.empty())
        settings.m_strOutputDir = settings.m_strInputDir;
    m_pTrackListPage->SelectFolder(folder);
    OnRefresh();
}

void CWavsmithView::OnRefresh() {
    const CWaitCursor wait;
    ReadBack();
    m_context.m_fileList.Refresh();
    StoreOptionPages();
    UpdateList();
    ShowSkippedFiles();
}

void CWavsmithView::OnFolderSelected(const QString& strPath) {
    const CWaitCursor wait;
    ReadBack();
    m_context.m_fileList.SelectSourceFolder(UiText::ToUtf8(strPath));
    StoreOptionPages();
    UpdateList();
    ShowSkippedFiles();
    m_commands.UpdateCommandUi();
}

void CWavsmithView::OnDestinationDirectory() {
    const QString folder = QFileDialog::getExistingDirectory(
        this, {}, DialogStart(m_context.m_settings.m_strOutputDir));
    if (folder.isEmpty())
        return;
    const std::string destination = CPlatformPaths::WithTrailingSlash(UiText::ToUtf8(folder));
    if (!CFileList::ValidateDestination(destination, m_context.m_prompt, m_context.m_catalogue))
        return;
    m_context.m_settings.m_strOutputDir = destination;
    m_context.m_fileList.ApplySettings();
    UpdateList();
}

void CWavsmithView::OnEncode() {
    ReadBack();
    m_pages[kMp3Page]->StoreToSettings();
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

void CWavsmithView::OnGetInfoFromFreeDB() {}

void CWavsmithView::OnFileInformation() {}

void CWavsmithView::ShowSkippedFiles() {}
