#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

// For the start-up probes: once the first window has been painted (the paint cycle that
// began with its first paint event has ended), says "painted" on standard output and
// ends the process at once, so that closing down is not counted.
class CFirstPaint : public QObject {
public:
    static void Watch() { qApp->installEventFilter(new CFirstPaint); }

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override {
        if (pEvent->type() == QEvent::Paint && !m_bSeen && pWatched->isWidgetType()) {
            m_bSeen = true;
            QTimer::singleShot(0, [] {
                std::puts("painted");
                std::fflush(stdout);
                std::_Exit(0);
            });
        }
        return false;
    }

private:
    bool m_bSeen = false;
};
