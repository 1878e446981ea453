#include "filelist/ui/TrackListDelegate.h"

#include <QApplication>
#include <QPainter>

namespace {
QPalette::ColorGroup ColourGroup(QStyle::State state) {
    if (!(state & QStyle::State_Enabled))
        return QPalette::Disabled;
    return (state & QStyle::State_Active) ? QPalette::Normal : QPalette::Inactive;
}

// The text on one line in the area, elided where it is too long, placed as the style
// places it. Drawn from its base line, it is shaped without being broken into lines.
void DrawOneLine(QPainter& painter, const QStyleOptionViewItem& item, const QString& strText,
                 const QRect& area) {
    const QFontMetricsF metrics(item.font);
    const Qt::Alignment alignment = QStyle::visualAlignment(item.direction, item.displayAlignment);
    QString shown = strText;
    qreal x = area.left();
    if (alignment & Qt::AlignLeft) {
        shown = metrics.elidedText(strText, item.textElideMode, area.width());
    } else {
        qreal width = metrics.horizontalAdvance(shown);
        if (width > area.width()) {
            shown = metrics.elidedText(strText, item.textElideMode, area.width());
            width = metrics.horizontalAdvance(shown);
        }
        x += (alignment & Qt::AlignRight) ? area.width() - width : (area.width() - width) / 2;
    }
    const qreal y = area.top() + (area.height() - metrics.height()) / 2 + metrics.ascent();
    painter.drawText(QPointF(x, y), shown);
}
} // namespace

void CTrackListDelegate::paint(QPainter* pPainter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QWidget* widget = item.widget;
    const QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    const QString text = item.text;
    // Without its text the style draws the background, check box, icon and focus, and
    // places the text's area without measuring the text.
    item.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &item, pPainter, widget);
    if (text.isEmpty())
        return;

    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget)
                           .adjusted(margin, 0, -margin, 0);
    pPainter->save();
    pPainter->setFont(item.font);
    pPainter->setPen(item.palette.color(
        ColourGroup(item.state),
        (item.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text));
    DrawOneLine(*pPainter, item, text, area);
    pPainter->restore();
}
