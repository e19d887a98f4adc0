// counter_bench: Quellatto's engine on a large text, as one whole process or timed inside.
//
//   counter_bench measure MODE FILE [CHOSEN]      FILE is UTF-8 (what wc -m reads): decode it,
//                                                 count under MODE (0-8), print the result
//   counter_bench compare FIRST SECOND            UTF-16LE files (what cmp -l reads): compare,
//                                                 print the number of difference entries
//   counter_bench time-measure MODE FILE CHOSEN N the median of N runs of measure_text alone
//   counter_bench time-compare FIRST SECOND N     the median of N runs of compare_texts alone
//   counter_bench info FILE                       code units, code points and CR LF pairs
//
// Every form prints its peak memory (the whole process's) on standard error.
#include "compare.h"
#include "measure.h"
#include "text_pass.h"

#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <QStringDecoder>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A whole file, mapped into memory with its pages mapped at once: reading it into a fresh
// buffer, or mapping it page by page on first touch, costs thousands of page faults.
class FileText {
public:
    explicit FileText(const char *path)
    {
        const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return;
        struct stat info {};
        if (::fstat(fd, &info) == 0 && info.st_size > 0) {
            void *data = ::mmap(nullptr, std::size_t(info.st_size), PROT_READ,
                                MAP_PRIVATE | MAP_POPULATE, fd, 0);
            if (data != MAP_FAILED) {
                m_data = static_cast<const char *>(data);
                m_size = info.st_size;
            }
        }
        m_ok = m_data != nullptr || info.st_size == 0;
        ::close(fd);
    }
    ~FileText()
    {
        if (m_data)
            ::munmap(const_cast<char *>(m_data), std::size_t(m_size));
    }
    FileText(const FileText &) = delete;
    FileText &operator=(const FileText &) = delete;

    bool ok() const { return m_ok; }
    // The file as UTF-16LE text, in place.
    QStringView utf16() const
    {
        return QStringView(reinterpret_cast<const char16_t *>(m_data), m_size / 2);
    }
    // The file as UTF-8 text, decoded (a bad byte becomes a replacement character).
    QString utf8() const
    {
        // UTF-8 never takes fewer bytes than UTF-16 takes units.
        QString text(m_size, Qt::Uninitialized);
        counter::detail::advise_large_buffer(text.data(), std::size_t(text.size()) * 2);
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QChar *end = decoder.appendToBuffer(text.data(), QByteArrayView(m_data, m_size));
        text.truncate(end - text.constData());
        return text;
    }

private:
    const char *m_data = nullptr;
    qint64 m_size = 0;
    bool m_ok = false;
};

// The process's peak resident memory, from /proc: getrusage would report the peak of the
// process that started us too, since Linux keeps it across exec.
void print_peak_memory()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmHWM:"))
            std::fprintf(stderr, "peak_kib %lld\n", line.mid(6).trimmed().split(' ').value(0).toLongLong());
    }
}

int usage()
{
    std::fprintf(stderr, "usage: counter_bench measure MODE FILE [CHOSEN] | compare FIRST SECOND |\n"
                         "       time-measure MODE FILE CHOSEN N | time-compare FIRST SECOND N |"
                         " info FILE\n");
    return 2;
}

bool parse_mode(const char *arg, counter::Mode &mode)
{
    bool ok = false;
    const int value = QByteArray(arg).toInt(&ok);
    if (!ok || value < 0 || value > 8)
        return false;
    mode = counter::Mode(value);
    return true;
}

template <class Run>
double median_seconds(int repetitions, Run run)
{
    std::vector<double> seconds;
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        seconds.push_back(double(timer.nsecsElapsed()) / 1e9);
    }
    std::sort(seconds.begin(), seconds.end());
    return seconds[seconds.size() / 2];
}

qint64 count_entries(QStringView first, QStringView second)
{
    qint64 entries = 0;
    counter::compare_texts(first, second, [&](const QString &entry) {
        // A difference entry, not the same-text entry.
        entries += entry.endsWith(u"が違います。");
    });
    return entries;
}

int run(int argc, char **argv)
{
    if (argc < 3)
        return usage();
    const QByteArray command = argv[1];
    counter::Mode mode{};

    if (command == "measure" && (argc == 4 || argc == 5) && parse_mode(argv[2], mode)) {
        const FileText file(argv[3]);
        if (!file.ok())
            return 1;
        const QString text = file.utf8();
        const QString chosen = argc == 5 ? QString::fromUtf8(argv[4]) : QString();
        std::printf("%lld\n", counter::measure_text(text, mode, chosen).result);
        return 0;
    }
    if (command == "compare" && argc == 4) {
        const FileText first(argv[2]);
        const FileText second(argv[3]);
        if (!first.ok() || !second.ok())
            return 1;
        std::printf("%lld\n", count_entries(first.utf16(), second.utf16()));
        return 0;
    }
    if (command == "time-measure" && argc == 6 && parse_mode(argv[2], mode)) {
        const FileText file(argv[3]);
        if (!file.ok())
            return 1;
        const QString text = file.utf8();
        const QString chosen = QString::fromUtf8(argv[4]);
        qint64 result = 0;
        const double seconds = median_seconds(std::max(1, atoi(argv[5])), [&] {
            result = counter::measure_text(text, mode, chosen).result;
        });
        std::printf("%.6f %lld\n", seconds, result);
        return 0;
    }
    if (command == "time-compare" && argc == 5) {
        const FileText first(argv[2]);
        const FileText second(argv[3]);
        if (!first.ok() || !second.ok())
            return 1;
        qint64 entries = count_entries(first.utf16(), second.utf16());
        const double seconds = median_seconds(std::max(1, atoi(argv[4])), [&] {
            entries = count_entries(first.utf16(), second.utf16());
        });
        std::printf("%.6f %lld\n", seconds, entries);
        return 0;
    }
    if (command == "info" && argc == 3) {
        const FileText file(argv[2]);
        if (!file.ok())
            return 1;
        const QString text = file.utf8();
        qint64 code_points = 0;
        for (qsizetype i = 0; i < text.size(); ++i)
            code_points += !text[i].isLowSurrogate() || i == 0 || !text[i - 1].isHighSurrogate();
        std::printf("%lld %lld %lld\n", qint64(text.size()), code_points,
                    counter::count_line_breaks(text));
        return 0;
    }
    return usage();
}

}  // namespace

int main(int argc, char **argv)
{
    const int status = run(argc, argv);
    print_peak_memory();
    return status;
}
