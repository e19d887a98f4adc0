// Vornilex: finds a phrase in the text files of a folder and shows where it occurs.
#include "drive_map.h"
#include "fonts.h"
#include "form1.h"

#include <QApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);

    // Every caption is Japanese, the toolkit's own buttons and menus too, whatever the
    // locale of the session.
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
