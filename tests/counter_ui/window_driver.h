#pragma once
// Small helpers the window tests share: finding a control by its design name, reading
// and typing the multi-line boxes, and finding the window on screen.
#include "paragraph_text.h"
#include "quellatto_window.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>

namespace driver {

template <class T>
T *control(const QWidget *window, const char *name)
{
    T *found = window->findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

inline QAction *item(const QWidget *window, const char *name)
{
    return control<QAction>(window, name);
}

inline QString box(const QWidget *window, const char *name)
{
    return counter::box_text(control<QPlainTextEdit>(window, name));
}

inline void set_box(QWidget *window, const char *name, const QString &text)
{
    counter::set_box_text(control<QPlainTextEdit>(window, name), text);
}

inline void click(QWidget *window, const char *name)
{
    QTest::mouseClick(control<QWidget>(window, name), Qt::LeftButton);
}

// A text of `lines` lines of 98 `c` each, for passes that poll many times.
inline QString long_text(int lines, QChar c = u'a')
{
    QString line(98, c);
    line.append(QStringLiteral("\r\n"));
    return line.repeated(lines);
}

// The Quellatto windows that are shown and not closing.
inline QList<counter::QuellattoWindow *> shown_windows()
{
    QList<counter::QuellattoWindow *> shown;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *window = qobject_cast<counter::QuellattoWindow *>(widget);
        if (window && window->isVisible() && !window->is_closing())
            shown.append(window);
    }
    return shown;
}

// A shown window that deletes itself when closed, as the program's windows are.
template <class Form>
Form *show_new()
{
    auto *window = new Form;
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        qWarning("window not exposed");
    return window;
}

// Closes every Quellatto window left over by a test and lets the deletions run.
inline void close_all()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<counter::QuellattoWindow *>(widget))
            widget->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace driver
