// search_bench: times Vornilex's searches and page window on real files.
//
//   search_bench folder DIR PHRASE [--decode-every-line]   every listed file of DIR
//   search_bench file PATH PHRASE [--decode-every-line]    one file
//   search_bench window PATH FROM                          read_window(FROM, FROM + 10, FROM + 10)
//
// Hits go to stdout as "name:line", one a line, so that answers can be compared; the
// window's text goes to stdout as it is. A summary (seconds, counts, peak memory) goes
// to stderr. Host paths are given as they are; the drive map's C: is their folder.
#include "folder_listing.h"
#include "page_view.h"
#include "search.h"

#include <QByteArray>
#include <QString>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/resource.h>

using namespace search;

namespace {

long peak_rss_kib()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int usage()
{
    std::fprintf(stderr,
                 "usage: search_bench folder DIR PHRASE [--decode-every-line]\n"
                 "       search_bench file PATH PHRASE [--decode-every-line]\n"
                 "       search_bench window PATH FROM\n");
    return 2;
}

// The host folder of `path` and its last name.
std::pair<QByteArray, QByteArray> split_host_path(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return {".", path};
    return {slash == 0 ? QByteArray("/") : path.left(slash), path.mid(slash + 1)};
}

QByteArray absolute(const char *path)
{
    char *real = realpath(path, nullptr);
    if (!real)
        return QByteArray(path);
    QByteArray result(real);
    std::free(real);
    return result;
}

void print_hit(const QString &name, qint64 line)
{
    const QByteArray raw = name_to_host(name);
    std::fwrite(raw.constData(), 1, size_t(raw.size()), stdout);
    std::fprintf(stdout, ":%lld\n", static_cast<long long>(line));
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc < 4)
        return usage();
    const std::string mode = argv[1];
    const bool decode_every_line = argc > 4 && std::strcmp(argv[4], "--decode-every-line") == 0;
    const QString phrase = QString::fromUtf8(argv[3]);
    const auto start = std::chrono::steady_clock::now();
    qint64 hits = 0;
    qint64 files = 0;
    qint64 lines = 0;

    if (mode == "folder") {
        const DriveMap drives = DriveMap::with_root(absolute(argv[2]));
        const QString folder = QStringLiteral("C:\\");
        const QStringList names = list_files(drives, folder, QStringLiteral("*.txt;*.htm;*.doc;*.rtf"));
        files = names.size();
        if (!decode_every_line) {
            const FolderOutcome outcome = search_folder(drives, folder, names, phrase,
                                                        [&](qsizetype at, qint64 line) {
                                                            ++hits;
                                                            print_hit(names.at(at), line);
                                                        });
            std::fprintf(stderr, "outcome: %s\n",
                         outcome == FolderOutcome::Finished       ? "finished"
                         : outcome == FolderOutcome::NothingFound ? "nothing found"
                                                                  : "no phrase");
        } else {
            for (const QString &name : names) {
                std::optional<TextFile> file = TextFile::open(drives, folder + name);
                if (!file)
                    continue;
                const FileSearchResult r = search_text_file(*file, phrase, [&](qint64 line) {
                    ++hits;
                    print_hit(name, line);
                }, {LineTest::DecodeEveryLine, 0});
                lines += r.lines;
            }
        }
    } else if (mode == "file") {
        const auto [dir, name] = split_host_path(absolute(argv[2]));
        const DriveMap drives = DriveMap::with_root(dir);
        const QString shown = name_from_host(name);
        std::optional<TextFile> file = TextFile::open(drives, QStringLiteral("C:\\") + shown);
        if (!file) {
            std::fprintf(stderr, "cannot open %s\n", argv[2]);
            return 1;
        }
        files = 1;
        const FileSearchResult r = search_text_file(*file, phrase, [&](qint64 line) {
            ++hits;
            print_hit(shown, line);
        }, {decode_every_line ? LineTest::DecodeEveryLine : LineTest::Shortcut, 0});
        lines = r.lines;
    } else if (mode == "window") {
        const auto [dir, name] = split_host_path(absolute(argv[2]));
        const DriveMap drives = DriveMap::with_root(dir);
        const double from = leading_number(QString::fromUtf8(argv[3]));
        const PageWindow w = read_window(drives, QStringLiteral("C:\\") + name_from_host(name),
                                         from, from + 10, from + 10);
        const QByteArray text = w.text.toUtf8();
        std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
        lines = w.count;
        files = 1;
    } else {
        return usage();
    }

    std::fflush(stdout);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stderr, "files: %lld  hits: %lld  lines: %lld  seconds: %.3f  peak_rss_kib: %ld\n",
                 static_cast<long long>(files), static_cast<long long>(hits),
                 static_cast<long long>(lines), seconds, peak_rss_kib());
    return 0;
}
