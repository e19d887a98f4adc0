#pragma once
// The pump of one pass (a count or a comparison) of a window.
//
// While it lives, the window is marked busy and takes no user input: clicks, keys,
// drops, input-method text and context menus are swallowed application-wide (Quellatto
// shows one window at a time). So neither the texts, the chosen string, the mode nor the
// window can change under the pass, and no second pass starts inside it. The window
// still repaints, and the window system can still close it.
//
// The pass asks poll() every so often. Almost always that is one clock read; a real
// event round runs only when a few milliseconds have passed since the last, so the
// window repaints within a frame while the pass runs at memory speed.
//
// After every event round the window may have been asked to close: poll() and
// run_events() then answer false, and the caller returns at once without touching the
// window. The close itself happens when the pump ends, after the pass.
#include <QElapsedTimer>
#include <QPointer>
#include <functional>
#include <memory>

namespace counter {

class QuellattoWindow;

class EventPump {
public:
    explicit EventPump(QuellattoWindow *window);
    ~EventPump();
    EventPump(const EventPump &) = delete;
    EventPump &operator=(const EventPump &) = delete;

    // The window still exists and is not closing.
    bool alive() const;
    // Lets pending events run once, now. Returns alive().
    bool run_events();
    // Lets pending events run if the last round is a few milliseconds old. Returns alive().
    bool poll();
    // poll() as the engine's keep_going callback.
    std::function<bool()> keep_going();
    // Runs before every event round: the comparison shows the entries found so far.
    void set_before_events(std::function<void()> hook) { m_before_events = std::move(hook); }

    // Time between two event rounds of poll().
    static constexpr qint64 interval_ms = 8;

private:
    class InputHold;
    QPointer<QuellattoWindow> m_window;
    std::unique_ptr<InputHold> m_hold;
    std::function<void()> m_before_events;
    QElapsedTimer m_clock;
    qint64 m_next_round_ms = 0;    // m_clock's reading at which poll() runs events again
};

}  // namespace counter
