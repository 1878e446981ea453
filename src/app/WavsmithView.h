#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <string>
#include <vector>

struct SAppContext;
class CCommandTable;
class CSettingsPage;
class CTrackListPage;
class QMenu;
class QTabWidget;

// The main view: the tab control with the file list, MP3, ID3 and FreeDB settings pages,
// and the commands on the batch. Pages 0 to 2 store their values into the settings when
// the user leaves them and load them when they are shown. The pages after the file list
// are built when first shown, so the start does not pay for them; a page not built yet
// has nothing to store. Lives in the window thread.
class CWavsmithView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTrackListPage = 0;
    static constexpr int kMp3Page = 1;
    static constexpr int kId3Page = 2;
    static constexpr int kFreeDBPage = 3;
    // Profile key of the folder browser's "include subfolders" check box.
    static constexpr const char* kSubfoldersKey = "OpenDirSubfolders";

    CWavsmithView(SAppContext& context, CCommandTable& commands, QWidget* pParent = nullptr);
    ~CWavsmithView() override;

    // The view's start-up: loads the option pages and selects the stored source folder,
    // which fills the list; a folder that vanished falls back to "/".
    void Initialize();
    // Adds files and folders given to the program as Open File(s) and Open Directory add
    // theirs, and shows what was refused; the tree moves to the source folder they leave.
    void OpenPaths(const std::vector<std::string>& paths);
    // The first step of closing the main window: the list is emptied.
    void CloseView();

    int CurrentPage() const { return m_nCurrentPage; }
    void SelectPage(int nPage);
    // The page, built (and loaded from the settings) if it was not yet.
    CSettingsPage& Page(int nPage);
    CTrackListPage& TrackListPage() { return *m_pTrackListPage; }
    // The help topic of the page shown.
    QString CurrentHelpTopic() const;

    // The display refresh in write mode, followed by the totals and folder panes.
    void UpdateList();
    // Adds the files as Open File(s) adds those chosen in its dialog.
    void AddFiles(const QStringList& paths);
    // Adds files and folders as a drop onto the list does.
    void AddDroppedPaths(const QStringList& paths);
    // True while files are being added.
    bool IsAdding() const { return m_bAdding; }

signals:
    // After the list was redrawn or the folders changed: totals and info bar follow.
    void ListUpdated();

private:
    void RegisterCommands();
    void RegisterListCommands();
    void RegisterViewCommands();
    void RegisterColumnCommands();
    void BuildContextMenus();
    void ShowColumnsMenu(const QPoint& globalPos);
    CSettingsPage* BuildPage(int nPage, QWidget* pHolder);
    void OnTabChanged(int nPage);
    void StorePage(int nPage);
    void StoreIfBuilt(int nPage);
    void LoadIfBuilt(int nPage);
    // Adding files stores the MP3 and ID3 pages into the settings first, so new tracks
    // get their values.
    void StoreOptionPages();
    // Reads the check boxes back and renumbers before a command changes the tracks.
    void ReadBack();
    bool OnTrackListTab() const { return m_nCurrentPage == kTrackListPage; }
    // Play WAV and Play MP3 act on the first selected row, or on the first row.
    size_t TargetRow() const;
    // Runs an add of files, the rows showing as they come under the wait cursor when it
    // lasts; then redraws and shows the refused files.
    void RunAdd(const std::function<void()>& add);
    void ShowRowsSoFar();

    void OnOpenFiles();
    void OnOpenDirectory();
    void OnRefresh();
    void OnDestinationDirectory();
    void OnEncode();
    void OnGetInfoFromFreeDB();
    void OnFileInformation();
    void OnFolderSelected(const QString& strPath);
    void OnSortRequested(int nColumn, bool bReverse);
    void ShowSkippedFiles();

    SAppContext& m_context;
    CCommandTable& m_commands;
    QTabWidget* m_pTabs;
    CTrackListPage* m_pTrackListPage;
    std::array<CSettingsPage*, 4> m_pages{};
    QMenu* m_pListMenu = nullptr;
    int m_nCurrentPage = kTrackListPage;
    bool m_bAdding = false;
    // The wait cursor is up for the add that runs.
    bool m_bWaitCursor = false;
    // Set while Open Directory selects its folder in the tree with subfolders included.
    bool m_bSubfoldersForTree = false;
    // Since the list last showed the rows of a running add.
    QElapsedTimer m_sinceRowsShown;
};
