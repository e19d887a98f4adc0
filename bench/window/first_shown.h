#pragma once
// Ends a start-up benchmark at the moment a person would first see the window: the first
// time a top-level window is exposed, once the expose has been handled (the window has
// painted its first frame), "shown" goes to standard output and the process ends at
// once. timed_run --until-line times the whole process from outside up to that line:
// loading, the toolkit's set-up, building the window and its first paint.
#include <QCoreApplication>
#include <QEvent>
#include <QWindow>
#include <cstdio>
#include <cstdlib>

namespace bench {

class FirstShown : public QObject {
public:
    // Watches every object of the application; install before the first window is built.
    static void install()
    {
        QCoreApplication::instance()->installEventFilter(new FirstShown(QCoreApplication::instance()));
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_seen && event->type() == QEvent::Expose) {
            auto *window = qobject_cast<QWindow *>(watched);
            if (window && window->isExposed()) {
                m_seen = true;
                // Queued: runs after the expose has been handled and the frame painted.
                QMetaObject::invokeMethod(this, [] {
                    std::fputs("shown\n", stdout);
                    std::fflush(stdout);
                    std::_Exit(0);
                }, Qt::QueuedConnection);
            }
        }
        return false;
    }

private:
    using QObject::QObject;
    bool m_seen = false;
};

}  // namespace bench
