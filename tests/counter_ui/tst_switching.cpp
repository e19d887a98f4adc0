// Switching among the three windows, and the end of the program.
//
// The program ends when its event loop ends, which only happens inside exec(). So the
// tests of the end run this executable again as a child in "--scenario NAME" mode: it
// starts the program as main() does, acts, and runs exec(); the parent checks that the
// child ends by itself, cleanly, within a few seconds.
#include "app_setup.h"
#include "entry_list_model.h"
#include "event_pump.h"
#include "form1.h"
#include "form2.h"
#include "form3.h"
#include "window_driver.h"

#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace driver;
using counter::QuellattoWindow;
using counter::WindowKind;

Q_DECLARE_METATYPE(WindowKind)

namespace {

const char *switch_item(WindowKind target)
{
    switch (target) {
    case WindowKind::Counter:
        return "mnucount";
    case WindowKind::Comparison:
        return "mnucomp";
    case WindowKind::CaseConversion:
        return "mnucase";
    }
    return "";
}

bool is_kind(const QuellattoWindow *window, WindowKind kind)
{
    switch (kind) {
    case WindowKind::Counter:
        return qobject_cast<const counter::Form1 *>(window);
    case WindowKind::Comparison:
        return qobject_cast<const counter::Form2 *>(window);
    case WindowKind::CaseConversion:
        return qobject_cast<const counter::Form3 *>(window);
    }
    return false;
}

// Leaves traces of use in a window: text typed, a mode chosen, a list filled, a caption
// turned round.
void use(QuellattoWindow *window)
{
    set_box(window, "Text1", u"Abc"_s);
    if (auto *form1 = qobject_cast<counter::Form1 *>(window)) {
        item(form1, "mnubite")->trigger();
        control<QLineEdit>(form1, "Text4")->setText(u"b"_s);
    }
    if (qobject_cast<counter::Form2 *>(window))
        set_box(window, "Text2", u"Abd"_s);
    click(window, "Command1");
}

// The designed state of a freshly loaded window.
void verify_fresh(QuellattoWindow *window)
{
    QCOMPARE(box(window, "Text1"), QString());
    if (auto *form1 = qobject_cast<counter::Form1 *>(window)) {
        QCOMPARE(control<QLineEdit>(form1, "Text2")->text(), QString());
        QCOMPARE(control<QLineEdit>(form1, "Text4")->text(), QString());
        QCOMPARE(control<QLabel>(form1, "Label1")->text(), u"個の文字列です"_s);
        QCOMPARE(form1->flagt(), counter::Mode::Space);
        QVERIFY(item(form1, "mnuspace")->isChecked());
        QVERIFY(!item(form1, "mnubite")->isChecked());
    } else if (auto *form2 = qobject_cast<counter::Form2 *>(window)) {
        QCOMPARE(box(form2, "Text2"), QString());
        QCOMPARE(form2->entries()->count(), 0);
    } else if (auto *form3 = qobject_cast<counter::Form3 *>(window)) {
        QCOMPARE(box(form3, "Text2"), QString());
        QCOMPARE(control<QPushButton>(form3, "Command1")->text(), u"小→大"_s);
        QVERIFY(form3->flg());
    }
}

// --- the child's scenarios ---

QuellattoWindow *only_window()
{
    const QList<QuellattoWindow *> shown = shown_windows();
    return shown.size() == 1 ? shown.first() : nullptr;
}

// Closes the window from the first event round of the pass about to start, and waits
// so that the pass runs another round after the close.
void close_in_pass(QuellattoWindow *window)
{
    QTimer::singleShot(0, window, [window] {
        window->close();
        QThread::msleep(counter::EventPump::interval_ms + 2);
    });
}

// Starts the given action once the event loop runs; the action ends with the close.
void act(const QString &scenario)
{
    QuellattoWindow *window = only_window();
    if (scenario == u"close") {
        window->close();
    } else if (scenario == u"switch-then-close") {
        item(window, "mnucomp")->trigger();
        item(only_window(), "mnucase")->trigger();
        only_window()->close();
    } else if (scenario == u"close-during-count") {
        set_box(window, "Text1", long_text(10'000));
        close_in_pass(window);
        click(window, "Command1");
    } else if (scenario == u"close-during-comparison") {
        item(window, "mnucomp")->trigger();
        window = only_window();
        set_box(window, "Text1", long_text(10'000, u'a'));
        set_box(window, "Text2", long_text(10'000, u'b'));
        close_in_pass(window);
        click(window, "Command1");
    }
}

int run_scenario(int argc, char *argv[])
{
    QApplication app(argc, argv);
    counter::prepare_application(app);
    counter::start_program();
    const QString scenario = QString::fromLocal8Bit(argv[2]);
    QTimer::singleShot(0, &app, [scenario] { act(scenario); });
    // Should the program fail to end, the parent sees the child run past its limit.
    const int status = QApplication::exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const bool windows_left = !QApplication::topLevelWidgets().isEmpty()
        && std::any_of(QApplication::topLevelWidgets().cbegin(),
                       QApplication::topLevelWidgets().cend(), [](QWidget *widget) {
                           return qobject_cast<QuellattoWindow *>(widget) != nullptr;
                       });
    return status == 0 && !windows_left ? 0 : 3;
}

}  // namespace

class TstSwitching : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { counter::install_font_substitutions(); }
    void cleanup() { close_all(); }

    void start_shows_fresh_counter();
    void switch_replaces_window_data();
    void switch_replaces_window();
    void reopened_counter_counts_in_checked_mode();
    void program_ends_with_last_window_data();
    void program_ends_with_last_window();
};

void TstSwitching::start_shows_fresh_counter()
{
    QuellattoWindow *window = counter::start_program();
    QCOMPARE(shown_windows(), QList<QuellattoWindow *>{window});
    QVERIFY(is_kind(window, WindowKind::Counter));
    QCOMPARE(window->geometry().topLeft(), QPoint(4, 109));   // (60, 1635) twips
    verify_fresh(window);
}

void TstSwitching::switch_replaces_window_data()
{
    QTest::addColumn<WindowKind>("from");
    QTest::addColumn<WindowKind>("to");
    QTest::newRow("counter to comparison") << WindowKind::Counter << WindowKind::Comparison;
    QTest::newRow("counter to case") << WindowKind::Counter << WindowKind::CaseConversion;
    QTest::newRow("comparison to counter") << WindowKind::Comparison << WindowKind::Counter;
    QTest::newRow("comparison to case") << WindowKind::Comparison << WindowKind::CaseConversion;
    QTest::newRow("case to counter") << WindowKind::CaseConversion << WindowKind::Counter;
    QTest::newRow("case to comparison") << WindowKind::CaseConversion << WindowKind::Comparison;
}

void TstSwitching::switch_replaces_window()
{
    QFETCH(WindowKind, from);
    QFETCH(WindowKind, to);

    // Each step goes to the target and back, so both windows are seen opened again.
    QPointer<QuellattoWindow> current = counter::create_window(from);
    current->setGeometry(QRect(QPoint(37, 41), current->size()));
    current->show();
    QVERIFY(QTest::qWaitForWindowExposed(current));
    for (const WindowKind target : {to, from, to}) {
        use(current);
        const QPoint place = current->geometry().topLeft();
        QPointer<QuellattoWindow> old = current;
        item(old, switch_item(target))->trigger();

        const QList<QuellattoWindow *> shown = shown_windows();
        QCOMPARE(shown.size(), 1);
        current = shown.first();
        QVERIFY(current != old);
        QVERIFY(is_kind(current, target));
        QCOMPARE(current->geometry().topLeft(), place);
        verify_fresh(current);
        if (QTest::currentTestFailed())
            return;
        QTRY_VERIFY(old.isNull());
    }
}

void TstSwitching::reopened_counter_counts_in_checked_mode()
{
    QuellattoWindow *counter1 = counter::start_program();
    item(counter1, "mnubite")->trigger();
    item(counter1, "mnucase")->trigger();
    item(only_window(), "mnucount")->trigger();

    QuellattoWindow *counter2 = only_window();
    QVERIFY(item(counter2, "mnuspace")->isChecked());
    set_box(counter2, "Text1", u"ab"_s);
    click(counter2, "Command1");
    QCOMPARE(control<QLineEdit>(counter2, "Text2")->text(), u"2"_s);
}

void TstSwitching::program_ends_with_last_window_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::newRow("closing the counter window") << u"close"_s;
    QTest::newRow("closing the window shown after switches") << u"switch-then-close"_s;
    QTest::newRow("closing the counter window during a count") << u"close-during-count"_s;
    QTest::newRow("closing the comparison window during a comparison")
        << u"close-during-comparison"_s;
}

void TstSwitching::program_ends_with_last_window()
{
    QFETCH(QString, scenario);
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {u"--scenario"_s, scenario});
    QVERIFY(child.waitForStarted());
    const bool ended = child.waitForFinished(20'000);
    if (!ended) {
        child.kill();
        child.waitForFinished();
    }
    QVERIFY2(ended, "the program did not end when its last window closed");
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);
}

int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--scenario") == 0)
        return run_scenario(argc, argv);
    QApplication app(argc, argv);
    TstSwitching test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_switching.moc"
