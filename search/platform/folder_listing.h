#pragma once
// Listing folders for the directory and file lists.
#include "drive_map.h"
#include <QString>
#include <QStringList>

namespace search {

// True when `path` (drive-letter model) names an existing folder (links followed).
bool folder_exists(const DriveMap &drives, const QString &path);

// The names of the subfolders of `path`, sorted as list_files sorts. Hidden ones (a name
// starting with ".") and names holding a backslash are left out. Empty when the folder
// cannot be read.
QStringList list_subfolders(const DriveMap &drives, const QString &path);

// The names of the regular files of `path` (a symbolic link counts as what it points
// to) that match `pattern`, such as "*.txt;*.htm;*.doc;*.rtf". Hidden names (starting
// with ".") and names holding a backslash are left out. Sorted case-insensitively,
// ties broken by exact comparison. Empty when the folder cannot be read.
QStringList list_files(const DriveMap &drives, const QString &path, const QString &pattern);

// Whether `name` matches one of the ";"-separated patterns, whole name, "*" any run of
// characters, "?" any one character, letters without regard to case.
bool matches_pattern(const QString &name, const QString &pattern);

}  // namespace search
