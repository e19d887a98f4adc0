#include "switching.h"

#include "form1.h"
#include "form2.h"
#include "form3.h"
#include "window_look.h"

namespace counter {

QuellattoWindow *create_window(WindowKind kind)
{
    switch (kind) {
    case WindowKind::Counter:
        return new Form1;
    case WindowKind::Comparison:
        return new Form2;
    case WindowKind::CaseConversion:
        return new Form3;
    }
    return new Form1;
}

QuellattoWindow *switch_window(QuellattoWindow *current, WindowKind target)
{
    QuellattoWindow *next = create_window(target);
    // The three windows share one place on screen: the client area's corner stays put.
    next->setGeometry(QRect(current->geometry().topLeft(), next->size()));
    // Shown first, so a window is always open and the program does not end on the way.
    next->show();
    current->close();
    return next;
}

QuellattoWindow *start_program()
{
    QuellattoWindow *window = create_window(WindowKind::Counter);
    // The designed place of the client area's corner on the screen; a window manager
    // may still place the window elsewhere.
    window->setGeometry(QRect(QPoint(twips(60), twips(1635)), window->size()));
    window->show();
    return window;
}

}  // namespace counter
