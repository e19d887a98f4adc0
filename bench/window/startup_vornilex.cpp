// Vornilex's start-up as the program runs it (search/ui/main.cpp), ended when its window
// is first shown (first_shown.h). Run from the folder whose files the lists should show.
#include "program_start.h"
#include "first_shown.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    bench::FirstShown::install();
    search::prepare_application(app);
    const search::DriveMap drives = search::DriveMap::system();
    const std::unique_ptr<search::Form1> form = search::start_program(drives);
    form->show();
    return QApplication::exec();
}
