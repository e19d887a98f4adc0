// Shows each of the four windows in a state worth a picture, the way a user gets there
// (typing, clicking, choosing a hit), and saves what it draws.
//
//   grab_windows OUT_DIR SAMPLE_ROOT [SUFFIX]
//
// SAMPLE_ROOT becomes drive C: of Vornilex; its desktop folder WINDOWS/ﾃﾞｽｸﾄｯﾌﾟ holds the
// Shift_JIS files that the folder search runs over. The pictures are OUT_DIR/<name>SUFFIX.png.
#include "app_setup.h"
#include "drive_map.h"
#include "fonts.h"
#include "form1.h"
#include "hit_list_model.h"
#include "paragraph_text.h"
#include "quellatto_window.h"
#include "switching.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

QString out_dir;
QString suffix;
bool failed = false;

template <class T>
T *control(const QWidget *window, const char *name)
{
    T *found = window->findChild<T *>(QLatin1StringView(name));
    if (!found) {
        std::fprintf(stderr, "no control %s in %s\n", name, qPrintable(window->objectName()));
        std::exit(1);
    }
    return found;
}

void settle(QWidget *window)
{
    if (!QTest::qWaitForWindowExposed(window))
        std::fprintf(stderr, "window %s not exposed\n", qPrintable(window->objectName()));
    QTest::qWait(50);
}

void save(QWidget *window, const QString &name)
{
    settle(window);
    const QString path = QDir(out_dir).filePath(name + suffix + u".png"_s);
    const QPixmap picture = window->grab();
    if (!picture.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        failed = true;
        return;
    }
    std::printf("%s  %dx%d pixels, device pixel ratio %g\n", qPrintable(path),
                picture.width(), picture.height(), picture.devicePixelRatio());
}

void click(QWidget *window, const char *name)
{
    QTest::mouseClick(control<QWidget>(window, name), Qt::LeftButton);
}

// Vornilex after a folder search for `phrase`, with hit entry `row` clicked: the view
// box shows the ten lines from the hit on, the phrase selected.
void vornilex(const QString &sample_root, const QString &phrase, int row)
{
    QDir::setCurrent(sample_root);
    search::Form1 form(search::DriveMap::with_root(QFile::encodeName(sample_root)),
                       u"C:\\Tools"_s);
    // The search ends with a notice; the picture is of the window after it was closed.
    form.set_message_handler([](QWidget *, const search::MessageRequest &) {
        return search::MessageAnswer::Ok;
    });
    form.start_up();
    form.show();
    settle(&form);

    // Japanese is typed through an input method, which commits the composed text.
    auto *text1 = control<QLineEdit>(&form, "Text1");
    text1->setFocus();
    QInputMethodEvent commit;
    commit.setCommitString(phrase);
    QCoreApplication::sendEvent(text1, &commit);
    click(&form, "Command3");
    QCoreApplication::processEvents();
    auto *list = control<QAbstractItemView>(&form, "List1");
    if (list->model()->rowCount() <= row) {
        std::fprintf(stderr, "the folder search found %d hits, too few\n", list->model()->rowCount());
        std::exit(1);
    }
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(row, 0)).center());
    save(&form, u"vornilex"_s);
}

void type_box(QWidget *window, const char *name, const QString &text)
{
    counter::set_box_text(control<QPlainTextEdit>(window, name), text);
}

void quellatto()
{
    // The counter: スペース無し on a text with a full-width blank and a line break.
    counter::QuellattoWindow *form1 = counter::create_window(counter::WindowKind::Counter);
    form1->show();
    settle(form1);
    type_box(form1, "Text1", u"吾輩は猫である。　名前はまだ無い。\r\nどこで生れたかとんと見当がつかぬ。"_s);
    control<QAction>(form1, "mnunospace")->trigger();
    click(form1, "Command1");
    save(form1, u"quellatto-counter"_s);
    form1->close();

    // The comparison: two lines that differ in two places.
    counter::QuellattoWindow *form2 = counter::create_window(counter::WindowKind::Comparison);
    form2->show();
    settle(form2);
    type_box(form2, "Text1", u"今日は晴れ、明日は雨。"_s);
    type_box(form2, "Text2", u"今日は曇り、明日も雨。"_s);
    click(form2, "Command1");
    save(form2, u"quellatto-compare"_s);
    form2->close();

    // The case conversion, after its first click (to upper case).
    counter::QuellattoWindow *form3 = counter::create_window(counter::WindowKind::CaseConversion);
    form3->show();
    settle(form3);
    type_box(form3, "Text1", u"Hello, World! 全角ＡＢＣ と kana かな 123"_s);
    click(form3, "Command1");
    save(form3, u"quellatto-case"_s);
    form3->close();
}

}  // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: grab_windows OUT_DIR SAMPLE_ROOT [SUFFIX]\n");
        return 2;
    }
    out_dir = QDir(args[1]).absolutePath();
    suffix = args.value(3);

    // What both programs set up before their first window.
    counter::prepare_application(app);
    search::install_font_substitutions();

    vornilex(QDir(args[2]).absolutePath(), u"猫"_s, 1);
    quellatto();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return failed ? 1 : 0;
}
