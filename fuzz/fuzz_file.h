#pragma once
// The one scratch file of a fuzz target: the input's bytes are written to it, and the
// engine opens it as the window would, through a drive map whose C: is a temporary folder.
#include "drive_map.h"
#include "text_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace fuzz {

class ScratchFile {
public:
    ScratchFile()
    {
        if (!m_dir.isValid())
            std::abort();
        m_drives = search::DriveMap::with_root(QFile::encodeName(m_dir.path()));
    }

    const search::DriveMap &drives() const { return m_drives; }
    static QString path() { return QStringLiteral("C:\\scratch.txt"); }

    // Replaces the file's bytes and opens it for reading.
    search::TextFile write_and_open(const QByteArray &bytes)
    {
        const QByteArray host = QFile::encodeName(m_dir.filePath(QStringLiteral("scratch.txt")));
        std::FILE *out = std::fopen(host.constData(), "wb");
        if (!out || std::fwrite(bytes.constData(), 1, size_t(bytes.size()), out) != size_t(bytes.size()))
            std::abort();
        std::fclose(out);
        std::optional<search::TextFile> file = search::TextFile::open(m_drives, path());
        if (!file)
            std::abort();
        return std::move(*file);
    }

private:
    QTemporaryDir m_dir;
    search::DriveMap m_drives;
};

}  // namespace fuzz
