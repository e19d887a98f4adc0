#include "app_setup.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace counter {

bool load_japanese_translations(QApplication &app)
{
    auto *translator = new QTranslator(&app);
    if (!translator->load(u"qtbase_ja"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QApplication::installTranslator(translator);
    return true;
}

void install_font_substitutions()
{
    QStringList faces{u"IPAPGothic"_s};
    for (const QString &family : QFontDatabase::families(QFontDatabase::Japanese)) {
        if (!faces.contains(family))
            faces.append(family);
    }
    for (const QString &designed : {u"ＭＳ Ｐゴシック"_s, u"System"_s})
        QFont::insertSubstitutions(designed, faces);
}

void prepare_application(QApplication &app)
{
    load_japanese_translations(app);
    install_font_substitutions();
    QApplication::setQuitOnLastWindowClosed(true);
    // Lets a desktop match the windows to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.quellatto"));
}

}  // namespace counter
