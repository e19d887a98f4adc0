#include "quellatto_window.h"

#include "window_look.h"

#include <QCloseEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>

using namespace Qt::StringLiterals;

namespace counter {

QuellattoWindow::QuellattoWindow(const Design &design)
    : QMainWindow(nullptr,
                  Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                      | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                      | Qt::WindowCloseButtonHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QString::fromLatin1(design.name));
    setAccessibleDescription(QString::fromLatin1(design.name));
    setWindowTitle(design.caption);
    setWindowIcon(quellatto_icon());

    m_client = new QWidget(this);
    m_client->setFixedSize(twips(design.client.width()), twips(design.client.height()));
    QPalette palette = m_client->palette();
    palette.setColor(QPalette::Window, design.background);
    m_client->setPalette(palette);
    m_client->setAutoFillBackground(true);
    setCentralWidget(m_client);

    m_shape = new HatchShape(design.hatch, design.hatch_style, m_client);
    name_control(m_shape, "Shape1");
    m_shape->setGeometry(twips_rect(0, 0, design.shape.width(), design.shape.height()));
    m_shape->lower();
}

void QuellattoWindow::add_change_menu(const SwitchItem &first, const SwitchItem &second)
{
    QMenu *menu = menuBar()->addMenu(u"change"_s);
    menu->setObjectName(u"mnuchange"_s);
    menu->menuAction()->setObjectName(u"mnuchange"_s);
    for (const SwitchItem &item : {first, second}) {
        QAction *action = menu->addAction(QString::fromUtf8(item.caption));
        action->setObjectName(QString::fromLatin1(item.name));
        const WindowKind target = item.target;
        connect(action, &QAction::triggered, this, [this, target] {
            // Input is held during a pass; this also refuses a switch asked for by code.
            if (!m_pass_running)
                switch_window(this, target);
        });
    }
}

void QuellattoWindow::fix_size()
{
    // The client area is fixed; the window is exactly it plus the menu bar, and cannot
    // be resized or maximized.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
}

void QuellattoWindow::closeEvent(QCloseEvent *event)
{
    m_closing = true;
    if (m_pass_running) {
        // The window stays whole until its pass has stopped, whatever the event loop
        // does with deferred deletions meanwhile: the pass stops at its next poll, its
        // pump then closes the window, and the deletion follows in the event loop.
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace counter
