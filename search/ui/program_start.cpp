#include "program_start.h"
#include "fonts.h"

#include <QApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QTranslator>

namespace search {

void prepare_application(QApplication &app)
{
    // Every caption is Japanese, the toolkit's own buttons and menus too, whatever the
    // locale of the session. The translator lives as long as the application.
    auto *toolkit_ja = new QTranslator(&app);
    if (toolkit_ja->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(toolkit_ja);
    install_font_substitutions();
    // Lets a desktop match the window to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.vornilex"));
}

std::unique_ptr<Form1> start_program(const DriveMap &drives)
{
    const QString program_folder =
        drives.to_drive_path(QFile::encodeName(QCoreApplication::applicationDirPath())).value_or(QString());
    auto form = std::make_unique<Form1>(drives, program_folder);
    form->start_up();
    return form;
}

}  // namespace search
