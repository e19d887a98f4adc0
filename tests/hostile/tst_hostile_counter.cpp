// Quellatto's windows taken away in the middle of a pass: a count or a comparison runs
// its event rounds, and inside one of them the window is closed or deleted, or a switch
// is asked for. A closed or deleted window's pass stops without touching the window
// again and nothing is left shown; a switch asked for during a pass is refused (the
// window takes no input while it counts), the pass ends as usual, and a switch after
// it goes through.
#include "form1.h"
#include "form2.h"
#include "paragraph_text.h"
#include "quellatto_window.h"
#include "switching.h"

#include <QAction>
#include <QLineEdit>
#include <QApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

QList<counter::QuellattoWindow *> shown_windows()
{
    QList<counter::QuellattoWindow *> shown;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *window = qobject_cast<counter::QuellattoWindow *>(widget);
        if (window && window->isVisible() && !window->is_closing())
            shown.append(window);
    }
    return shown;
}

void close_all()
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (qobject_cast<counter::QuellattoWindow *>(widget))
            widget->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A text long enough that its pass runs through several event rounds.
QString long_text()
{
    return u"ab c\u3000d\r\n"_s.repeated(50'000);
}

}  // namespace

class TstHostileCounter : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { close_all(); }
    void window_taken_away_during_pass_data();
    void window_taken_away_during_pass();
};

void TstHostileCounter::window_taken_away_during_pass_data()
{
    QTest::addColumn<QString>("window");     // "count" or "compare"
    QTest::addColumn<QString>("mode_item");  // the counter's mode, or empty
    QTest::addColumn<QString>("action");     // "close", "delete later", or a switching item
    QTest::addColumn<QString>("remains");    // the class of the window shown in the end, or empty

    QTest::newRow("count closed") << u"count"_s << u"mnuspace"_s << u"close"_s << QString();
    QTest::newRow("editing count closed") << u"count"_s << u"mnusdel"_s << u"close"_s << QString();
    QTest::newRow("count deleted") << u"count"_s << u"mnudel"_s << u"delete later"_s << QString();
    QTest::newRow("count switched to compare") << u"count"_s << u"mnuedel"_s << u"mnucomp"_s << u"Form2"_s;
    QTest::newRow("count switched to case") << u"count"_s << u"mnubite"_s << u"mnucase"_s << u"Form3"_s;
    QTest::newRow("comparison closed") << u"compare"_s << QString() << u"close"_s << QString();
    QTest::newRow("comparison deleted") << u"compare"_s << QString() << u"delete later"_s << QString();
    QTest::newRow("comparison switched to count") << u"compare"_s << QString() << u"mnucount"_s << u"Form1"_s;
    QTest::newRow("comparison switched to case") << u"compare"_s << QString() << u"mnucase"_s << u"Form3"_s;
}

void TstHostileCounter::window_taken_away_during_pass()
{
    QFETCH(QString, window);
    QFETCH(QString, mode_item);
    QFETCH(QString, action);
    QFETCH(QString, remains);

    QPointer<counter::QuellattoWindow> form;
    if (window == u"count") {
        form = new counter::Form1;
        counter::set_box_text(form->findChild<QPlainTextEdit *>(u"Text1"_s), long_text());
        form->findChild<QAction *>(mode_item)->trigger();
        form->findChild<QLineEdit *>(u"Text4"_s)->setText(u"c"_s);
    } else {
        form = new counter::Form2;
        const QString text = long_text();
        counter::set_box_text(form->findChild<QPlainTextEdit *>(u"Text1"_s), text);
        counter::set_box_text(form->findChild<QPlainTextEdit *>(u"Text2"_s), u"x"_s + text.mid(1));
    }
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));

    // The first event round of the pass takes the window away.
    bool during_pass = false;
    QTimer::singleShot(0, form, [&, form] {
        during_pass = form->pass_running();
        if (action == u"close")
            form->close();
        else if (action == u"delete later")
            form->deleteLater();
        else
            form->findChild<QAction *>(action)->trigger();
    });
    QTest::mouseClick(form->findChild<QPushButton *>(u"Command1"_s), Qt::LeftButton);
    QVERIFY2(during_pass, "the window was taken away before or after the pass, not during it");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    if (action != u"close" && action != u"delete later") {
        // The switch waited for no pass: the window is still there, its pass done.
        QVERIFY(form);
        QCOMPARE(shown_windows(), QList<counter::QuellattoWindow *>{form.data()});
        QVERIFY(!form->pass_running());
        form->findChild<QAction *>(action)->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QVERIFY(!form);
    const auto shown = shown_windows();
    if (remains.isEmpty()) {
        QCOMPARE(shown.size(), 0);
    } else {
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first()->objectName(), remains);
    }
}

QTEST_MAIN(TstHostileCounter)
#include "tst_hostile_counter.moc"
