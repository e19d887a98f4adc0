// Quellatto: counts, compares and converts the case of the text the user types or pastes.
#include "app_setup.h"
#include "switching.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    counter::prepare_application(app);
    counter::start_program();
    const int status = QApplication::exec();
    // The last window closed itself with a deferred delete: let it run before leaving.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return status;
}
