#pragma once
// Opening a text file for reading, and deleting one file.
#include "drive_map.h"
#include <QString>
#include <optional>

namespace search {

// A regular file open for sequential reading. Closing is the destructor's job, so no
// path out of a caller leaves the file open. Move-only.
class TextFile {
public:
    // Opens `path` (drive-letter model). Never blocks: a FIFO, socket, device or folder
    // is a file that cannot be opened. Gives nothing on any failure.
    static std::optional<TextFile> open(const DriveMap &drives, const QString &path);

    TextFile(TextFile &&other) noexcept;
    TextFile &operator=(TextFile &&other) noexcept;
    TextFile(const TextFile &) = delete;
    TextFile &operator=(const TextFile &) = delete;
    ~TextFile();

    // Reads up to `size` bytes into `buffer`: the count read, 0 at the end of the file,
    // -1 on a read error (after which the file reads as ended).
    qint64 read(char *buffer, qint64 size);

private:
    explicit TextFile(int fd) : m_fd(fd) {}
    int m_fd = -1;   // owned descriptor; -1 once moved from
};

// Deletes the one file `path` names: a regular file, or a symbolic link itself (never
// its target); never a folder or anything else. True when it was removed.
bool delete_file(const DriveMap &drives, const QString &path);

}  // namespace search
