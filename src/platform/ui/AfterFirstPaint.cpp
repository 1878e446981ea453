#include "platform/ui/AfterFirstPaint.h"

#include <QEvent>
#include <QWidget>

void CAfterFirstPaint::Run(QWidget& watched, std::function<void()> job) {
    new CAfterFirstPaint(watched, std::move(job));
}

CAfterFirstPaint::CAfterFirstPaint(QWidget& watched, std::function<void()> job)
    : QObject(&watched), m_job(std::move(job)) {
    watched.installEventFilter(this);
}

bool CAfterFirstPaint::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pEvent->type() == QEvent::Paint) {
        pWatched->removeEventFilter(this);
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_job();
                deleteLater();
            },
            Qt::QueuedConnection);
    }
    return false;
}
