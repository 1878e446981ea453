#pragma once

#include <QStyledItemDelegate>

// Paints the file list's cells as the style does, but lays each text out only once. The
// style lays a cell's text out three times to place and elide it, which made the list
// most of the cost of painting the main window.
class CTrackListDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* pPainter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};
