// Vornilex: finds a phrase in the text files of a folder and shows where it occurs.
#include "program_start.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    search::prepare_application(app);
    const search::DriveMap drives = search::DriveMap::system();
    const std::unique_ptr<search::Form1> form = search::start_program(drives);
    form->show();
    return QApplication::exec();
}
