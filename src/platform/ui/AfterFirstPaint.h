#pragma once

#include <QObject>
#include <functional>

class QWidget;

// Runs a job once a widget has first been painted, when the paint cycle is over: work
// the first picture of a window does not need waits until the window is on screen.
class CAfterFirstPaint : public QObject {
public:
    // The job is dropped when the widget goes before it was painted.
    static void Run(QWidget& watched, std::function<void()> job);

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    CAfterFirstPaint(QWidget& watched, std::function<void()> job);

    std::function<void()> m_job;
};
