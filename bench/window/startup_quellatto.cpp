// Quellatto's start-up as the program runs it (counter/ui/main.cpp), ended when its
// window is first shown (first_shown.h).
#include "app_setup.h"
#include "first_shown.h"
#include "switching.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    bench::FirstShown::install();
    counter::prepare_application(app);
    counter::start_program();
    return QApplication::exec();
}
