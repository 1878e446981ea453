#include "freedb/service/ui/FreeDBEditor.h"

#include "app/AppContext.h"
#include "app/CommandIds.h"
#include "app/CommandTable.h"
#include "freedb/service/FreeDBSettings.h"
#include "freedb/service/ui/AlbumTrackModel.h"
#include "freedb/service/ui/AlbumTreeModel.h"
#include "freedb/service/ui/DatabaseInfoDialog.h"
#include "freedb/service/ui/FreeDBIcons.h"
#include "freedb/service/ui/FreeDBSettingsDialog.h"
#include "freedb/service/ui/FreeDBStatusBar.h"
#include "freedb/service/ui/FreeDBTexts.h"
#include "freedb/service/ui/OperationLogBox.h"
#include "freedb/service/ui/PasswordPrompt.h"
#include "freedb/service/ui/SearchOptionsWindow.h"
#include "lang/StringCatalogue.h"
#include "lang/ui/UiText.h"
#include "platform/PlatformPaths.h"
#include "platform/Profile.h"
#include "platform/UserPrompt.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>
#include <thread>

namespace {
constexpr const char* kTrackListSection = "FreeDB\\TrackList";
constexpr const char* kHeaderStateKey = "HeaderState";
constexpr int kInfoLines = 3;

QPushButton* Button(const CStringCatalogue& catalogue, unsigned nText, unsigned nTip,
                    QWidget* pParent) {
    auto* button = new QPushButton(UiText::Load(catalogue, nText), pParent);
    if (nTip != 0)
        button->setToolTip(UiText::Load(catalogue, nTip));
    button->setAutoDefault(false);
    return button;
}
} // namespace

CFreeDBEditor::CFreeDBEditor(SAppContext& context, CAlbumInfo* pAlbum, EStartMode eStartMode,
                             const QString& strSearchText, CCommandTable* pAppCommands,
                             QWidget* pParent, std::chrono::milliseconds stopGrace)
    : QDialog(pParent), m_context(context), m_pAlbum(pAlbum), m_eStartMode(eStartMode),
      m_pAppCommands(pAppCommands), m_languageMenu(context.m_catalogue) {
    setWindowTitle(UiText::Load(context.m_catalogue, FreeDBText::kEditorCaption));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setSizeGripEnabled(false);
    m_options.Load(context.m_profile);
    m_history = CEditorOptions::LoadSearchHistory(context.m_profile);
    m_treeFormat.Load(context.m_profile);
    BuildWidgets();
    BuildLayout();
    m_pPrompt =
        new CPasswordPrompt(context.m_catalogue, this, [this] { return m_bStopping.load(); });
    m_pRunner = std::make_unique<COperationRunner>(
        context.m_freedbSettings, context.m_profile, m_pLog->Log(),
        static_cast<IOperationObserver*>(this), stopGrace);
    RegisterCommands();
    BuildMenus();
    LoadOptions();
    m_pSearch->setEditText(strSearchText.left(static_cast<int>(CEditorOptions::kMaxSearchText)));
    connect(&m_progressTimer, &QTimer::timeout, this, &CFreeDBEditor::OnProgressTick);
    connect(&m_stopTimer, &QTimer::timeout, this, &CFreeDBEditor::OnStopTick);
    connect(m_pLog, &COperationLogBox::LineAdded, this, &CFreeDBEditor::UpdateCommandUi);
    UpdateCommandUi();
}

// The normal ways out stop the operation through the timers; this is for a window
// destroyed while one runs. It never waits for a thread that waits for the window: a
// question on its way is answered here.
CFreeDBEditor::~CFreeDBEditor() {
    m_bStopping = true;
    m_pPrompt->Close();
    if (m_pRunner->IsRunning()) {
        m_pRunner->RequestStop();
        while (!m_pRunner->PollStop()) {
            m_pPrompt->AnswerPending();
            std::this_thread::sleep_for(COperationRunner::kStopPoll);
        }
    }
    m_pRunner.reset();
}

void CFreeDBEditor::BuildWidgets() {
    const CStringCatalogue& catalogue = m_context.m_catalogue;
    m_pSearchBar = new QWidget(this);
    m_pSearch = new QComboBox(m_pSearchBar);
    m_pSearch->setEditable(true);
    m_pSearch->setInsertPolicy(QComboBox::NoInsert);
    m_pSearch->lineEdit()->setMaxLength(static_cast<int>(CEditorOptions::kMaxSearchText));
    m_pSearch->setToolTip(UiText::Load(catalogue, FreeDBText::kSearchTip));
    for (const std::string& text : m_history)
        m_pSearch->addItem(UiText::FromUtf8(text));
    m_pSearch->setCurrentIndex(-1);
    m_pPrefsButton = Button(catalogue, FreeDBText::kPrefs, FreeDBText::kSearchOptions, this);
    m_pPrefsButton->setCheckable(true);
    m_pSearchButton = Button(catalogue, FreeDBText::kSearch, FreeDBText::kSearchTip, this);

    m_pTreeModel = new CAlbumTreeModel(this);
    m_pTreeModel->SetIcons(
        {FreeDBIcons::Themed(this, "folder", QStyle::SP_DirIcon),
         FreeDBIcons::Themed(this, "folder-music", QStyle::SP_DirHomeIcon),
         FreeDBIcons::Themed(this, "media-optical-audio", QStyle::SP_DriveCDIcon),
         FreeDBIcons::Themed(this, "text-x-generic", QStyle::SP_FileIcon)},
        {FreeDBIcons::Themed(this, "media-optical-audio", QStyle::SP_DriveCDIcon),
         FreeDBIcons::Themed(this, "emblem-question", QStyle::SP_MessageBoxQuestion),
         FreeDBIcons::Themed(this, "view-refresh", QStyle::SP_BrowserReload),
         FreeDBIcons::Themed(this, "dialog-error", QStyle::SP_MessageBoxCritical)});
    m_pTree = new QTreeView(this);
    m_pTree->setModel(m_pTreeModel);
    m_pTree->setHeaderHidden(true);
    m_pTree->setAccessibleName(UiText::Load(catalogue, FreeDBText::kTreeName));
    m_pTree->setContextMenuPolicy(Qt::CustomContextMenu);
    m_pTree->setExpandsOnDoubleClick(true);
    // Long labels scroll rather than being cut.
    m_pTree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_pTree->header()->setStretchLastSection(false);
    m_pTree->installEventFilter(this);

    m_pTrackModel = new CAlbumTrackModel(catalogue, this);
    m_pTrackModel->SetChangedIcon(
        FreeDBIcons::Themed(this, "document-edit", QStyle::SP_FileDialogDetailedView));
    m_pTracks = new QTreeView(this);
    m_pTracks->setModel(m_pTrackModel);
    m_pTracks->setRootIsDecorated(false);
    m_pTracks->setUniformRowHeights(true);
    m_pTracks->setAllColumnsShowFocus(true);
    m_pTracks->setAccessibleName(UiText::Load(catalogue, FreeDBText::kTrackListName));
    m_pTracks->setEditTriggers(QAbstractItemView::DoubleClicked |
                               QAbstractItemView::EditKeyPressed |
                               QAbstractItemView::SelectedClicked);
    m_pTracks->setContextMenuPolicy(Qt::CustomContextMenu);
    QHeaderView* header = m_pTracks->header();
    header->setSectionsMovable(true);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    header->setContextMenuPolicy(Qt::CustomContextMenu);
    m_pTracks->setSortingEnabled(true);
    const QFontMetrics metrics = header->fontMetrics();
    header->resizeSection(CAlbumTrackModel::kTitle, metrics.averageCharWidth() * 24);
    header->resizeSection(CAlbumTrackModel::kNumber,
                          metrics.horizontalAdvance(QStringLiteral("000")) + 24);
    header->resizeSection(CAlbumTrackModel::kLength,
                          metrics.horizontalAdvance(QStringLiteral("00:00:00")) + 16);
    header->resizeSection(CAlbumTrackModel::kFrames,
                          metrics.horizontalAdvance(QStringLiteral("0000000")) + 16);
    const QByteArray state = QByteArray::fromHex(QByteArray::fromStdString(
        m_context.m_profile.GetString(kTrackListSection, kHeaderStateKey, "")));
    if (!state.isEmpty())
        header->restoreState(state);

    m_pSplitter = new QSplitter(Qt::Horizontal, this);
    m_pSplitter->addWidget(m_pTree);
    m_pSplitter->addWidget(m_pTracks);
    m_pSplitter->setChildrenCollapsible(false);
    m_pSplitter->handle(1)->installEventFilter(this);

    m_pInfo = new QPlainTextEdit(this);
    m_pInfo->setReadOnly(true);
    m_pInfo->setFrameShape(QFrame::StyledPanel);
    m_pInfo->setFocusPolicy(Qt::NoFocus);
    m_pInfo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pInfo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pInfo->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_pInfo->setAccessibleName(UiText::Load(catalogue, FreeDBText::kInfoName));
    m_pInfo->setTabStopDistance(m_pInfo->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 9);
    m_pInfo->setFixedHeight(m_pInfo->fontMetrics().lineSpacing() * kInfoLines +
                            2 * static_cast<int>(m_pInfo->document()->documentMargin()) + 6);
    QPalette palette = m_pInfo->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    m_pInfo->setPalette(palette);

    m_pStopButton = Button(catalogue, FreeDBText::kStop, FreeDBText::kStopTip, this);
    m_pLog = new COperationLogBox(this);
    m_pLog->setAccessibleName(UiText::Load(catalogue, FreeDBText::kLogName));
    m_pSelectButton = Button(catalogue, FreeDBText::kSelect, FreeDBText::kSelectTip, this);
    m_pCancelButton = Button(catalogue, FreeDBText::kCancel, 0, this);
    m_pStatus = new CFreeDBStatusBar(catalogue, this);
    m_pSearchOptions = new CSearchOptionsWindow(catalogue, m_options, this);

    connect(m_pSearchButton, &QPushButton::clicked, this, &CFreeDBEditor::StartSearch);
    connect(m_pSearch->lineEdit(), &QLineEdit::returnPressed, this, &CFreeDBEditor::StartSearch);
    connect(m_pPrefsButton, &QPushButton::toggled, this, [this](bool bShow) {
        m_options.m_bShowSearchPrefs = bShow;
        m_pSearchOptions->setVisible(bShow);
    });
    connect(m_pSearchOptions, &CSearchOptionsWindow::Hidden, this,
            [this] { m_pPrefsButton->setChecked(false); });
    connect(m_pStopButton, &QPushButton::clicked, this, &CFreeDBEditor::Stop);
    connect(m_pSelectButton, &QPushButton::clicked, this, &CFreeDBEditor::Select);
    connect(m_pCancelButton, &QPushButton::clicked, this, &CFreeDBEditor::reject);
    connect(m_pTree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &CFreeDBEditor::OnTreeSelection);
    // A selection made without moving the current item (by a screen reader) moves it.
    connect(m_pTree->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QModelIndexList selected = m_pTree->selectionModel()->selectedIndexes();
        if (!selected.isEmpty() && selected.front() != m_pTree->currentIndex())
            m_pTree->setCurrentIndex(selected.front());
    });
    connect(m_pTree, &QTreeView::doubleClicked, this, &CFreeDBEditor::OnTreeDoubleClick);
    connect(m_pTree, &QTreeView::customContextMenuRequested, this, &CFreeDBEditor::ShowTreeMenu);
    connect(header, &QHeaderView::customContextMenuRequested, this, &CFreeDBEditor::ShowHeaderMenu);
    connect(m_pTracks, &QTreeView::customContextMenuRequested, this, [this](const QPoint& at) {
        auto* menu = new QMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        for (const unsigned id :
             {FreeDBText::kEditTitle, FreeDBText::kEditExtra, FreeDBText::kEditArtist})
            menu->addAction(m_pCommands->Action(id));
        UpdateCommandUi();
        menu->popup(m_pTracks->viewport()->mapToGlobal(at));
    });
    connect(m_pTracks->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &CFreeDBEditor::UpdateCommandUi);
    connect(m_pTrackModel, &CAlbumTrackModel::AlbumEdited, this, &CFreeDBEditor::ShowInfo);
    connect(m_pSplitter, &QSplitter::splitterMoved, this, [this] {
        const QList<int> sizes = m_pSplitter->sizes();
        const int total = sizes.value(0) + sizes.value(1);
        if (total > 0)
            m_options.m_nTreeWidth =
                CEditorOptions::AcceptTreeWidth((sizes.value(0) * 100 + total / 2) / total);
    });
}

void CFreeDBEditor::BuildLayout() {
    auto* search = new QHBoxLayout(m_pSearchBar);
    search->setContentsMargins(0, 0, 0, 0);
    auto* label =
        new QLabel(UiText::Load(m_context.m_catalogue, FreeDBText::kSearchLabel), m_pSearchBar);
    label->setBuddy(m_pSearch);
    m_pSearch->setAccessibleName(UiText::WithoutMnemonics(label->text()));
    search->addWidget(label);
    search->addWidget(m_pSearch, 1);
    search->addWidget(m_pPrefsButton);
    search->addWidget(m_pSearchButton);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_pStopButton);
    buttons->addWidget(m_pLog, 1);
    buttons->addWidget(m_pSelectButton);
    buttons->addWidget(m_pCancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 0);
    layout->setSpacing(6);
    layout->addWidget(m_pSearchBar);
    layout->addWidget(m_pSplitter, 1);
    layout->addWidget(m_pInfo);
    layout->addLayout(buttons);
    layout->addWidget(m_pStatus);
}

void CFreeDBEditor::RegisterCommands() {
    using namespace FreeDBText;
    m_pCommands = new CCommandTable(this, m_context.m_catalogue, m_languageMenu);
    const auto add = [this](unsigned nId, QList<QKeySequence> keys, std::function<void()> handler,
                            std::function<bool()> isEnabled = {},
                            std::function<bool()> isChecked = {}) {
        m_pCommands->Add(
            {nId, std::move(keys), std::move(handler), std::move(isEnabled), std::move(isChecked)},
            UiText::Load(m_context.m_catalogue, nId));
    };
    const auto hasLines = [this] { return m_pLog->HasLines(); };
    const auto running = [this] { return m_bOperationPending; };
    const auto hasTrack = [this] {
        return m_pTrackModel->HasTracks() && m_pTracks->currentIndex().isValid();
    };
    add(kShowCdPlayerIni, {}, [this] { ShowCdPlayerIni(); });
    add(
        kClearLog, {}, [this] { m_pLog->ClearLog(); }, hasLines);
    add(
        kSaveLog, {Qt::CTRL | Qt::Key_S}, [this] { OnSaveLog(); }, hasLines);
    add(kClose, {Qt::ALT | Qt::Key_F4}, [this] { reject(); });
    add(
        kGetTracklist, {Qt::CTRL | Qt::Key_T}, [this] { StartLookup(); },
        [this] { return IsIdle() && m_pAlbum != nullptr && m_pAlbum->GetTrackCount() > 0; });
    add(
        kGetTracklistItem, {}, [this] { StartGetTracklist(); },
        [this] {
            const CAlbumInfo* album = SelectedAlbumData();
            return IsIdle() && album != nullptr && album->GetTrackCount() == 0;
        });
    add(kCancelItem, {}, [this] { reject(); });
    add(
        kStopItem, {}, [this] { Stop(); }, running);
    add(
        kEditTitle, {}, [this] { EditColumn(CAlbumTrackModel::kTitle); }, hasTrack);
    add(
        kEditExtra, {}, [this] { EditColumn(CAlbumTrackModel::kExtra); }, hasTrack);
    add(
        kEditArtist, {}, [this] { EditColumn(CAlbumTrackModel::kArtist); }, hasTrack);
    add(
        kSelectItem, {}, [this] { Select(); }, [this] { return CanSelect(); });
    add(
        kStopAction, {}, [this] { Stop(); }, running);
    add(kDatabaseInfo, {}, [this] { OnDatabaseInfo(); });
    add(
        kSettings, {}, [this] { OnSettings(); }, [this] { return IsIdle(); });
    add(kContents, {Qt::Key_F1}, [this] { OpenHelp(kHelpTopic); });
    add(kHotkeys, {}, [this] { OpenHelp(kHotKeysTopic); });
    add(kAbout, {}, [this] { RunAppCommand(CommandId::kAbout); });
    add(kCheckSite, {}, [this] { RunAppCommand(CommandId::kVisitSite); });
    add(kCheckVersion, {}, [this] { RunAppCommand(CommandId::kCheckVersion); });
    add(kExpandAll, {}, [this] { m_pTree->expandAll(); });
    add(kCollapseAll, {}, [this] { m_pTree->collapseAll(); });
    add(kExpand, {}, [this] { m_pTree->expand(m_pTree->currentIndex()); });
    add(kCollapse, {}, [this] { m_pTree->collapse(m_pTree->currentIndex()); });
    RegisterViewCommands();
}

void CFreeDBEditor::RegisterViewCommands() {
    using namespace FreeDBText;
    const CStringCatalogue& catalogue = m_context.m_catalogue;
    struct SBar {
        unsigned m_nId;
        QWidget* m_pWidget;
        bool* m_pShown;
    };
    const SBar bars[] = {{kShowSearchBar, m_pSearchBar, &m_options.m_bShowSearchBar},
                         {kShowInfoBar, m_pInfo, &m_options.m_bShowInfoBar},
                         {kShowStatusBar, m_pStatus, &m_options.m_bShowStatusBar}};
    for (const SBar& bar : bars) {
        QWidget* widget = bar.m_pWidget;
        bool* shown = bar.m_pShown;
        m_pCommands->Add({bar.m_nId,
                          {},
                          [this, widget, shown] { ToggleBar(widget, *shown); },
                          {},
                          [shown] { return *shown; }},
                         UiText::Load(catalogue, bar.m_nId));
    }
    QHeaderView* header = m_pTracks->header();
    for (int column = 0; column < CAlbumTrackModel::kColumnCount; ++column) {
        // The menu lists the number first, then the title, as the columns read.
        const unsigned id = kFirstColumnItem + static_cast<unsigned>(column);
        const int section = column == 0 ? CAlbumTrackModel::kNumber
                                        : (column == 1 ? CAlbumTrackModel::kTitle : column);
        m_pCommands->Add({id,
                          {},
                          [header, section] {
                              header->setSectionHidden(section, !header->isSectionHidden(section));
                          },
                          {},
                          [header, section] { return !header->isSectionHidden(section); }},
                         UiText::Load(catalogue, id));
    }
}

void CFreeDBEditor::BuildMenus() {
    using namespace FreeDBText;
    auto* bar = new QMenuBar(this);
    layout()->setMenuBar(bar);
    bar->addMenu(AddMenu(kMenuFile, {kShowCdPlayerIni, 0, kClearLog, kSaveLog, 0, kClose}));
    bar->addMenu(AddMenu(kMenuActions, {kGetTracklist, 0, kEditTitle, kEditExtra, kEditArtist, 0,
                                        kSelectItem, kStopAction}));
    bar->addMenu(AddMenu(
        kMenuView, {kShowSearchBar, kShowInfoBar, kShowStatusBar, 0, kDatabaseInfo, kSettings}));
    bar->addMenu(
        AddMenu(kMenuHelp, {kContents, kHotkeys, 0, kCheckSite, kCheckVersion, 0, kAbout}));
}

QMenu* CFreeDBEditor::AddMenu(unsigned nTitleId, std::initializer_list<unsigned> ids) {
    auto* menu = new QMenu(UiText::Load(m_context.m_catalogue, nTitleId), this);
    for (const unsigned id : ids) {
        if (id == 0)
            menu->addSeparator();
        else
            menu->addAction(m_pCommands->Action(id));
    }
    connect(menu, &QMenu::aboutToShow, this, &CFreeDBEditor::UpdateCommandUi);
    return menu;
}

void CFreeDBEditor::LoadOptions() {
    move(m_options.m_nX, m_options.m_nY);
    resize(m_options.m_nWidth, m_options.m_nHeight);
    m_pSearchBar->setVisible(m_options.m_bShowSearchBar);
    m_pInfo->setVisible(m_options.m_bShowInfoBar);
    m_pStatus->setVisible(m_options.m_bShowStatusBar);
    ShowInfo();
}

void CFreeDBEditor::showEvent(QShowEvent* pEvent) {
    QDialog::showEvent(pEvent);
    if (m_bStarted)
        return;
    m_bStarted = true;
    SetTreeWidth(m_options.m_nTreeWidth);
    if (m_options.m_bShowSearchPrefs)
        m_pPrefsButton->setChecked(true);
    if (m_eStartMode == kStartLookup)
        StartLookup();
    else if (m_eStartMode == kStartSearch)
        StartSearch();
}

void CFreeDBEditor::SaveState() {
    if (m_bStateSaved)
        return;
    m_bStateSaved = true;
    if (!isMaximized() && !isMinimized()) {
        m_options.m_nX = pos().x();
        m_options.m_nY = pos().y();
        m_options.m_nWidth = width();
        m_options.m_nHeight = height();
    }
    CProfile& profile = m_context.m_profile;
    const CProfile::CDeferredSave batch(profile);
    m_options.Save(profile);
    CEditorOptions::SaveSearchHistory(profile, m_history);
    profile.WriteString(kTrackListSection, kHeaderStateKey,
                        m_pTracks->header()->saveState().toHex().toStdString());
}

// Operations ------------------------------------------------------------------------

bool CFreeDBEditor::StartOperation(const std::function<bool()>& start) {
    if (!IsIdle())
        return false;
    if (m_bReconfigure) {
        m_treeFormat.Load(m_context.m_profile);
        m_bReconfigure = false;
    }
    if (!start())
        return false;
    m_bOperationPending = true;
    m_pStatus->Progress().setValue(0);
    m_progressTimer.start(kProgressPeriodMs);
    UpdateCommandUi();
    return true;
}

void CFreeDBEditor::StartLookup() {
    if (m_pAlbum == nullptr || m_pAlbum->GetTrackCount() == 0)
        return;
    StartOperation([this] { return m_pRunner->StartLookup(*m_pAlbum); });
}

void CFreeDBEditor::StartSearch() {
    const QString text =
        m_pSearch->currentText().left(static_cast<int>(CEditorOptions::kMaxSearchText));
    if (!IsIdle() || text.isEmpty())
        return;
    const std::string words = UiText::ToUtf8(text);
    if (CEditorOptions::AddToHistory(m_history, words)) {
        m_pSearch->insertItem(0, text);
        m_pSearch->setCurrentIndex(0);
    }
    StartOperation([this, &words] {
        return m_pRunner->StartSearch(words, m_options.m_bSearchInArtists,
                                      m_options.m_bSearchInTitles, m_options.m_bSearchInTrackTitles,
                                      m_options.m_bSearchInTrackExtras);
    });
}

void CFreeDBEditor::StartGetTracklist() {
    const std::size_t album = SelectedAlbum();
    if (album == CAlbumTree::kNoAlbum)
        return;
    StartOperation([this, album] { return m_pRunner->StartGetTracklist(album); });
}

void CFreeDBEditor::SetWebHost(const std::string& strHost, const std::string& strPortText) {
    m_pRunner->SetWebHost(strHost, strPortText);
}

void CFreeDBEditor::OnProgressTick() {
    QProgressBar& bar = m_pStatus->Progress();
    const COperationRunner::SProgressTick tick =
        m_pRunner->ProgressTick(bar.value(), std::chrono::steady_clock::now());
    bar.setValue(tick.m_nBar);
    if (!tick.m_strStatus.empty())
        m_pStatus->SetStatusText(UiText::FromUtf8(tick.m_strStatus));
    if (tick.m_bStopTimer)
        m_progressTimer.stop();
}

// The stop sequence ------------------------------------------------------------------

void CFreeDBEditor::Stop() {
    RunStop(EStopAction::None);
}

void CFreeDBEditor::reject() {
    RunStop(EStopAction::CloseCancel);
}

void CFreeDBEditor::RunStop(EStopAction eAction) {
    // A close asked for stays asked for.
    if (m_eStopAction == EStopAction::None || eAction != EStopAction::None)
        m_eStopAction = eAction;
    if (!m_pRunner->IsRunning()) {
        FinishStop();
        return;
    }
    if (m_stopTimer.isActive())
        return;
    m_bStopping = true;
    m_pPrompt->Cancel();
    m_pRunner->RequestStop();
    m_stopTimer.start(static_cast<int>(COperationRunner::kStopPoll.count()));
}

void CFreeDBEditor::OnStopTick() {
    // The thread asking for the password goes on once the dialog has closed.
    if (m_pPrompt->IsOpen() || !m_pRunner->PollStop())
        return;
    m_stopTimer.stop();
    FinishStop();
}

void CFreeDBEditor::FinishStop() {
    m_bStopping = false;
    const EStopAction action = m_eStopAction;
    m_eStopAction = EStopAction::None;
    if (action == EStopAction::CloseOk) {
        done(QDialog::Accepted);
    } else if (action == EStopAction::CloseCancel) {
        done(QDialog::Rejected);
    } else {
        UpdateCommandUi();
    }
}

void CFreeDBEditor::done(int nResult) {
    m_pPrompt->Close();
    m_pSearchOptions->hide();
    SaveState();
    QDialog::done(nResult);
}

void CFreeDBEditor::Select() {
    if (!CanSelect())
        return;
    CAlbumInfo& target = m_pAlbum != nullptr ? *m_pAlbum : m_ownAlbum;
    target = *SelectedAlbumData();
    m_pRunner->StoreSelected(target);
    RunStop(EStopAction::CloseOk);
}

// The observer: called on the operation's threads ---------------------------------------

void CFreeDBEditor::Post(std::function<void()> call) {
    QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

void CFreeDBEditor::OnAlbumsCleared() {
    Post([this] { ClearAlbums(); });
}

void CFreeDBEditor::OnAlbumAdded(std::size_t nIndex, const CAlbumInfo& album) {
    Post([this, nIndex, copy = album] { AddAlbum(nIndex, copy); });
}

void CFreeDBEditor::OnAlbumState(std::size_t nIndex, EAlbumState eState, const CAlbumInfo& album) {
    Post([this, nIndex, eState, copy = album] { ChangeAlbumState(nIndex, eState, copy); });
}

void CFreeDBEditor::OnStatusText(const std::string& strText) {
    Post([this, text = UiText::FromUtf8(strText)] { m_pStatus->SetStatusText(text); });
}

void CFreeDBEditor::OnConnectionChanged(bool bOnline) {
    Post([this, bOnline] { m_pStatus->SetOnline(bOnline); });
}

void CFreeDBEditor::OnBusyChanged(bool /*bBusy*/) {
    Post([this] { UpdateCommandUi(); });
}

void CFreeDBEditor::OnOperationEnded() {
    Post([this] { OnOperationEndedHere(); });
}

bool CFreeDBEditor::AskProxyPassword(std::string& strUser, std::string& strPassword) {
    return m_pPrompt->Ask(strUser, strPassword);
}

// What the operation reported, on the window's thread ---------------------------------

void CFreeDBEditor::ClearAlbums() {
    m_pTrackModel->SetAlbum(nullptr);
    m_pTreeModel->Reset(m_treeFormat.Levels());
    m_albums.Clear();
    ShowInfo();
    UpdateCommandUi();
}

void CFreeDBEditor::AddAlbum(std::size_t nIndex, const CAlbumInfo& album) {
    if (nIndex != m_albums.GetCount())
        return;
    m_albums.AddCopy(album);
    const QModelIndex node = m_pTreeModel->AddAlbum(nIndex, m_albums.GetAt(nIndex));
    for (QModelIndex parent = node.parent(); parent.isValid(); parent = parent.parent())
        m_pTree->expand(parent);
}

void CFreeDBEditor::ChangeAlbumState(std::size_t nIndex, EAlbumState eState,
                                     const CAlbumInfo& album) {
    if (nIndex >= m_albums.GetCount())
        return;
    const bool shown = SelectedAlbum() == nIndex;
    if (shown)
        m_pTrackModel->SetAlbum(nullptr);
    m_albums.GetAt(nIndex) = album;
    m_pTreeModel->SetState(nIndex, eState);
    if (shown)
        OnTreeSelection();
}

void CFreeDBEditor::OnOperationEndedHere() {
    m_bOperationPending = false;
    UpdateCommandUi();
}

// The tree and the track list ---------------------------------------------------------

std::size_t CFreeDBEditor::SelectedAlbum() const {
    const std::size_t album = m_pTreeModel->AlbumOf(m_pTree->currentIndex());
    return album < m_albums.GetCount() ? album : CAlbumTree::kNoAlbum;
}

CAlbumInfo* CFreeDBEditor::SelectedAlbumData() {
    const std::size_t album = SelectedAlbum();
    return album == CAlbumTree::kNoAlbum ? nullptr : &m_albums.GetAt(album);
}

void CFreeDBEditor::OnTreeSelection() {
    m_pTrackModel->SetAlbum(SelectedAlbumData());
    m_pTracks->header()->setSortIndicator(-1, Qt::AscendingOrder);
    ShowInfo();
    UpdateCommandUi();
}

void CFreeDBEditor::ShowInfo() {
    const QModelIndex current = m_pTree->currentIndex();
    CAlbumTree::SInfo info;
    if (current.isValid())
        info = CAlbumTree::InfoOf(m_pTreeModel->Tree().Node(m_pTreeModel->NodeOf(current)),
                                  SelectedAlbumData());
    const std::optional<std::string> text = m_context.m_catalogue.FormatUiString(
        FreeDBText::kInfoFormat, info.m_strArtist, info.m_strAlbum, info.m_strYear, info.m_nTracks,
        info.m_strDiscId);
    m_pInfo->setPlainText(UiText::FromUtf8(text.value_or(std::string())));
}

void CFreeDBEditor::OnTreeDoubleClick() {
    const std::size_t album = SelectedAlbum();
    if (album == CAlbumTree::kNoAlbum)
        return;
    if (CanSelect()) {
        Select();
    } else if (m_pRunner->GetState() == COperationRunner::kFetching &&
               m_albums.GetAt(album).GetTrackCount() == 0) {
        m_pRunner->MoveToFront(album);
    } else if (IsIdle()) {
        StartGetTracklist();
    }
}

bool CFreeDBEditor::CanSelect() {
    const CAlbumInfo* album = SelectedAlbumData();
    return IsIdle() && album != nullptr && album->IsFilled() && album->GetTrackCount() > 0;
}

void CFreeDBEditor::EditColumn(int nColumn) {
    const QModelIndex current = m_pTracks->currentIndex();
    if (!current.isValid())
        return;
    const QModelIndex cell = m_pTrackModel->index(current.row(), nColumn);
    m_pTracks->setCurrentIndex(cell);
    m_pTracks->edit(cell);
}

void CFreeDBEditor::UpdateCommandUi() {
    m_pCommands->UpdateCommandUi();
    m_pStopButton->setEnabled(m_bOperationPending);
    m_pSelectButton->setEnabled(CanSelect());
    m_pSearchButton->setEnabled(IsIdle());
}

// Bars, menus and the rest -----------------------------------------------------------

void CFreeDBEditor::ToggleBar(QWidget* pBar, bool& bShown) {
    bShown = !bShown;
    pBar->setVisible(bShown);
}

void CFreeDBEditor::SetTreeWidth(int nPercent) {
    m_options.m_nTreeWidth = CEditorOptions::AcceptTreeWidth(nPercent);
    const int total = std::max(m_pSplitter->width(), 100);
    const int tree = total * m_options.m_nTreeWidth / 100;
    m_pSplitter->setSizes({tree, total - tree});
}

bool CFreeDBEditor::eventFilter(QObject* pObject, QEvent* pEvent) {
    if (pObject == m_pTree && pEvent->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(pEvent)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Select();
            return true;
        }
    }
    if (pObject == m_pSplitter->handle(1) && pEvent->type() == QEvent::ContextMenu) {
        ShowSplitterMenu(static_cast<QContextMenuEvent*>(pEvent)->globalPos());
        return true;
    }
    return QDialog::eventFilter(pObject, pEvent);
}

void CFreeDBEditor::contextMenuEvent(QContextMenuEvent* pEvent) {
    QMenu menu(this);
    menu.addAction(m_pCommands->Action(FreeDBText::kCancelItem));
    menu.addAction(m_pCommands->Action(FreeDBText::kStopItem));
    UpdateCommandUi();
    menu.exec(pEvent->globalPos());
}

void CFreeDBEditor::ShowTreeMenu(const QPoint& position) {
    using namespace FreeDBText;
    QMenu menu(this);
    if (SelectedAlbum() != CAlbumTree::kNoAlbum) {
        menu.addAction(m_pCommands->Action(kGetTracklistItem));
        menu.addSeparator();
    }
    for (const unsigned id : {kExpandAll, kCollapseAll, kExpand, kCollapse})
        menu.addAction(m_pCommands->Action(id));
    menu.addSeparator();
    menu.addAction(m_pCommands->Action(kCancelItem));
    menu.addAction(m_pCommands->Action(kStopItem));
    UpdateCommandUi();
    menu.exec(m_pTree->viewport()->mapToGlobal(position));
}

void CFreeDBEditor::ShowHeaderMenu(const QPoint& position) {
    QMenu menu(this);
    for (unsigned id = FreeDBText::kFirstColumnItem;
         id < FreeDBText::kFirstColumnItem + CAlbumTrackModel::kColumnCount; ++id)
        menu.addAction(m_pCommands->Action(id));
    UpdateCommandUi();
    menu.exec(m_pTracks->header()->mapToGlobal(position));
}

void CFreeDBEditor::ShowSplitterMenu(const QPoint& position) {
    QMenu menu(this);
    for (int percent = 10; percent <= 90; percent += 10) {
        QAction* action =
            menu.addAction(UiText::FromUtf8(m_context.m_catalogue.FormatUiStringOrBuiltIn(
                FreeDBText::kTreeWidthFormat, static_cast<unsigned>(percent),
                static_cast<unsigned>(100 - percent))));
        action->setCheckable(true);
        action->setChecked(percent == m_options.m_nTreeWidth);
        connect(action, &QAction::triggered, this, [this, percent] { SetTreeWidth(percent); });
    }
    menu.exec(position);
}

void CFreeDBEditor::OpenHelp(const char* strTopic) const {
    if (!QDesktopServices::openUrl(
            QUrl::fromLocalFile(UiText::FromUtf8(CPlatformPaths::HelpDir() + strTopic))))
        QApplication::beep();
}

void CFreeDBEditor::RunAppCommand(unsigned nId) {
    if (m_pAppCommands != nullptr)
        m_pAppCommands->Run(nId);
}

void CFreeDBEditor::ShowCdPlayerIni() {
    const QString path = UiText::FromUtf8(m_context.m_freedbSettings.GetIniPath());
    if (!QFileInfo::exists(path) || !QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        m_context.m_prompt.ShowMessage(
            m_context.m_catalogue.LoadUiString(FreeDBText::kCdPlayerIniNotFound),
            EPromptIcon::Exclamation);
}

void CFreeDBEditor::OnSaveLog() {
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.setNameFilters(
        UiText::Load(m_context.m_catalogue, FreeDBText::kLogFilter).split(QStringLiteral(";;")));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        SaveLogTo(dialog.selectedFiles().front());
}

void CFreeDBEditor::SaveLogTo(const QString& strPath) {
    if (!m_pLog->Log().SaveToFile(UiText::ToUtf8(strPath)))
        m_context.m_prompt.ShowMessage(
            m_context.m_catalogue.LoadUiString(FreeDBText::kCantCreateFile), EPromptIcon::Error);
}

void CFreeDBEditor::OnSettings() {
    CFreeDBSettingsDialog dialog(m_context, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_pRunner->RequestReconfigure();
    m_bReconfigure = true;
}

void CFreeDBEditor::OnDatabaseInfo() {
    CDatabaseInfoDialog dialog(m_context, this);
    dialog.exec();
}
