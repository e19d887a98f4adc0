// The yardstick of the start-up rows: the least a Qt Widgets program does to show a
// window, one empty top-level widget, ended when it is first shown (first_shown.h).
#include "first_shown.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    bench::FirstShown::install();
    QWidget window;
    window.show();
    return QApplication::exec();
}
