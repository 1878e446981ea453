#include "filelist/ui/TrackListPage.h"

#include "filelist/FileList.h"
#include "filelist/ui/FolderModel.h"
#include "filelist/ui/TrackListModel.h"
#include "filelist/ui/TrackListView.h"
#include "lang/StringCatalogue.h"
#include "lang/ui/UiText.h"
#include "platform/Profile.h"
#include "platform/ui/AfterFirstPaint.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QResizeEvent>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr unsigned kSourceFolderCaption = 60510;
constexpr unsigned kHideTreeText = 60514;
constexpr unsigned kFileListName = 59507;
constexpr const char* kSettingsSection = "Settings";
constexpr const char* kTreeKey = "AdvancedTrackList";
} // namespace

CTrackListPage::CTrackListPage(CFileList& fileList, CProfile& profile,
                               const CStringCatalogue& catalogue, QWidget* pParent)
    : CSettingsPage(pParent), m_fileList(fileList), m_profile(profile),
      m_pModel(new CTrackListModel(fileList, catalogue, this)), m_pSplitter(new QSplitter(this)),
      m_pTreePanel(new QWidget(m_pSplitter)), m_pTree(new QTreeView(m_pTreePanel)),
      m_pList(new CTrackListView(m_pSplitter)) {
    m_layout.Load(profile);
    BuildTree(catalogue);
    BuildList(catalogue);
    m_pSplitter->setStretchFactor(0, 1);
    m_pSplitter->setStretchFactor(1, 3);
    m_pSplitter->setChildrenCollapsible(false);
    // The tree takes a quarter of the page, the list the rest.
    m_pSplitter->setSizes({250, 750});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pSplitter);
    ShowTree(m_profile.GetInt(kSettingsSection, kTreeKey, 1) != 0);
}

CTrackListPage::~CTrackListPage() {
    CTrackListLayout::Order order{};
    for (int position = 0; position < CTrackListLayout::kColumnCount; ++position)
        order[static_cast<size_t>(position)] = m_pList->header()->logicalIndex(position);
    m_layout.SetColumnOrder(order);
    CProfile::CDeferredSave batch(m_profile);
    m_layout.Save(m_profile);
    m_profile.WriteInt(kSettingsSection, kTreeKey, IsTreeShown() ? 1 : 0);
}

void CTrackListPage::BuildTree(const CStringCatalogue& catalogue) {
    auto* caption = new QLabel(UiText::Load(catalogue, kSourceFolderCaption), m_pTreePanel);
    auto* hide = new QToolButton(m_pTreePanel);
    hide->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    hide->setAutoRaise(true);
    hide->setFixedSize(19, 17);
    hide->setToolTip(UiText::Load(catalogue, kHideTreeText));
    hide->setAccessibleName(hide->toolTip());
    connect(hide, &QToolButton::clicked, this, &CTrackListPage::ToggleTree);

    // As the folder model will have it, so the tree does not show a header meanwhile.
    m_pTree->setHeaderHidden(true);
    m_pTree->setAccessibleName(UiText::WithoutMnemonics(caption->text()));
    caption->setBuddy(m_pTree);
    CAfterFirstPaint::Run(*m_pTree->viewport(), [this] { StartTree(); });

    auto* captionRow = new QHBoxLayout;
    captionRow->setContentsMargins(2, 0, 0, 0);
    captionRow->addWidget(caption, 1);
    captionRow->addWidget(hide);
    auto* layout = new QVBoxLayout(m_pTreePanel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(captionRow);
    layout->addWidget(m_pTree);
}

void CTrackListPage::BuildList(const CStringCatalogue& catalogue) {
    m_pList->setModel(m_pModel);
    m_pList->setAccessibleName(UiText::Load(catalogue, kFileListName));
    m_pList->installEventFilter(this);
    ApplyColumnLayout();
    connect(m_pList->header(), &QHeaderView::sectionClicked, this,
            &CTrackListPage::OnHeaderClicked);
}

void CTrackListPage::ApplyColumnLayout() {
    QHeaderView& header = *m_pList->header();
    const CTrackListLayout::Order& order = m_layout.ColumnOrder();
    for (int position = 0; position < CTrackListLayout::kColumnCount; ++position)
        header.moveSection(header.visualIndex(order[static_cast<size_t>(position)]), position);
    for (int column = 0; column < CTrackListLayout::kColumnCount; ++column)
        header.setSectionHidden(column, !m_layout.IsVisible(column));
    UpdateColumnWidths();
}

void CTrackListPage::UpdateColumnWidths() {
    MeasureFittedColumns();
    FitColumnsToWidth();
}

void CTrackListPage::MeasureFittedColumns() {
    const QHeaderView& header = *m_pList->header();
    const int lastRow = m_pModel->rowCount() - 1;
    m_fitted = {};
    for (int column = 0; column < CTrackListLayout::kColumnCount; ++column) {
        if (!m_layout.IsVisible(column) || !CTrackListLayout::IsFitted(column))
            continue;
        // The rows in sight and the last row, whose number is the longest: a list of
        // thousands is not measured row by row.
        int width = std::max(header.sectionSizeHint(column), m_pList->sizeHintForColumn(column));
        if (lastRow >= 0)
            width = std::max(width,
                             m_pList->sizeHintForIndex(m_pModel->index(lastRow, column)).width());
        m_fitted[static_cast<size_t>(column)] = width;
    }
}

void CTrackListPage::FitColumnsToWidth() {
    QHeaderView& header = *m_pList->header();
    const CTrackListLayout::Widths widths = m_layout.ComputeWidths(m_pList->width(), m_fitted);
    for (int column = 0; column < CTrackListLayout::kColumnCount; ++column) {
        const int width = widths[static_cast<size_t>(column)];
        if (width > 0 && header.sectionSize(column) != width)
            header.resizeSection(column, width);
    }
}

void CTrackListPage::ToggleColumn(int nColumn) {
    m_layout.ToggleVisible(nColumn);
    m_pList->header()->setSectionHidden(nColumn, !m_layout.IsVisible(nColumn));
    UpdateColumnWidths();
}

void CTrackListPage::OnHeaderClicked(int nColumn) {
    const auto request = m_layout.ClickHeader(nColumn);
    if (!request)
        return;
    m_pList->header()->setSortIndicatorShown(true);
    m_pList->header()->setSortIndicator(nColumn, request->m_bReverse ? Qt::DescendingOrder
                                                                     : Qt::AscendingOrder);
    emit SortRequested(request->m_nColumn, request->m_bReverse);
}

bool CTrackListPage::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pWatched == m_pList && pEvent->type() == QEvent::Resize) {
        // A taller list brings rows into sight whose contents were not measured.
        const auto* resize = static_cast<const QResizeEvent*>(pEvent);
        if (resize->size().height() > resize->oldSize().height())
            MeasureFittedColumns();
        FitColumnsToWidth();
    }
    return CSettingsPage::eventFilter(pWatched, pEvent);
}

void CTrackListPage::UpdateList() {
    m_pModel->RefreshWrite();
    UpdateColumnWidths();
}

int CTrackListPage::FirstSelectedRow() const {
    const QModelIndexList rows = m_pList->selectionModel()->selectedRows();
    int first = -1;
    for (const QModelIndex& row : rows) {
        if (first < 0 || row.row() < first)
            first = row.row();
    }
    return first;
}

bool CTrackListPage::SelectFolder(const QString& strPath) {
    if (!QFileInfo(strPath).isDir())
        return false;
    if (m_pFolders == nullptr) {
        m_strFolderToShow = strPath;
        emit FolderSelected(strPath);
        return true;
    }
    // A folder the tree cannot show yet is still chosen, as a click on it would.
    if (!m_pFolders->Select(strPath))
        emit FolderSelected(strPath);
    return true;
}

void CTrackListPage::ShowFolder(const QString& strPath) {
    if (m_pFolders == nullptr) {
        m_strFolderToShow = strPath;
        return;
    }
    m_bOnlyShowing = true;
    m_pFolders->Select(strPath);
    m_bOnlyShowing = false;
}

QString CTrackListPage::SelectedFolder() const {
    return m_pFolders != nullptr ? m_pFolders->SelectedPath() : m_strFolderToShow;
}

void CTrackListPage::StartTree() {
    if (m_pFolders != nullptr)
        return;
    m_pFolders = new CFolderModel(*m_pTree);
    connect(m_pTree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid() && !m_bOnlyShowing)
                    emit FolderSelected(m_pFolders->filePath(current));
            });
    if (!m_strFolderToShow.isEmpty())
        ShowFolder(m_strFolderToShow);
}

bool CTrackListPage::IsTreeShown() const {
    return !m_pTreePanel->isHidden();
}

void CTrackListPage::ToggleTree() {
    ShowTree(!IsTreeShown());
}

void CTrackListPage::ShowTree(bool bShow) {
    m_pTreePanel->setVisible(bShow);
}

void CTrackListPage::LoadFromSettings() {
    UpdateList();
    if (m_nRememberedRow < 0 || m_nRememberedRow >= m_pModel->rowCount())
        return;
    const QModelIndex row = m_pModel->index(m_nRememberedRow, 0);
    m_pList->setCurrentIndex(row);
    m_pList->scrollTo(row);
    m_pList->setFocus();
}

void CTrackListPage::StoreToSettings() {
    m_pModel->RefreshReadBack();
    m_nRememberedRow = FirstSelectedRow();
}

QString CTrackListPage::HelpTopic() const {
    return QStringLiteral("01_introduction.htm");
}
