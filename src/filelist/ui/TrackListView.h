#pragma once

#include <QStringList>
#include <QTreeView>

// The file list control: a report list with check boxes and a header whose columns can
// be dragged into another order. A double click edits a title only in the row that had
// the focus before the click; F2 edits the focused row's title. Files and folders
// dropped from a file manager are handed on as paths.
class CTrackListView : public QTreeView {
    Q_OBJECT
public:
    explicit CTrackListView(QWidget* pParent = nullptr);

    // The width that fits a column's contents, for the page's width rule.
    using QTreeView::sizeHintForColumn;

    // Opens the in-place editor on the title of the focused row.
    void EditFocusedTitle();
    // Checks or unchecks the focused row, whichever of its cells has the focus.
    void ToggleFocusedCheck();

signals:
    void PathsDropped(const QStringList& paths);

protected:
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void dragEnterEvent(QDragEnterEvent* pEvent) override;
    void dragMoveEvent(QDragMoveEvent* pEvent) override;
    void dropEvent(QDropEvent* pEvent) override;

private:
    // The focused row when the last mouse button went down.
    int m_nFocusedBeforePress = -1;
};
