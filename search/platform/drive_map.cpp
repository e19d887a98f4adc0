#include "drive_map.h"

#include <QFile>
#include <QSet>
#include <algorithm>

namespace search {

namespace {

constexpr char16_t escape_base = 0xDC00;   // a byte b that is not valid UTF-8 reads as U+DC00 + b

// The length of the valid UTF-8 sequence at p (1..4), or 0 when the byte there does not
// start one. Overlong forms, surrogates and code points past U+10FFFF are not valid.
int utf8_sequence(const unsigned char *p, const unsigned char *end, char32_t &cp)
{
    const unsigned char b = p[0];
    if (b < 0x80) {
        cp = b;
        return 1;
    }
    int n;
    char32_t min;
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2;
        cp = b & 0x1F;
        min = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        cp = b & 0x0F;
        min = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        cp = b & 0x07;
        min = 0x10000;
    } else {
        return 0;
    }
    if (end - p < n)
        return 0;
    for (int i = 1; i < n; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n;
}

void append_utf8(QByteArray &out, char32_t cp)
{
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// The mount points under the folders where removable and extra volumes appear.
QList<QByteArray> mounted_volumes()
{
    QList<QByteArray> found;
    QFile mounts(QStringLiteral("/proc/self/mounts"));
    if (!mounts.open(QIODevice::ReadOnly))
        return found;
    const QByteArray all = mounts.readAll();
    for (const QByteArray &line : all.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 2)
            continue;
        // /proc/self/mounts writes blanks and the like in octal: "\040".
        QByteArray dir;
        const QByteArray &raw = fields.at(1);
        for (qsizetype i = 0; i < raw.size(); ++i) {
            if (raw.at(i) == '\\' && i + 3 < raw.size()) {
                bool ok = false;
                const int v = raw.mid(i + 1, 3).toInt(&ok, 8);
                if (ok && v < 256) {
                    dir += char(v);
                    i += 3;
                    continue;
                }
            }
            dir += raw.at(i);
        }
        for (const char *base : {"/media/", "/run/media/", "/mnt/"})
            if (dir.startsWith(base) && dir.size() > qsizetype(qstrlen(base)))
                found.append(dir);
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

}  // namespace

QString name_from_host(const QByteArray &raw)
{
    QString out;
    out.reserve(raw.size());
    const auto *p = reinterpret_cast<const unsigned char *>(raw.constData());
    const unsigned char *end = p + raw.size();
    while (p < end) {
        char32_t cp = 0;
        const int n = utf8_sequence(p, end, cp);
        if (n == 0) {
            out += QChar(char16_t(escape_base + *p));
            ++p;
            continue;
        }
        if (cp >= 0x10000) {
            out += QChar(QChar::highSurrogate(cp));
            out += QChar(QChar::lowSurrogate(cp));
        } else {
            out += QChar(char16_t(cp));
        }
        p += n;
    }
    return out;
}

QByteArray name_to_host(const QString &name)
{
    QByteArray out;
    out.reserve(name.size());
    const qsizetype n = name.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = name.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(name.at(i + 1).unicode())) {
            append_utf8(out, QChar::surrogateToUcs4(c, name.at(i + 1).unicode()));
            ++i;
        } else if (c >= escape_base + 0x80 && c <= escape_base + 0xFF) {
            out += char(c - escape_base);   // an escaped byte goes back as itself
        } else {
            append_utf8(out, c);
        }
    }
    return out;
}

DriveMap DriveMap::system()
{
    DriveMap map;
    map.add(QLatin1Char('C'), QByteArrayLiteral("/"));
    char16_t letter = u'D';
    for (const QByteArray &dir : mounted_volumes()) {
        if (letter > u'Z')
            break;
        map.add(QChar(letter++), dir);
    }
    return map;
}

DriveMap DriveMap::with_root(const QByteArray &host_root)
{
    DriveMap map;
    map.add(QLatin1Char('C'), host_root);
    return map;
}

void DriveMap::add(QChar letter, const QByteArray &host_root)
{
    QByteArray root = host_root;
    while (root.size() > 1 && root.endsWith('/'))
        root.chop(1);
    if (root.isEmpty())
        root = "/";
    m_roots.insert(letter.toUpper(), root);
}

QList<QChar> DriveMap::letters() const
{
    return m_roots.keys();
}

std::optional<QByteArray> DriveMap::root_of(QChar letter) const
{
    const auto it = m_roots.constFind(letter.toUpper());
    if (it == m_roots.cend())
        return std::nullopt;
    return *it;
}

std::optional<QByteArray> DriveMap::to_host(const QString &path) const
{
    if (path.size() < 2 || path.at(1) != QLatin1Char(':'))
        return std::nullopt;
    const QChar letter = path.at(0);
    if (!((letter >= u'A' && letter <= u'Z') || (letter >= u'a' && letter <= u'z')))
        return std::nullopt;
    if (path.contains(QChar(u'\0')))
        return std::nullopt;   // the host cannot name it
    std::optional<QByteArray> root = root_of(letter);
    if (!root)
        return std::nullopt;

    QByteArray host = *root;
    const QStringView rest = QStringView(path).mid(2);
    for (const QStringView name : rest.split(u'\\', Qt::SkipEmptyParts)) {
        if (!host.endsWith('/'))
            host += '/';
        host += name_to_host(name.toString());
    }
    return host;
}

std::optional<QString> DriveMap::to_drive_path(const QByteArray &host_path) const
{
    if (!host_path.startsWith('/'))
        return std::nullopt;
    std::optional<QChar> best;
    qsizetype best_length = -1;
    for (auto it = m_roots.cbegin(); it != m_roots.cend(); ++it) {
        const QByteArray &root = it.value();
        const bool holds = root == "/"
            || host_path == root
            || (host_path.startsWith(root) && host_path.at(root.size()) == '/');
        if (holds && root.size() > best_length) {
            best = it.key();
            best_length = root.size();
        }
    }
    if (!best)
        return std::nullopt;

    QString path = QString(*best) + QStringLiteral(":\\");
    const QByteArray rest = host_path.mid(best_length);
    bool first = true;
    for (const QByteArray &name : rest.split('/')) {
        if (name.isEmpty())
            continue;
        if (name.contains('\\'))
            return std::nullopt;   // no path of this model names it
        if (!first)
            path += QLatin1Char('\\');
        path += name_from_host(name);
        first = false;
    }
    return path;
}

}  // namespace search
