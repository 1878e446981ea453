#include "filelist/ui/TrackListPage.h"

#include "filelist/FileList.h"
#include "filelist/ui/TrackListModel.h"
#include "lang/ui/UiText.h"
#include "platform/Profile.h"

#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {
constexpr unsigned kSourceFolderCaption = 60510;
constexpr unsigned kHideTreeText = 60514;
constexpr const char* kSettingsSection = "Settings";
constexpr const char* kTreeKey = "AdvancedTrackList";
} // namespace

CTrackListPage::CTrackListPage(CFileList& fileList, CProfile& profile,
                               const CStringCatalogue& catalogue, QWidget* pParent)
    : CSettingsPage(pParent), m_fileList(fileList), m_profile(profile),
      m_pModel(new CTrackListModel(fileList, catalogue, this)),
      m_pFolders(new QFileSystemModel(this)), m_pSplitter(new QSplitter(this)),
      m_pTreePanel(new QWidget(m_pSplitter)), m_pTree(new QTreeView(m_pTreePanel)),
      m_pList(new QTreeView(m_pSplitter)) {
    BuildTree(catalogue);
    BuildList();
    m_pSplitter->setStretchFactor(0, 1);
    m_pSplitter->setStretchFactor(1, 3);
    m_pSplitter->setChildrenCollapsible(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pSplitter);
    ShowTree(m_profile.GetInt(kSettingsSection, kTreeKey, 1) != 0);
}

void CTrackListPage::BuildTree(const CStringCatalogue& catalogue) {
    auto* caption = new QLabel(UiText::Load(catalogue, kSourceFolderCaption), m_pTreePanel);
    auto* hide = new QToolButton(m_pTreePanel);
    hide->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    hide->setAutoRaise(true);
    hide->setToolTip(UiText::Load(catalogue, kHideTreeText));
    hide->setAccessibleName(hide->toolTip());
    connect(hide, &QToolButton::clicked, this, &CTrackListPage::ToggleTree);

    m_pFolders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_pFolders->setRootPath(QStringLiteral("/"));
    m_pTree->setModel(m_pFolders);
    m_pTree->setRootIndex(m_pFolders->index(QStringLiteral("/")));
    for (int column = 1; column < m_pFolders->columnCount(); ++column)
        m_pTree->hideColumn(column);
    m_pTree->setHeaderHidden(true);
    m_pTree->setAccessibleName(caption->text());
    caption->setBuddy(m_pTree);
    connect(m_pTree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    emit FolderSelected(m_pFolders->filePath(current));
            });

    auto* captionRow = new QHBoxLayout;
    captionRow->setContentsMargins(0, 0, 0, 0);
    captionRow->addWidget(caption, 1);
    captionRow->addWidget(hide);
    auto* layout = new QVBoxLayout(m_pTreePanel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(captionRow);
    layout->addWidget(m_pTree);
}

void CTrackListPage::BuildList() {
    m_pList->setModel(m_pModel);
    m_pList->setRootIsDecorated(false);
    m_pList->setUniformRowHeights(true);
    m_pList->setAllColumnsShowFocus(true);
    m_pList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_pList->setEditTriggers(QAbstractItemView::EditKeyPressed);
    m_pList->header()->setSectionsMovable(true);
    m_pList->header()->setSectionsClickable(true);
    m_pList->setAccessibleName(QStringLiteral("File List"));
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
    const QModelIndex folder = m_pFolders->index(strPath);
    if (!folder.isValid())
        return false;
    for (QModelIndex parent = folder.parent(); parent.isValid(); parent = parent.parent())
        m_pTree->expand(parent);
    m_pTree->setCurrentIndex(folder);
    m_pTree->scrollTo(folder);
    return true;
}

bool CTrackListPage::IsTreeShown() const {
    return !m_pTreePanel->isHidden();
}

void CTrackListPage::ToggleTree() {
    ShowTree(!IsTreeShown());
}

void CTrackListPage::ShowTree(bool bShow) {
    m_pTreePanel->setVisible(bShow);
    m_profile.WriteInt(kSettingsSection, kTreeKey, bShow ? 1 : 0);
}

void CTrackListPage::LoadFromSettings() {
    m_pModel->RefreshWrite();
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
