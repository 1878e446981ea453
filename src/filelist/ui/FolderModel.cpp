#include "filelist/ui/FolderModel.h"

#include "platform/ui/ThemeIcon.h"

#include <QAbstractFileIconProvider>
#include <QHeaderView>
#include <QScrollBar>
#include <QTreeView>

namespace {
// The room a tree row leaves around its icon and text, as the styles draw it.
constexpr int kTextMargin = 6;

// Every entry of a folder tree is a folder; its icon needs no look at the entry. Asked
// from the model's loader thread too, so it only hands out a copy of one icon.
class CFolderIcons : public QAbstractFileIconProvider {
public:
    CFolderIcons() : m_folder(ThemeIcon::Get("folder", QStyle::SP_DirIcon)) {}
    QIcon icon(IconType) const override { return m_folder; }
    QIcon icon(const QFileInfo&) const override { return m_folder; }
    // The type column is not shown: no file type is looked up. Not empty: with an empty
    // type, Qt 6.4's model fails to find some folders by their path.
    QString type(const QFileInfo&) const override { return QStringLiteral("-"); }

private:
    QIcon m_folder;
};
} // namespace

CFolderModel::CFolderModel(QTreeView& tree) : QFileSystemModel(&tree), m_tree(tree) {
    // One for all trees, kept to the end: the model's loader thread may still ask it
    // while a tree goes away.
    static auto* icons = new CFolderIcons;
    setIconProvider(icons);
    setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    setRootPath(QStringLiteral("/"));

    tree.setModel(this);
    // Through the header: hiding a column of the tree lays all rows out at once.
    for (int column = 1; column < columnCount(); ++column)
        tree.header()->hideSection(column);
    tree.setHeaderHidden(true);
    tree.setIndentation(14);
    // Long names scroll sideways rather than being cut short. Only the rows in sight are
    // measured, as folders of thousands of entries load, so the width follows the
    // scrolling.
    tree.header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    tree.header()->setResizeContentsPrecision(0);
    tree.header()->setStretchLastSection(false);
    const auto fit = [&tree] { tree.resizeColumnToContents(0); };
    connect(tree.verticalScrollBar(), &QScrollBar::valueChanged, &tree, fit);
    connect(this, &QFileSystemModel::directoryLoaded, &tree, fit, Qt::QueuedConnection);
    tree.expand(index(QStringLiteral("/")));

    connect(this, &QFileSystemModel::directoryLoaded, this, &CFolderModel::KeepSelectionInSight);
    connect(this, &QAbstractItemModel::layoutChanged, this, &CFolderModel::KeepSelectionInSight);
    const auto userMoved = [this] { m_bFollowSelection = false; };
    connect(tree.verticalScrollBar(), &QAbstractSlider::actionTriggered, this, userMoved);
    connect(&tree, &QAbstractItemView::pressed, this, userMoved);
}

bool CFolderModel::Select(const QString& strPath) {
    const QModelIndex folder = index(strPath);
    if (!folder.isValid())
        return false;
    for (QModelIndex parent = folder.parent(); parent.isValid(); parent = parent.parent())
        m_tree.expand(parent);
    m_tree.setCurrentIndex(folder);
    m_bFollowSelection = true;
    KeepSelectionInSight();
    return true;
}

QString CFolderModel::SelectedPath() const {
    const QModelIndex current = m_tree.currentIndex();
    return current.isValid() ? filePath(current) : QString();
}

void CFolderModel::KeepSelectionInSight() {
    const QModelIndex current = m_tree.currentIndex();
    if (!m_bFollowSelection || !current.isValid())
        return;
    m_tree.scrollTo(current, QAbstractItemView::PositionAtCenter);
    // Centring also centres the row sideways, and rows are as wide as the longest name in
    // sight, which cut the names at the left. The tree shows the selected folder's name
    // from its start instead, from the left edge when the name fits.
    QScrollBar& sideways = *m_tree.horizontalScrollBar();
    const int start = m_tree.visualRect(current).left() + sideways.value();
    const int icon = m_tree.iconSize().isValid()
                         ? m_tree.iconSize().width()
                         : m_tree.style()->pixelMetric(QStyle::PM_SmallIconSize);
    const int end =
        start + icon + m_tree.fontMetrics().horizontalAdvance(fileName(current)) + 2 * kTextMargin;
    sideways.setValue(end <= m_tree.viewport()->width() ? 0 : start - m_tree.indentation());
}
