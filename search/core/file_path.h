#pragma once
#include <QString>

namespace search {

// The path of a file of the folder: the folder, a backslash and the name, as plain text.
// With no name it ends in a backslash; at a drive's root it holds two in a row, which
// the path map reads as one.
QString join_path(const QString &folder, const QString &name);

}  // namespace search
