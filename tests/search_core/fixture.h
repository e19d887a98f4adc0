#pragma once
// Files written by a test into its own temporary C: drive.
#include "drive_map.h"
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <unistd.h>

class Fixture {
public:
    Fixture() : m_drives(search::DriveMap::with_root(m_dir.path().toLocal8Bit())) {}
    bool valid() const { return m_dir.isValid(); }
    const search::DriveMap &drives() const { return m_drives; }
    QByteArray host(const QByteArray &name) const { return m_dir.path().toLocal8Bit() + "/" + name; }

    // Writes `content` as the file `name` of C:'s root; false on failure.
    bool write(const QByteArray &name, const QByteArray &content) const
    {
        const int fd = ::open(host(name).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0)
            return false;
        const bool ok = ::write(fd, content.constData(), size_t(content.size())) == ssize_t(content.size());
        ::close(fd);
        return ok;
    }

private:
    QTemporaryDir m_dir;
    search::DriveMap m_drives;
};
