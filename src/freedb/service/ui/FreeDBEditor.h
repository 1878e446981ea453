#pragma once

#include "freedb/service/AlbumInfo.h"
#include "freedb/service/AlbumList.h"
#include "freedb/service/EditorOptions.h"
#include "freedb/service/OperationObserver.h"
#include "freedb/service/OperationRunner.h"
#include "freedb/service/TreeFormat.h"
#include "lang/LanguageMenu.h"

#include <QDialog>
#include <QTimer>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

struct SAppContext;
class CAlbumTrackModel;
class CAlbumTreeModel;
class CCommandTable;
class CFreeDBStatusBar;
class COperationLogBox;
class CPasswordPrompt;
class CSearchOptionsWindow;
class QComboBox;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QTreeView;

// The FreeDB editor: finds the album of the file list (a lookup of the album handed in) or
// albums by words (a search), shows them grouped in a tree as they arrive while their
// track lists are fetched on parallel connections, lets the user correct the selected
// album's tracks and select it. Select copies the album into the one handed in and closes
// with OK; Cancel closes without. Every closing way passes through the stop sequence
// while an operation runs. Lives in the window thread; the operation's threads reach it
// only through the observer (posted calls; a blocking one for the proxy password).
class CFreeDBEditor : public QDialog, private IOperationObserver {
    Q_OBJECT
public:
    enum EStartMode { kOpenOnly = 0, kStartLookup = 1, kStartSearch = 2 };
    static constexpr int kProgressPeriodMs = 500;
    static constexpr const char* kHelpTopic = "06_freedb_overview.htm";
    static constexpr const char* kHotKeysTopic = "08_hot_keys.htm";

    // `pAlbum` (may be none) receives the selected album and must outlive the window;
    // `pAppCommands` (may be none) runs the program's About and web commands.
    CFreeDBEditor(SAppContext& context, CAlbumInfo* pAlbum, EStartMode eStartMode,
                  const QString& strSearchText = {}, CCommandTable* pAppCommands = nullptr,
                  QWidget* pParent = nullptr,
                  std::chrono::milliseconds stopGrace = COperationRunner::kDefaultStopGrace);
    ~CFreeDBEditor() override;

    // The album selected last: the one handed in, or the window's own.
    const CAlbumInfo& Result() const { return m_pAlbum != nullptr ? *m_pAlbum : m_ownAlbum; }

    void StartLookup();
    void StartSearch();
    void StartGetTracklist();
    void Select();
    void Stop();
    void SaveLogTo(const QString& strPath);
    void ShowCdPlayerIni();
    // The web site searched instead of the fixed one.
    void SetWebHost(const std::string& strHost, const std::string& strPortText);

    void reject() override;
    void done(int nResult) override;

    // While an operation's results are still arriving or its stop has not ended.
    bool IsOperationPending() const { return !IsIdle(); }
    CCommandTable& Commands() { return *m_pCommands; }
    COperationRunner& Runner() { return *m_pRunner; }
    CAlbumList& Albums() { return m_albums; }
    CAlbumTreeModel& TreeModel() { return *m_pTreeModel; }
    CAlbumTrackModel& TrackModel() { return *m_pTrackModel; }
    QTreeView& Tree() { return *m_pTree; }
    QTreeView& TrackList() { return *m_pTracks; }
    QComboBox& SearchBox() { return *m_pSearch; }
    COperationLogBox& LogBox() { return *m_pLog; }
    CFreeDBStatusBar& Status() { return *m_pStatus; }
    QPlainTextEdit& InfoBar() { return *m_pInfo; }
    QSplitter& Splitter() { return *m_pSplitter; }
    CPasswordPrompt& PasswordPrompt() { return *m_pPrompt; }
    CSearchOptionsWindow& SearchOptions() { return *m_pSearchOptions; }
    const CEditorOptions& Options() const { return m_options; }

protected:
    void showEvent(QShowEvent* pEvent) override;
    bool eventFilter(QObject* pObject, QEvent* pEvent) override;
    void contextMenuEvent(QContextMenuEvent* pEvent) override;

private:
    enum class EStopAction { None, CloseOk, CloseCancel };

    // IOperationObserver: on the operation's threads; each hands a copy to this thread.
    void OnAlbumsCleared() override;
    void OnAlbumAdded(std::size_t nIndex, const CAlbumInfo& album) override;
    void OnAlbumState(std::size_t nIndex, EAlbumState eState, const CAlbumInfo& album) override;
    void OnStatusText(const std::string& strText) override;
    void OnConnectionChanged(bool bOnline) override;
    void OnBusyChanged(bool bBusy) override;
    void OnOperationEnded() override;
    bool AskProxyPassword(std::string& strUser, std::string& strPassword) override;
    void Post(std::function<void()> call);

    void BuildWidgets();
    void BuildLayout();
    void RegisterCommands();
    void RegisterViewCommands();
    void BuildMenus();
    QMenu* AddMenu(unsigned nTitleId, std::initializer_list<unsigned> ids);
    void LoadOptions();
    void SaveState();

    bool StartOperation(const std::function<bool()>& start);
    void RunStop(EStopAction eAction);
    void OnStopTick();
    void FinishStop();
    void OnProgressTick();

    void ClearAlbums();
    void AddAlbum(std::size_t nIndex, const CAlbumInfo& album);
    void ChangeAlbumState(std::size_t nIndex, EAlbumState eState, const CAlbumInfo& album);
    void OnOperationEndedHere();

    std::size_t SelectedAlbum() const;
    CAlbumInfo* SelectedAlbumData();
    void OnTreeSelection();
    void OnTreeDoubleClick();
    void ShowInfo();
    void UpdateCommandUi();
    // No operation, and no stop still waiting for one.
    bool IsIdle() const { return !m_bOperationPending && !m_stopTimer.isActive(); }
    bool CanSelect();
    void EditColumn(int nColumn);
    void ToggleBar(QWidget* pBar, bool& bShown);
    void SetTreeWidth(int nPercent);
    void OpenHelp(const char* strTopic) const;
    void RunAppCommand(unsigned nId);
    void ShowTreeMenu(const QPoint& position);
    void ShowHeaderMenu(const QPoint& position);
    void ShowSplitterMenu(const QPoint& position);
    void OnSettings();
    void OnDatabaseInfo();
    void OnSaveLog();

    SAppContext& m_context;
    CAlbumInfo* m_pAlbum;
    CAlbumInfo m_ownAlbum;
    const EStartMode m_eStartMode;
    CCommandTable* m_pAppCommands;
    CLanguageMenu m_languageMenu;
    CEditorOptions m_options;
    std::vector<std::string> m_history;
    CTreeFormat m_treeFormat;
    CAlbumList m_albums; // the tree's own copies, by the runner's album index

    CCommandTable* m_pCommands = nullptr;
    QWidget* m_pSearchBar = nullptr;
    QComboBox* m_pSearch = nullptr;
    QPushButton* m_pPrefsButton = nullptr;
    QPushButton* m_pSearchButton = nullptr;
    QSplitter* m_pSplitter = nullptr;
    QTreeView* m_pTree = nullptr;
    CAlbumTreeModel* m_pTreeModel = nullptr;
    QTreeView* m_pTracks = nullptr;
    CAlbumTrackModel* m_pTrackModel = nullptr;
    QPlainTextEdit* m_pInfo = nullptr;
    QPushButton* m_pStopButton = nullptr;
    COperationLogBox* m_pLog = nullptr;
    QPushButton* m_pSelectButton = nullptr;
    QPushButton* m_pCancelButton = nullptr;
    CFreeDBStatusBar* m_pStatus = nullptr;
    CSearchOptionsWindow* m_pSearchOptions = nullptr;
    CPasswordPrompt* m_pPrompt = nullptr;

    QTimer m_progressTimer;
    QTimer m_stopTimer;
    bool m_bStarted = false;
    bool m_bOperationPending = false; // from a start to the end's arrival here
    bool m_bReconfigure = false;
    bool m_bStateSaved = false;
    std::atomic<bool> m_bStopping{false}; // read by the asking thread too
    EStopAction m_eStopAction = EStopAction::None;
    std::unique_ptr<COperationRunner> m_pRunner;
};
