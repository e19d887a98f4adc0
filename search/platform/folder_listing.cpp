#include "folder_listing.h"

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace search {

namespace {

enum class Kind { File, Folder };

// The names of `path`'s entries of one kind, links followed, hidden ones and names that
// no path of the drive model can hold left out, sorted case-insensitively (ties exact).
QStringList list_entries(const DriveMap &drives, const QString &path, Kind kind,
                         const QString *pattern)
{
    QStringList names;
    const std::optional<QByteArray> host = drives.to_host(path);
    if (!host)
        return names;
    const int dir_fd = ::open(host->constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir_fd < 0)
        return names;
    DIR *dir = ::fdopendir(dir_fd);
    if (!dir) {
        ::close(dir_fd);
        return names;
    }
    while (const dirent *entry = ::readdir(dir)) {
        const char *raw = entry->d_name;
        if (raw[0] == '.' || std::strchr(raw, '\\'))
            continue;
        struct stat st;
        if (::fstatat(dir_fd, raw, &st, 0) != 0)
            continue;   // a dangling link or a name gone meanwhile
        if (kind == Kind::File ? !S_ISREG(st.st_mode) : !S_ISDIR(st.st_mode))
            continue;
        const QString name = name_from_host(QByteArray(raw));
        if (pattern && !matches_pattern(name, *pattern))
            continue;
        names.append(name);
    }
    ::closedir(dir);   // closes dir_fd too
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int c = QString::compare(a, b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

// Whole-name glob match: '*' any run, '?' any one character, letters folded for case.
// Backtracks only to the last '*', so it takes time linear in the pattern times the name.
bool glob_match(QStringView name, QStringView pattern)
{
    qsizetype n = 0, p = 0, star = -1, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            star = p++;
            resume = n;
        } else if (p < pattern.size()
                   && (pattern[p] == u'?'
                       || pattern[p].toCaseFolded() == name[n].toCaseFolded())) {
            ++p;
            ++n;
        } else if (star >= 0) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

}  // namespace

bool folder_exists(const DriveMap &drives, const QString &path)
{
    const std::optional<QByteArray> host = drives.to_host(path);
    struct stat st;
    return host && ::stat(host->constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

QStringList list_subfolders(const DriveMap &drives, const QString &path)
{
    return list_entries(drives, path, Kind::Folder, nullptr);
}

QStringList list_files(const DriveMap &drives, const QString &path, const QString &pattern)
{
    return list_entries(drives, path, Kind::File, &pattern);
}

bool matches_pattern(const QString &name, const QString &pattern)
{
    for (const QStringView one : QStringView(pattern).split(u';'))
        if (glob_match(name, one))
            return true;
    return false;
}

}  // namespace search
