#include "encoding/ui/BitrateSlider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionSlider>
#include <algorithm>
#include <cmath>

namespace {
constexpr int kLabelGap = 2;
constexpr double kLastPosition = CBitrateSlider::kPositions - 1;
} // namespace

CBitrateSlider::CBitrateSlider(QWidget* pParent) : QWidget(pParent) {
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void CBitrateSlider::SetLabels(const QStringList& labels) {
    m_labels = labels;
    updateGeometry();
    update();
}

void CBitrateSlider::ShowSingle(int nPosition) {
    m_bRange = false;
    m_values = {static_cast<double>(nPosition), static_cast<double>(nPosition)};
    m_nKeyThumb = 0;
    update();
}

void CBitrateSlider::ShowRange(int nMinimum, int nMaximum) {
    // A thumb that passed the other one goes on as the other's slot.
    if (m_bRange) {
        if (m_nDragged >= 0)
            m_nDragged = SlotAfterOrdering(m_nDragged, nMinimum, nMaximum);
        m_nKeyThumb = SlotAfterOrdering(m_nKeyThumb, nMinimum, nMaximum);
    }
    m_bRange = true;
    m_values = {static_cast<double>(nMinimum), static_cast<double>(nMaximum)};
    update();
}

int CBitrateSlider::SlotAfterOrdering(int nThumb, int nMinimum, int nMaximum) const {
    const auto at = static_cast<int>(std::lround(m_values[static_cast<size_t>(nThumb)]));
    if (nMinimum == nMaximum)
        return nThumb;
    if (at == nMaximum)
        return 1;
    return at == nMinimum ? 0 : nThumb;
}

int CBitrateSlider::First() const {
    return static_cast<int>(m_values[0] + 0.5);
}

int CBitrateSlider::Second() const {
    return static_cast<int>(m_values[m_bRange ? 1 : 0] + 0.5);
}

QStyleOptionSlider CBitrateSlider::SliderOption(double dValue) const {
    QStyleOptionSlider option;
    option.initFrom(this);
    option.orientation = Qt::Horizontal;
    option.minimum = 0;
    option.maximum = static_cast<int>(kLastPosition);
    option.sliderPosition = static_cast<int>(dValue + 0.5);
    option.sliderValue = option.sliderPosition;
    option.tickPosition = QSlider::TicksBelow;
    option.tickInterval = 1;
    option.singleStep = 1;
    option.pageStep = 1;
    option.rect = QRect(0, 0, width(), height() - LabelHeight());
    if (!hasFocus())
        option.state &= ~QStyle::State_HasFocus;
    return option;
}

QRect CBitrateSlider::GrooveRect() const {
    const QStyleOptionSlider option = SliderOption(0);
    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    // The centres of the end positions: half a handle in from each side.
    return QRect(handle.width() / 2, 0, option.rect.width() - handle.width(), option.rect.height());
}

int CBitrateSlider::CentreOf(double dValue) const {
    const QRect groove = GrooveRect();
    return groove.left() + static_cast<int>(std::lround(dValue / kLastPosition * groove.width()));
}

double CBitrateSlider::ValueAt(int nX) const {
    const QRect groove = GrooveRect();
    if (groove.width() <= 0)
        return 0;
    const double value = (nX - groove.left()) * kLastPosition / groove.width();
    return std::clamp(value, 0.0, kLastPosition);
}

int CBitrateSlider::LabelHeight() const {
    return fontMetrics().height() + kLabelGap;
}

QSize CBitrateSlider::sizeHint() const {
    QStyleOptionSlider option = SliderOption(0);
    const QSize slider = style()->sizeFromContents(QStyle::CT_Slider, &option, QSize(84, 24), this);
    int labels = 0;
    for (const QString& label : m_labels)
        labels = std::max(labels, fontMetrics().horizontalAdvance(label));
    return {std::max(slider.width(), (labels + 6) * kPositions), slider.height() + LabelHeight()};
}

QSize CBitrateSlider::minimumSizeHint() const {
    return {kPositions * 16, sizeHint().height()};
}

void CBitrateSlider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The groove is filled up to the single thumb; a range has no "up to".
    QStyleOptionSlider option = SliderOption(m_bRange ? 0 : m_values[0]);
    option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderTickmarks;
    style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);
    for (int thumb = 0; thumb < (m_bRange ? 2 : 1); ++thumb) {
        QStyleOptionSlider handle = SliderOption(m_values[static_cast<size_t>(thumb)]);
        handle.subControls = QStyle::SC_SliderHandle;
        if (thumb != m_nKeyThumb)
            handle.state &= ~QStyle::State_HasFocus;
        if (thumb == m_nDragged) {
            handle.activeSubControls = QStyle::SC_SliderHandle;
            handle.state |= QStyle::State_Sunken;
        }
        style()->drawComplexControl(QStyle::CC_Slider, &handle, &painter, this);
    }
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    const int top = height() - LabelHeight() + kLabelGap;
    for (int position = 0; position < m_labels.size() && position < kPositions; ++position) {
        const QString& label = m_labels[position];
        const int labelWidth = fontMetrics().horizontalAdvance(label);
        const int left = std::clamp(CentreOf(position) - labelWidth / 2, 0, width() - labelWidth);
        painter.drawText(QRect(left, top, labelWidth, fontMetrics().height()), Qt::AlignCenter,
                         label);
    }
}

void CBitrateSlider::mousePressEvent(QMouseEvent* pEvent) {
    if (pEvent->button() != Qt::LeftButton)
        return;
    const double value = ValueAt(pEvent->position().toPoint().x());
    // The nearer thumb follows the press; between two at the same place, the one that
    // can move that way.
    m_nDragged = 0;
    if (m_bRange) {
        const double toFirst = std::abs(value - m_values[0]);
        const double toSecond = std::abs(value - m_values[1]);
        m_nDragged = toSecond < toFirst || (toSecond == toFirst && value > m_values[1]) ? 1 : 0;
    }
    m_nKeyThumb = m_nDragged;
    MoveThumb(m_nDragged, value);
}

void CBitrateSlider::mouseMoveEvent(QMouseEvent* pEvent) {
    if (m_nDragged >= 0)
        MoveThumb(m_nDragged, ValueAt(pEvent->position().toPoint().x()));
}

void CBitrateSlider::mouseReleaseEvent(QMouseEvent* pEvent) {
    if (m_nDragged < 0)
        return;
    MoveThumb(m_nDragged, ValueAt(pEvent->position().toPoint().x()));
    m_nDragged = -1;
    update();
}

void CBitrateSlider::keyPressEvent(QKeyEvent* pEvent) {
    const size_t thumb = static_cast<size_t>(m_bRange ? m_nKeyThumb : 0);
    double value = std::round(m_values[thumb]);
    switch (pEvent->key()) {
    case Qt::Key_Left:
    case Qt::Key_Down:
        value -= 1;
        break;
    case Qt::Key_Right:
    case Qt::Key_Up:
        value += 1;
        break;
    case Qt::Key_Home:
        value = 0;
        break;
    case Qt::Key_End:
        value = kLastPosition;
        break;
    case Qt::Key_Space:
        // Space hands the keys to the other thumb of a range.
        m_nKeyThumb = m_bRange ? 1 - m_nKeyThumb : 0;
        update();
        return;
    default:
        QWidget::keyPressEvent(pEvent);
        return;
    }
    MoveThumb(static_cast<int>(thumb), std::clamp(value, 0.0, kLastPosition));
}

void CBitrateSlider::MoveThumb(int nThumb, double dValue) {
    m_values[static_cast<size_t>(nThumb)] = dValue;
    if (!m_bRange)
        m_values[1] = dValue;
    update();
    emit ThumbsMoved(m_values[0], m_values[1]);
}
