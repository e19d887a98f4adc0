// Vornilex's start-up as the program runs it (search/ui/main.cpp), ended when its window
// is first shown (first_shown.h). Run from the folder whose files the lists should show.
#include "drive_map.h"
#include "first_shown.h"
#include "fonts.h"
#include "form1.h"

#include <QApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    bench::FirstShown::install();

    QTranslator toolkit_ja;
    if (toolkit_ja.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&toolkit_ja);
    search::install_font_substitutions();

    const search::DriveMap drives = search::DriveMap::system();
    const QString program_folder =
        drives.to_drive_path(QFile::encodeName(QCoreApplication::applicationDirPath())).value_or(QString());

    search::Form1 form(drives, program_folder);
    form.start_up();
    form.show();
    return QApplication::exec();
}
