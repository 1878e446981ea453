#include "filelist/ui/FolderModel.h"

#include "platform/ui/ThemeIcon.h"

#include <QAbstractFileIconProvider>
#include <QHeaderView>
#include <QTreeView>

namespace {
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

CFolderModel::CFolderModel(QObject* pParent) : QFileSystemModel(pParent) {
    // One for all trees, kept to the end: the model's loader thread may still ask it
    // while a tree goes away.
    static auto* icons = new CFolderIcons;
    setIconProvider(icons);
    setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    setRootPath(QStringLiteral("/"));
}

void CFolderModel::ShowIn(QTreeView& tree) {
    tree.setModel(this);
    // Through the header: hiding a column of the tree lays all rows out at once.
    for (int column = 1; column < columnCount(); ++column)
        tree.header()->hideSection(column);
    tree.setHeaderHidden(true);
    // Long names scroll sideways rather than being cut short; only the rows in sight are
    // measured, as folders of thousands of entries load.
    tree.header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    tree.header()->setResizeContentsPrecision(0);
    tree.header()->setStretchLastSection(false);
    tree.expand(index(QStringLiteral("/")));
}
