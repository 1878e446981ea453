#include "filelist/ui/TrackListView.h"

#include "filelist/TrackListColumns.h"
#include "filelist/ui/TrackListDelegate.h"

#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QUrl>

namespace {
QStringList LocalPaths(const QMimeData* pData) {
    QStringList paths;
    if (pData == nullptr)
        return paths;
    for (const QUrl& url : pData->urls()) {
        if (url.isLocalFile())
            paths.push_back(url.toLocalFile());
    }
    return paths;
}
} // namespace

CTrackListView::CTrackListView(QWidget* pParent) : QTreeView(pParent) {
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragDropMode(QAbstractItemView::DropOnly);
    setDropIndicatorShown(false);
    setItemDelegate(new CTrackListDelegate(this));
    header()->setSectionsMovable(true);
    header()->setFirstSectionMovable(true);
    header()->setSectionsClickable(true);
    header()->setStretchLastSection(false);
    header()->setSortIndicatorShown(false);
    // Fitting a column to its contents measures the rows in sight only.
    header()->setResizeContentsPrecision(0);
}

void CTrackListView::EditFocusedTitle() {
    const QModelIndex focused = currentIndex();
    if (focused.isValid())
        edit(model()->index(focused.row(), CTrackListColumns::kTitle));
}

void CTrackListView::ToggleFocusedCheck() {
    const QModelIndex focused = currentIndex();
    if (!focused.isValid())
        return;
    const QModelIndex box = model()->index(focused.row(), CTrackListColumns::kWavName);
    const bool bChecked = box.data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked;
    model()->setData(box, bChecked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}

void CTrackListView::mousePressEvent(QMouseEvent* pEvent) {
    m_nFocusedBeforePress = currentIndex().isValid() ? currentIndex().row() : -1;
    QTreeView::mousePressEvent(pEvent);
}

void CTrackListView::mouseDoubleClickEvent(QMouseEvent* pEvent) {
    // The first click of the double click has already focused the row; what counts is
    // whether it had the focus before.
    const QModelIndex clicked = indexAt(pEvent->position().toPoint());
    const bool wasFocused = clicked.isValid() && clicked.row() == m_nFocusedBeforePress;
    QTreeView::mouseDoubleClickEvent(pEvent);
    if (wasFocused && clicked.column() == CTrackListColumns::kTitle)
        edit(clicked);
}

void CTrackListView::keyPressEvent(QKeyEvent* pEvent) {
    if (pEvent->key() == Qt::Key_F2 && pEvent->modifiers() == Qt::NoModifier) {
        EditFocusedTitle();
        return;
    }
    if (pEvent->key() == Qt::Key_Space && pEvent->modifiers() == Qt::NoModifier) {
        ToggleFocusedCheck();
        return;
    }
    QTreeView::keyPressEvent(pEvent);
}

void CTrackListView::dragEnterEvent(QDragEnterEvent* pEvent) {
    if (LocalPaths(pEvent->mimeData()).isEmpty())
        return QTreeView::dragEnterEvent(pEvent);
    pEvent->acceptProposedAction();
}

void CTrackListView::dragMoveEvent(QDragMoveEvent* pEvent) {
    if (LocalPaths(pEvent->mimeData()).isEmpty())
        return QTreeView::dragMoveEvent(pEvent);
    pEvent->acceptProposedAction();
}

void CTrackListView::dropEvent(QDropEvent* pEvent) {
    const QStringList paths = LocalPaths(pEvent->mimeData());
    if (paths.isEmpty())
        return QTreeView::dropEvent(pEvent);
    pEvent->acceptProposedAction();
    // Adding may show the Skip Files window; the file manager should not wait for it to
    // learn that the drop was taken.
    QMetaObject::invokeMethod(
        this, [this, paths] { emit PathsDropped(paths); }, Qt::QueuedConnection);
}
