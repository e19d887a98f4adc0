#include "file_path.h"

namespace search {

QString join_path(const QString &folder, const QString &name)
{
    return folder + QLatin1Char('\\') + name;
}

}  // namespace search
