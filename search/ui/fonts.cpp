#include "fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace search {

void install_font_substitutions()
{
    QStringList faces{QStringLiteral("IPAPGothic")};
    for (const QString &family : QFontDatabase::families(QFontDatabase::Japanese)) {
        if (!faces.contains(family))
            faces.append(family);
    }
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), faces);
    QFont::insertSubstitutions(QStringLiteral("System"), faces);
}

}  // namespace search
