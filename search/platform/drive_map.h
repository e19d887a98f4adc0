#pragma once
// Drive-letter paths over a host without drives. The programs keep the Windows model
// of a path ("C:\home\ann\memo.txt"); this map translates it to host bytes and back.
#include <QByteArray>
#include <QChar>
#include <QList>
#include <QMap>
#include <QString>
#include <optional>

namespace search {

class DriveMap {
public:
    DriveMap() = default;

    // C: is the host root "/"; mounted volumes under /media, /run/media and /mnt
    // follow as D:, E:, ... in name order.
    static DriveMap system();

    // A map whose only drive C: is the host folder `host_root` (tests build one on a
    // temporary folder, so the window runs on real files).
    static DriveMap with_root(const QByteArray &host_root);

    // Adds or replaces a drive. `host_root` is an absolute host folder.
    void add(QChar letter, const QByteArray &host_root);

    QList<QChar> letters() const;                      // in letter order
    std::optional<QByteArray> root_of(QChar letter) const;

    // "C:\a\\b\" -> "<root>/a/b". Letters are upper- or lower-case alike ("c:" is "C:");
    // a run of backslashes reads as one; "." and ".." are names like any other and are
    // passed through (the host resolves them). Gives nothing when the path does not
    // start with a known drive letter and a colon.
    std::optional<QByteArray> to_host(const QString &path) const;

    // The host path (absolute) written in this model, on the drive whose root is its
    // longest prefix: "<root>/a/b" -> "C:\a\b", the root itself -> "C:\". Gives nothing
    // when no drive holds it or a name in it contains a backslash.
    std::optional<QString> to_drive_path(const QByteArray &host_path) const;

private:
    QMap<QChar, QByteArray> m_roots;   // upper-case letter -> absolute host folder, no trailing '/' but for "/"
};

// Host names are bytes; the window shows text. Valid UTF-8 decodes as such; every byte
// that is not part of valid UTF-8 becomes the lone surrogate U+DC80 + byte (0x80..0xFF),
// so name_to_host(name_from_host(b)) == b for every byte string, and a path built from a
// listed name always names that very file.
QString name_from_host(const QByteArray &raw);
QByteArray name_to_host(const QString &name);

}  // namespace search
