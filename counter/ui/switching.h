#pragma once
// Quellatto shows one window at a time. A switch shows the target, freshly built in its
// designed state, where the current window is, and then closes the current one, which
// deletes it with everything its controls held. Closing the one shown window ends the
// program (the application quits when its last window closes).
class QWidget;

namespace counter {

class QuellattoWindow;

enum class WindowKind { Counter, Comparison, CaseConversion };

// A new window of that kind in its designed state, not yet shown.
QuellattoWindow *create_window(WindowKind kind);

// Shows a new `target` window in the place of `current`, then closes `current`.
// Returns the new window.
QuellattoWindow *switch_window(QuellattoWindow *current, WindowKind target);

// The start of the program: the counter window, shown at its designed place.
QuellattoWindow *start_program();

}  // namespace counter
