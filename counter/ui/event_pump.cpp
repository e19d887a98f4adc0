#include "event_pump.h"

#include "quellatto_window.h"

#include <QCoreApplication>
#include <QEvent>

namespace counter {

// Swallows the user's input while it is installed on the application.
class EventPump::InputHold : public QObject {
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::InputMethod:
        case QEvent::ContextMenu:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::NativeGesture:
            return true;
        default:
            return QObject::eventFilter(watched, event);
        }
    }
};

EventPump::EventPump(QuellattoWindow *window)
    : m_window(window), m_hold(std::make_unique<InputHold>())
{
    window->m_pass_running = true;
    QCoreApplication::instance()->installEventFilter(m_hold.get());
    m_clock.start();
    m_next_round_ms = interval_ms;
}

EventPump::~EventPump()
{
    QCoreApplication::instance()->removeEventFilter(m_hold.get());
    if (!m_window)
        return;
    m_window->m_pass_running = false;
    // A close asked for during the pass was put off until now (see closeEvent).
    if (m_window->is_closing())
        m_window->close();
}

bool EventPump::alive() const
{
    return m_window && !m_window->is_closing();
}

bool EventPump::run_events()
{
    if (!alive())
        return false;
    if (m_before_events)
        m_before_events();
    QCoreApplication::processEvents();
    m_next_round_ms = m_clock.elapsed() + interval_ms;
    return alive();
}

bool EventPump::poll()
{
    if (m_clock.elapsed() < m_next_round_ms)
        return alive();
    return run_events();
}

std::function<bool()> EventPump::keep_going()
{
    return [this] { return poll(); };
}

}  // namespace counter
