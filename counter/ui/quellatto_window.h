#pragma once
// What the three Quellatto windows share: a fixed-size client area below the menu bar
// with its background and hatched Shape1, a fixed border without maximize, the icon,
// deletion on close, the "change" menu that switches windows, and the state a pass
// needs (a pass is running; the window is closing).
#include "switching.h"

#include <QColor>
#include <QMainWindow>
#include <QSize>

class QMenu;

namespace counter {

class HatchShape;

class QuellattoWindow : public QMainWindow {
    Q_OBJECT
public:
    // True from the window system's close (or a switch away) on: a running pass stops,
    // and the window closes when the pass has returned.
    bool is_closing() const { return m_closing; }
    // True while a count or comparison runs in this window (see EventPump).
    bool pass_running() const { return m_pass_running; }

protected:
    struct Design {
        const char *name;            // "Form1"
        QString caption;             // the title bar
        QSize client;                // twips
        QColor background;
        QColor hatch;                // Shape1's lines
        Qt::BrushStyle hatch_style;
        QSize shape;                 // Shape1's size in twips, from the client's corner
    };
    explicit QuellattoWindow(const Design &design);

    // The client area: the controls' parent, below the menu bar.
    QWidget *client() const { return m_client; }

    struct SwitchItem {
        const char *name;            // "mnucomp"
        const char *caption;         // "compare"
        WindowKind target;
    };
    // Adds the menu "change" (mnuchange) with its two switching items.
    void add_change_menu(const SwitchItem &first, const SwitchItem &second);

    // Fixes the window's size to the client area and the menu bar; call once the menus
    // are built.
    void fix_size();

    void closeEvent(QCloseEvent *event) override;

private:
    friend class EventPump;
    QWidget *m_client;
    HatchShape *m_shape;
    bool m_closing = false;
    bool m_pass_running = false;
};

}  // namespace counter
