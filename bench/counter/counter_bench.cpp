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

#include <QElapsedTimer>
#include <QFile>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <sys/resource.h>

namespace {

// A file mapped into memory, read in place.
class MappedFile {
public:
    explicit MappedFile(const char *path) : m_file(QString::fromLocal8Bit(path))
    {
        if (m_file.open(QIODevice::ReadOnly) && m_file.size() > 0)
            m_data = m_file.map(0, m_file.size());
    }
    bool ok() const { return m_data != nullptr || (m_file.isOpen() && m_file.size() == 0); }
    const char *data() const { return reinterpret_cast<const char *>(m_data); }
    qint64 size() const { return m_data ? m_file.size() : 0; }
    // The file as UTF-16LE text, without a copy.
    QStringView utf16() const
    {
        return QStringView(reinterpret_cast<const char16_t *>(m_data), size() / 2);
    }

private:
    QFile m_file;
    uchar *m_data = nullptr;
};

void print_peak_memory()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::fprintf(stderr, "peak_kib %ld\n", usage.ru_maxrss);
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
        const MappedFile file(argv[3]);
        if (!file.ok())
            return 1;
        const QString text = QString::fromUtf8(file.data(), file.size());
        const QString chosen = argc == 5 ? QString::fromUtf8(argv[4]) : QString();
        std::printf("%lld\n", counter::measure_text(text, mode, chosen).result);
        return 0;
    }
    if (command == "compare" && argc == 4) {
        const MappedFile first(argv[2]);
        const MappedFile second(argv[3]);
        if (!first.ok() || !second.ok())
            return 1;
        std::printf("%lld\n", count_entries(first.utf16(), second.utf16()));
        return 0;
    }
    if (command == "time-measure" && argc == 6 && parse_mode(argv[2], mode)) {
        const MappedFile file(argv[3]);
        if (!file.ok())
            return 1;
        const QString text = QString::fromUtf8(file.data(), file.size());
        const QString chosen = QString::fromUtf8(argv[4]);
        qint64 result = 0;
        const double seconds = median_seconds(std::max(1, atoi(argv[5])), [&] {
            result = counter::measure_text(text, mode, chosen).result;
        });
        std::printf("%.6f %lld\n", seconds, result);
        return 0;
    }
    if (command == "time-compare" && argc == 5) {
        const MappedFile first(argv[2]);
        const MappedFile second(argv[3]);
        if (!first.ok() || !second.ok())
            return 1;
        // Touch both files once, so the first run does not pay for mapping them.
        qint64 entries = count_entries(first.utf16(), second.utf16());
        const double seconds = median_seconds(std::max(1, atoi(argv[4])), [&] {
            entries = count_entries(first.utf16(), second.utf16());
        });
        std::printf("%.6f %lld\n", seconds, entries);
        return 0;
    }
    if (command == "info" && argc == 3) {
        const MappedFile file(argv[2]);
        if (!file.ok())
            return 1;
        const QString text = QString::fromUtf8(file.data(), file.size());
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
