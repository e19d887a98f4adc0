#pragma once
// A folder of everything that anyone could leave beside the text files, built at run time
// in a temporary folder: files that are not ordinary files, files whose bytes are not
// text, giant files, and names that are hard to write down. Every name matches the file
// pattern, so the window lists (and tries to read) all that it may.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QTemporaryDir>

namespace hostile {

// The phrase that the readable files hold, on known lines.
inline constexpr char phrase[] = "needle";

struct Entry {
    QByteArray host_name;   // the name on disk, bytes as they are
    bool listed = false;    // the file list shows it (a regular file, or a link to one)
    bool readable = false;  // it opens and reads as lines
    QList<qint64> hit_lines;   // the lines that hold `phrase`
};

class Folder {
public:
    // Builds the folder. `giant` adds the 1 GiB file without a line end and the file of
    // ten million one-character lines (slow operations; the fast tests leave them out).
    explicit Folder(bool giant);
    ~Folder();
    Folder(const Folder &) = delete;
    Folder &operator=(const Folder &) = delete;

    bool isValid() const { return m_dir.isValid() && m_error.isEmpty(); }
    QString error() const { return m_error; }

    QByteArray host_path() const { return m_host; }
    QByteArray host_path(const QByteArray &name) const { return m_host + '/' + name; }
    const QList<Entry> &entries() const { return m_entries; }
    const Entry *find(const QByteArray &name) const;

    // Whether the process can be kept from reading the file without read permission
    // (true once the permission check is in force for this root process).
    bool unreadable_is_unreadable() const { return m_unreadable_enforced; }

private:
    void add_regular(const QByteArray &name, const QByteArray &bytes, QList<qint64> hits);
    void add(const Entry &entry) { m_entries.append(entry); }
    void fail(const QString &what);

    QTemporaryDir m_dir;
    QByteArray m_host;
    QList<Entry> m_entries;
    QString m_error;
    bool m_unreadable_enforced = false;
};

// The open descriptors of this process that name something under `host_folder` (all
// of them for an empty one).
QStringList descriptors_under(const QByteArray &host_folder);

// The number of open descriptors of this process.
int descriptor_count();

// While one lives, root's power to read and search past file permissions is set aside
// (CAP_DAC_OVERRIDE and CAP_DAC_READ_SEARCH leave the effective set), so a file without
// read permission cannot be opened, as for any other user. `active()` tells whether it took.
class WithoutPermissionBypass {
public:
    WithoutPermissionBypass();
    ~WithoutPermissionBypass();
    WithoutPermissionBypass(const WithoutPermissionBypass &) = delete;
    WithoutPermissionBypass &operator=(const WithoutPermissionBypass &) = delete;
    bool active() const { return m_active; }

private:
    bool m_active = false;
    quint32 m_saved[2] = {0, 0};
};

// Ends the process with a message when the code between construction and destruction
// takes longer than `seconds`: a hang shows as a named failure, not a silent timeout.
class Deadline {
public:
    Deadline(const char *what, unsigned seconds);
    ~Deadline();
    Deadline(const Deadline &) = delete;
    Deadline &operator=(const Deadline &) = delete;
};

}  // namespace hostile
