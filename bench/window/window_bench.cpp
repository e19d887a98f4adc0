// window_bench: whole window actions on the real windows, offscreen, each set beside the
// operation it calls, run alone in the same process on the same data.
//
//   window_bench folder-click DIR PHRASE REPS      Vornilex's Command3 click over DIR's files,
//                                                  until the closing message, vs search_folder
//   window_bench page-click FILE FROM REPS OUT     the ▼ click from top line FROM - 1 (the view
//                                                  then starts at FROM) vs read_window; the
//                                                  view's text goes to OUT as UTF-8
//   window_bench measure-click TEXT CHOSEN REPS    Quellatto's 測定 click on the UTF-8 file TEXT
//                                                  in Text1 (mode スペース有り) vs measure_text
//   window_bench hit-list ENTRIES                  List1 of a shown search window with ENTRIES
//                                                  hit entries appended, committed and laid out:
//                                                  heap and resident bytes per entry
//
// Each verb prints one line "key=value ..." on standard output: medians of REPS runs after
// one warm-up (wall and cpu seconds of the window action and of the operation alone,
// alternating), the answers of both sides and "same=1" when they agree, and the process's
// peak resident memory. The platform is offscreen unless QT_QPA_PLATFORM says otherwise.
#include "app_setup.h"
#include "drive_map.h"
#include "hit_entry.h"
#include "hit_list_model.h"
#include "list_controls.h"
#include "measure.h"
#include "page_view.h"
#include "paragraph_text.h"
#include "search.h"
// Both programs name their window header form1.h: each is taken from its own folder.
#include "../../counter/ui/form1.h"
#include "../../search/ui/form1.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <malloc.h>
#include <memory>
#include <vector>

namespace {

double wall_now()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// Only this process's threads: the window and the operations run on the one thread.
double cpu_now()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

struct Cost {
    double wall = 0;
    double cpu = 0;
};

class Timer {
public:
    Timer() : m_wall(wall_now()), m_cpu(cpu_now()) {}
    Cost elapsed() const { return {wall_now() - m_wall, cpu_now() - m_cpu}; }

private:
    double m_wall;
    double m_cpu;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Medians of the window's runs and of the operation's, wall and cpu.
struct Runs {
    std::vector<double> window_wall, window_cpu, alone_wall, alone_cpu;
    void add(const Cost &window, const Cost &alone)
    {
        window_wall.push_back(window.wall);
        window_cpu.push_back(window.cpu);
        alone_wall.push_back(alone.wall);
        alone_cpu.push_back(alone.cpu);
    }
    void print() const
    {
        std::printf("window_s=%.6f window_cpu_s=%.6f alone_s=%.6f alone_cpu_s=%.6f",
                    median(window_wall), median(window_cpu), median(alone_wall), median(alone_cpu));
    }
};

// The process's peak resident memory (VmHWM), and its resident memory now (VmRSS), in KiB.
long status_kib(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith(field))
            return line.mid(qsizetype(std::strlen(field))).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// Bytes the allocator has handed out and not had back (small blocks and mapped ones).
qint64 heap_in_use()
{
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks) + qint64(info.hblkhd);
}

template <class T>
T *control(const QWidget *window, const char *name)
{
    T *found = window->findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

QByteArray absolute(const char *path)
{
    return QFile::encodeName(QFileInfo(QFile::decodeName(path)).absoluteFilePath());
}

// The search window on a drive C: that is `root`, with the lists on C:\ itself, and its
// messages answered at once (recorded, with the moment they were asked).
struct SearchWindow {
    explicit SearchWindow(const QByteArray &root)
        : drives(search::DriveMap::with_root(root))
    {
        // The start folder does not exist on this drive: the lists open the working
        // directory, which is the drive's root.
        QDir::setCurrent(QFile::decodeName(root));
        form = std::make_unique<search::Form1>(drives, QStringLiteral("C:\\app"));
        form->set_message_handler([this](QWidget *, const search::MessageRequest &request) {
            message_at = wall_now();
            message_cpu_at = cpu_now();
            message = request.text;
            return search::MessageAnswer::Ok;
        });
        form->start_up();
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            qWarning("the search window was not exposed");
        file1 = control<search::FileList>(form.get(), "File1");
        dir1 = control<search::DirList>(form.get(), "Dir1");
    }

    QStringList names() const
    {
        QStringList all;
        for (int i = 0; i < file1->count(); ++i)
            all << file1->name_at(i);
        return all;
    }

    search::DriveMap drives;
    std::unique_ptr<search::Form1> form;
    search::FileList *file1 = nullptr;
    search::DirList *dir1 = nullptr;
    QString message;
    double message_at = 0;
    double message_cpu_at = 0;
};

int folder_click(const char *dir, const QString &phrase, int reps)
{
    SearchWindow w(absolute(dir));
    control<QLineEdit>(w.form.get(), "Text1")->setText(phrase);
    auto *command3 = control<QPushButton>(w.form.get(), "Command3");
    const QString folder = w.dir1->path();
    const QStringList names = w.names();

    std::vector<std::pair<qsizetype, qint64>> hits;
    search::FolderOutcome outcome{};
    const auto alone = [&] {
        hits.clear();
        const Timer timer;
        outcome = search::search_folder(w.drives, folder, names, phrase,
                                        [&](qsizetype at, qint64 line) { hits.emplace_back(at, line); });
        return timer.elapsed();
    };
    const auto click = [&] {
        w.message.clear();
        const double wall = wall_now();
        const double cpu = cpu_now();
        QTest::mouseClick(command3, Qt::LeftButton);
        const Cost cost{w.message_at - wall, w.message_cpu_at - cpu};
        QCoreApplication::processEvents();   // the list shows its last entries
        return cost;
    };

    click();
    alone();
    Runs runs;
    for (int i = 0; i < reps; ++i) {
        const Cost window = click();
        runs.add(window, alone());
    }

    // The window's entries and message against the operation's.
    const search::HitListModel *list = w.form->hit_list();
    bool same = list->count() == qsizetype(hits.size());
    for (qsizetype i = 0; same && i < list->count(); ++i)
        same = list->text_at(i) == search::make_hit_entry(names.at(hits[size_t(i)].first), hits[size_t(i)].second);
    const QString expected = outcome == search::FolderOutcome::Finished       ? QStringLiteral("検索を終了しました")
                           : outcome == search::FolderOutcome::NothingFound ? QStringLiteral("見つかりません")
                                                                              : QString();
    same = same && w.message == expected;

    runs.print();
    std::printf(" files=%lld entries=%lld alone_entries=%lld same=%d peak_kib=%ld\n",
                static_cast<long long>(names.size()), static_cast<long long>(list->count()),
                static_cast<long long>(hits.size()), int(same), status_kib("VmHWM:"));
    return same ? 0 : 1;
}

int page_click(const char *path, double from, int reps, const char *out)
{
    const QFileInfo file(QFile::decodeName(absolute(path)));
    SearchWindow w(QFile::encodeName(file.absolutePath()));
    const int row = int(w.names().indexOf(file.fileName()));
    if (row < 0) {
        std::fprintf(stderr, "%s is not in the file list\n", path);
        return 2;
    }
    w.file1->set_selected(row);   // the first page, and the file the ▼ click reads
    auto *label2 = control<QLabel>(w.form.get(), "Label2");
    auto *command6 = control<QPushButton>(w.form.get(), "Command6");
    const QString top = search::format_number(from - 1);
    const QString path_in_window = w.dir1->path() + u'\\' + file.fileName();

    search::PageWindow window;
    const auto alone = [&] {
        const Timer timer;
        window = search::read_window(w.drives, path_in_window, from, from + 10, from + 10);
        return timer.elapsed();
    };
    const auto click = [&] {
        label2->setText(top);
        const Timer timer;
        QTest::mouseClick(command6, Qt::LeftButton);
        return timer.elapsed();
    };

    click();
    alone();
    Runs runs;
    for (int i = 0; i < reps; ++i) {
        const Cost shown = click();
        runs.add(shown, alone());
    }

    // The box holds paragraphs: its lines read back with \n where the file has CR LF.
    QString shown = control<QPlainTextEdit>(w.form.get(), "Text2")->toPlainText();
    QString expected = window.text;
    expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const bool same = shown == expected && label2->text() == search::format_number(from);
    QFile text(QString::fromLocal8Bit(out));
    if (!text.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 2;
    text.write(window.text.toUtf8());

    runs.print();
    std::printf(" lines=%lld label2=%s same=%d peak_kib=%ld\n", static_cast<long long>(window.count),
                qPrintable(label2->text()), int(same), status_kib("VmHWM:"));
    return same ? 0 : 1;
}

int measure_click(const char *path, const QString &chosen, int reps)
{
    QFile file(QFile::decodeName(path));
    if (!file.open(QIODevice::ReadOnly))
        return 2;
    const QString text = QString::fromUtf8(file.readAll());
    file.close();

    counter::prepare_application(*qApp);
    auto *window = new counter::Form1;
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        qWarning("the counter window was not exposed");
    const Timer typing;
    counter::set_box_text(control<QPlainTextEdit>(window, "Text1"), text);
    QCoreApplication::processEvents();
    const double set_seconds = typing.elapsed().wall;
    control<QLineEdit>(window, "Text4")->setText(chosen);
    auto *command1 = control<QPushButton>(window, "Command1");
    auto *text2 = control<QLineEdit>(window, "Text2");

    qint64 alone_result = -1;
    const auto alone = [&] {
        const Timer timer;
        alone_result = counter::measure_text(text, counter::Mode::Space, chosen).result;
        return timer.elapsed();
    };
    const auto click = [&] {
        text2->clear();
        const Timer timer;
        QTest::mouseClick(command1, Qt::LeftButton);
        return timer.elapsed();
    };

    click();
    alone();
    Runs runs;
    for (int i = 0; i < reps; ++i) {
        const Cost counted = click();
        runs.add(counted, alone());
    }
    const QString shown = text2->text();
    const bool same = shown == QString::number(alone_result);

    runs.print();
    std::printf(" set_text_s=%.3f result=%s alone_result=%lld same=%d peak_kib=%ld\n", set_seconds,
                qPrintable(shown), static_cast<long long>(alone_result), int(same), status_kib("VmHWM:"));
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return same ? 0 : 1;
}

int hit_list(qint64 entries)
{
    QTemporaryDir root;
    if (!root.isValid())
        return 2;
    SearchWindow w(QFile::encodeName(root.path()));
    search::HitListModel *list = w.form->hit_list();
    auto *view = control<search::HitListView>(w.form.get(), "List1");
    QCoreApplication::processEvents();

    // As a folder search of 200 files hands them out: runs of entries of one file, the
    // name one shared string per file.
    constexpr int files = 200;
    malloc_trim(0);
    const qint64 heap_before = heap_in_use();
    const long rss_before = status_kib("VmRSS:");
    const Timer timer;
    const double start = wall_now();
    for (int f = 0; f < files; ++f) {
        const QString name = QStringLiteral("doc%1.txt").arg(f, 5, 10, QLatin1Char('0'));
        const qint64 first = entries * f / files;
        const qint64 last = entries * (f + 1) / files;
        for (qint64 e = first; e < last; ++e)
            list->append(name, 1000 + 7 * (e - first));
    }
    list->commit();
    // The view lays out its rows in batches, one batch a timer round: let them all run
    // (the scroll range stops growing for a good while), then show the last entries.
    int maximum = -1;
    double steady_since = wall_now();
    const double deadline = steady_since + 120;
    while (wall_now() - steady_since < 0.3 && wall_now() < deadline) {
        QTest::qWait(1);
        const int now = view->verticalScrollBar()->maximum();
        if (now != maximum)
            steady_since = wall_now();
        maximum = now;
    }
    view->scrollToBottom();
    QCoreApplication::processEvents();
    // Up to the last batch, not the quiet wait after it.
    const Cost cost{steady_since - start, timer.elapsed().cpu};
    const qint64 heap_after = heap_in_use();
    const long rss_after = status_kib("VmRSS:");

    const QString last_entry = search::make_hit_entry(QStringLiteral("doc00199.txt"),
                                                      1000 + 7 * (entries - 1 - entries * (files - 1) / files));
    const bool same = list->rowCount() == entries && list->count() == entries
                   && view->model()->rowCount() == entries && list->text_at(entries - 1) == last_entry;
    std::printf("window_s=%.6f window_cpu_s=%.6f entries=%lld heap_bytes_per_entry=%.1f "
                "rss_bytes_per_entry=%.1f scroll_max=%d same=%d peak_kib=%ld\n",
                cost.wall, cost.cpu, static_cast<long long>(entries),
                double(heap_after - heap_before) / double(entries),
                double(rss_after - rss_before) * 1024.0 / double(entries), maximum, int(same),
                status_kib("VmHWM:"));
    return same ? 0 : 1;
}

int usage()
{
    std::fputs("usage: window_bench folder-click DIR PHRASE REPS\n"
               "       window_bench page-click FILE FROM REPS OUT\n"
               "       window_bench measure-click TEXT CHOSEN REPS\n"
               "       window_bench hit-list ENTRIES\n",
               stderr);
    return 2;
}

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QByteArray verb = argc > 1 ? argv[1] : "";
    if (verb == "folder-click" && argc == 5)
        return folder_click(argv[2], QString::fromUtf8(argv[3]), std::max(1, atoi(argv[4])));
    if (verb == "page-click" && argc == 6)
        return page_click(argv[2], search::leading_number(QString::fromUtf8(argv[3])),
                          std::max(1, atoi(argv[4])), argv[5]);
    if (verb == "measure-click" && argc == 5)
        return measure_click(argv[2], QString::fromUtf8(argv[3]), std::max(1, atoi(argv[4])));
    if (verb == "hit-list" && argc == 3)
        return hit_list(std::max(1LL, atoll(argv[2])));
    return usage();
}
