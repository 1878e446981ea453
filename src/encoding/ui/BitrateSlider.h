#pragma once

#include <QStringList>
#include <QWidget>
#include <array>

class QStyleOptionSlider;

// The bit-rate slider of the MP3 page: positions 0 to 13 with a labelled tick under each,
// one thumb for a constant bit rate and two for a variable range. Qt's slider has only
// one thumb, hence this widget. Reports thumb values as fractions of a position while a
// thumb is dragged; the page turns them into positions. Lives in the window thread.
class CBitrateSlider : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPositions = 14;

    explicit CBitrateSlider(QWidget* pParent = nullptr);

    // The labels under the ticks, one per position.
    void SetLabels(const QStringList& labels);
    void ShowSingle(int nPosition);
    void ShowRange(int nMinimum, int nMaximum);
    bool IsRange() const { return m_bRange; }
    // The thumbs' positions; the second equals the first with one thumb.
    int First() const;
    int Second() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // A thumb moved; with one thumb both values are the same.
    void ThumbsMoved(double dFirst, double dSecond);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;

private:
    QStyleOptionSlider SliderOption(double dValue) const;
    QRect GrooveRect() const;
    // Where the centre of a thumb at `dValue` lies, and the value under `nX`.
    int CentreOf(double dValue) const;
    double ValueAt(int nX) const;
    void MoveThumb(int nThumb, double dValue);
    // Which slot a thumb has once the page ordered the range.
    int SlotAfterOrdering(int nThumb, int nMinimum, int nMaximum) const;
    int LabelHeight() const;

    QStringList m_labels;
    std::array<double, 2> m_values{0, 0};
    bool m_bRange = false;
    // The thumb being dragged, or -1; the thumb the keys move.
    int m_nDragged = -1;
    int m_nKeyThumb = 0;
};
