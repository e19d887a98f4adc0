#include "hostile_folder.h"

#include <QDir>
#include <QFileInfo>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <ftw.h>
#include <linux/capability.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace hostile {

namespace {

bool write_all(int fd, const char *data, qint64 size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}

bool write_file(const QByteArray &path, const QByteArray &bytes)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool ok = write_all(fd, bytes.constData(), bytes.size());
    return ::close(fd) == 0 && ok;
}

}  // namespace

Folder::Folder(bool giant)
{
    if (!m_dir.isValid()) {
        fail(u"no temporary folder"_s);
        return;
    }
    m_host = QFile::encodeName(m_dir.path());
    const QByteArray needle(phrase);

    // Readable files with hits on known lines.
    add_regular("plain.txt", "first line\r\n" + needle + " here\r\nlast line", {2});
    add_regular("name with blanks.txt", "a\r\nb\r\nx " + needle + " " + needle + "\r\n", {3});
    add_regular("report 2.txt", "\r\n\r\n" + needle + "\r\n", {3});
    add_regular("\xef\xbe\x83\xef\xbd\xbd\xef\xbe\x84.txt", needle + "\r\n", {1});   // ﾃｽﾄ.txt
    add_regular("bad\xff\xfe name.txt", "x\r\n" + needle, {2});
    add_regular("new\nline.txt", needle + "\r\n\r\n" + needle + "\r\n", {1, 3});
    add_regular("empty.txt", "", {});
    // Only bytes that code page 932 cannot decode: 0xFF, lone lead bytes (one before
    // CR LF, one before a blank), and a lead byte as the very last byte.
    add_regular("bad bytes.txt", "\xff\xff\x80\xa0\xfd\xfe\r\n\x81\r\n\x82\x20\xff\r\n\x88", {});
    // NULs are characters like any other: the phrase after them is found.
    add_regular("nul.txt", QByteArray("\0\0", 2) + needle + QByteArray("\0\r\n\0", 4), {1});

    // A name the drive-letter model cannot write: never listed.
    if (write_file(host_path("back\\slash.txt"), needle + "\r\n"))
        add({"back\\slash.txt", false, false, {}});
    else
        fail(u"back\\slash.txt"_s);

    // A link to a listed file is listed as what it points to.
    if (::symlink("plain.txt", host_path("link to plain.txt").constData()) == 0)
        add({"link to plain.txt", true, true, {2}});
    else
        fail(u"link to plain.txt"_s);

    // Without read permission: the owner (root) is kept out only while the permission
    // bypass is set aside, see WithoutPermissionBypass.
    if (write_file(host_path("unreadable.txt"), needle + "\r\n")
        && ::chmod(host_path("unreadable.txt").constData(), 0) == 0) {
        add({"unreadable.txt", true, false, {}});
        WithoutPermissionBypass plain_user;
        const int fd = ::open(host_path("unreadable.txt").constData(), O_RDONLY | O_CLOEXEC);
        m_unreadable_enforced = fd < 0;   // also true for a user who is not root
        if (fd >= 0)
            ::close(fd);
    } else {
        fail(u"unreadable.txt"_s);
    }

    // Not ordinary files: none is listed, none may block or be read.
    if (::mkfifo(host_path("fifo.txt").constData(), 0644) == 0)
        add({"fifo.txt", false, false, {}});
    else
        fail(u"fifo.txt"_s);

    {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray path = host_path("socket.txt");
        if (fd >= 0 && size_t(path.size()) < sizeof(address.sun_path)) {
            std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
            if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0)
                add({"socket.txt", false, false, {}});
            else
                fail(u"socket.txt"_s);
        } else {
            fail(u"socket.txt"_s);
        }
        if (fd >= 0)
            ::close(fd);   // the socket's name stays in the folder
    }

    if (::mkdir(host_path("dir.txt").constData(), 0755) == 0
        && write_file(host_path("dir.txt/inside.txt"), needle + "\r\n"))
        add({"dir.txt", false, false, {}});
    else
        fail(u"dir.txt"_s);

    const struct {
        const char *name;
        const char *target;
    } links[] = {
        {"zero.txt", "/dev/zero"},
        {"dangling.txt", "nowhere.txt"},
        {"loop.txt", "loop.txt"},
        {"loop a.txt", "loop b.txt"},
        {"loop b.txt", "loop a.txt"},
    };
    for (const auto &link : links) {
        if (::symlink(link.target, host_path(link.name).constData()) == 0)
            add({link.name, false, false, {}});
        else
            fail(QString::fromLatin1(link.name));
    }

    if (!giant)
        return;

    // 1 GiB and no line end: one line of NUL characters, written sparse, with the
    // phrase as its very last bytes, so only a reader that reaches the end finds it.
    {
        const QByteArray path = host_path("giant.txt");
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        const qint64 size = qint64(1) << 30;
        const bool ok = fd >= 0 && ::ftruncate(fd, size) == 0
            && ::pwrite(fd, needle.constData(), size_t(needle.size()), size - needle.size()) == needle.size();
        if (fd >= 0)
            ::close(fd);
        if (ok)
            add({"giant.txt", true, true, {1}});
        else
            fail(u"giant.txt"_s);
    }

    // Ten million lines of one character each; the last one holds no line end.
    {
        constexpr qint64 count = 10'000'000;
        QByteArray bytes;
        bytes.reserve(count * 3);
        for (qint64 i = 1; i < count; ++i)
            bytes.append("a\r\n", 3);
        bytes.append('z');
        if (write_file(host_path("ten million lines.txt"), bytes))
            add({"ten million lines.txt", true, true, {}});
        else
            fail(u"ten million lines.txt"_s);
    }
}

namespace {
int remove_one(const char *path, const struct stat *, int, struct FTW *)
{
    (void)::remove(path);   // go on with the rest whatever happens
    return 0;
}
}  // namespace

// Links, loops, sockets and names without permission are removed as they are (never
// followed), before the temporary folder's own clean-up, which trips over some of them.
Folder::~Folder()
{
    if (!m_host.isEmpty())
        ::nftw(m_host.constData(), remove_one, 16, FTW_DEPTH | FTW_PHYS);
}

void Folder::add_regular(const QByteArray &name, const QByteArray &bytes, QList<qint64> hits)
{
    if (write_file(host_path(name), bytes))
        add({name, true, true, std::move(hits)});
    else
        fail(QString::fromUtf8(name));
}

void Folder::fail(const QString &what)
{
    if (m_error.isEmpty())
        m_error = u"could not make "_s + what;
}

const Entry *Folder::find(const QByteArray &name) const
{
    for (const Entry &entry : m_entries)
        if (entry.host_name == name)
            return &entry;
    return nullptr;
}

QStringList descriptors_under(const QByteArray &host_folder)
{
    QStringList found;
    const QDir fds(u"/proc/self/fd"_s);
    for (const QString &fd : fds.entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System)) {
        char target[4096];
        const QByteArray link = QFile::encodeName(fds.filePath(fd));
        const ssize_t n = ::readlink(link.constData(), target, sizeof(target) - 1);
        if (n <= 0)
            continue;
        const QByteArray where(target, n);
        if (host_folder.isEmpty() || where.startsWith(host_folder + '/') || where == host_folder)
            found.append(fd + u" -> "_s + QString::fromUtf8(where));
    }
    return found;
}

int descriptor_count()
{
    // Listing /proc/self/fd opens one descriptor of its own, the same one each time.
    return int(QDir(u"/proc/self/fd"_s).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System).size());
}

WithoutPermissionBypass::WithoutPermissionBypass()
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (::syscall(SYS_capget, &header, data) != 0)
        return;
    m_saved[0] = data[0].effective;
    m_saved[1] = data[1].effective;
    data[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
    m_active = ::syscall(SYS_capset, &header, data) == 0;
}

WithoutPermissionBypass::~WithoutPermissionBypass()
{
    if (!m_active)
        return;
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (::syscall(SYS_capget, &header, data) != 0)
        return;
    data[0].effective = m_saved[0];
    data[1].effective = m_saved[1];
    ::syscall(SYS_capset, &header, data);
}

namespace {
char g_deadline_what[512];

extern "C" void on_deadline(int)
{
    static const char head[] = "\nHUNG: did not end in time: ";
    (void)!::write(2, head, sizeof(head) - 1);
    (void)!::write(2, g_deadline_what, std::strlen(g_deadline_what));
    (void)!::write(2, "\n", 1);
    ::_exit(3);
}
}  // namespace

Deadline::Deadline(const char *what, unsigned seconds)
{
    std::snprintf(g_deadline_what, sizeof(g_deadline_what), "%s", what);
    std::signal(SIGALRM, on_deadline);
    ::alarm(seconds);
}

Deadline::~Deadline()
{
    ::alarm(0);
}

}  // namespace hostile
