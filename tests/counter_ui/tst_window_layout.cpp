// The three windows as designed: controls, places, faces, colours, focus order, menus,
// frame, and what the accessibility bus sees of each control.
#include "app_setup.h"
#include "form1.h"
#include "form2.h"
#include "form3.h"
#include "window_driver.h"
#include "window_look.h"

#include <QAccessible>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace driver;
using counter::QuellattoWindow;
using counter::WindowKind;

Q_DECLARE_METATYPE(WindowKind)

namespace {

// One control of a design: name, kind, place in pixels, font (points, 0: the window's).
struct Control {
    const char *name;
    const char *kind;
    QRect pixels;
    qreal points;
};

QList<Control> design(WindowKind kind)
{
    using counter::twips_rect;
    switch (kind) {
    case WindowKind::Counter:
        return {{"Text1", "QPlainTextEdit", twips_rect(240, 120, 4815, 855), 0},
                {"Command1", "QPushButton", twips_rect(3480, 1080, 735, 495), 9},
                {"Text2", "QLineEdit", twips_rect(240, 1050, 1095, 330), 11.25},
                {"Label1", "QLabel", twips_rect(1440, 1080, 2655, 375), 13.5},
                {"Command2", "QPushButton", twips_rect(4320, 1080, 735, 495), 9},
                {"Text4", "QLineEdit", twips_rect(1440, 1440, 1815, 330), 11.25},
                {"Label3", "QLabel", twips_rect(240, 1500, 1095, 375), 13.5}};
    case WindowKind::Comparison:
        return {{"Text1", "QPlainTextEdit", twips_rect(600, 240, 5415, 855), 0},
                {"Command1", "QPushButton", twips_rect(480, 2160, 735, 495), 9},
                {"Text2", "QPlainTextEdit", twips_rect(600, 1200, 5415, 855), 0},
                {"List1", "QListView", twips_rect(1320, 2160, 4695, 1140), 0},
                {"Command2", "QPushButton", twips_rect(480, 2760, 735, 495), 9}};
    case WindowKind::CaseConversion:
        return {{"Text1", "QPlainTextEdit", twips_rect(240, 120, 6135, 735), 11.25},
                {"Command2", "QPushButton", twips_rect(3360, 1800, 735, 495), 9},
                {"Command1", "QPushButton", twips_rect(2160, 1800, 855, 495), 9},
                {"Text2", "QPlainTextEdit", twips_rect(240, 960, 6135, 735), 11.25}};
    }
    return {};
}

QString accessible(QWidget *widget, QAccessible::Text text)
{
    return QAccessible::queryAccessibleInterface(widget)->text(text);
}

}  // namespace

class TstWindowLayout : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { counter::install_font_substitutions(); }
    void cleanup() { close_all(); }

    void windows_data();
    void controls_as_designed();
    void controls_as_designed_data() { windows_data(); }
    void frame_and_background();
    void frame_and_background_data() { windows_data(); }
    void focus_order();
    void focus_order_data() { windows_data(); }
    void accessible_names_and_descriptions();
    void accessible_names_and_descriptions_data() { windows_data(); }
    void counter_menus();
    void switch_menus_data();
    void switch_menus();
    void designed_faces_are_substituted();
};

void TstWindowLayout::windows_data()
{
    QTest::addColumn<WindowKind>("kind");
    QTest::newRow("counter") << WindowKind::Counter;
    QTest::newRow("comparison") << WindowKind::Comparison;
    QTest::newRow("case conversion") << WindowKind::CaseConversion;
}

void TstWindowLayout::controls_as_designed()
{
    QFETCH(WindowKind, kind);
    QuellattoWindow *window = counter::create_window(kind);
    window->show();
    for (const Control &c : design(kind)) {
        QWidget *widget = control<QWidget>(window, c.name);
        QVERIFY2(widget->inherits(c.kind), c.name);
        QCOMPARE(widget->geometry(), c.pixels);
        QVERIFY2(widget->isVisible(), c.name);
        if (c.points > 0) {
            QCOMPARE(widget->font().pointSizeF(), c.points);
            QVERIFY2(widget->font().bold(), c.name);
        }
    }
    // The one-line boxes of the counter read right to left; its labels let the hatch show.
    if (kind == WindowKind::Counter) {
        for (const char *name : {"Text2", "Text4"})
            QVERIFY(control<QLineEdit>(window, name)->alignment() & Qt::AlignRight);
        for (const char *name : {"Label1", "Label3"})
            QVERIFY(!control<QLabel>(window, name)->autoFillBackground());
    }
}

void TstWindowLayout::frame_and_background()
{
    QFETCH(WindowKind, kind);
    struct Look {
        QString caption;
        QSize client;
        QColor background;
        QColor hatch;
        Qt::BrushStyle style;
    };
    const Look look = kind == WindowKind::Counter
        ? Look{u"Quellatto"_s, {348, 121}, {255, 255, 192}, {0, 192, 192}, Qt::DiagCrossPattern}
        : kind == WindowKind::Comparison
        ? Look{u"比較"_s, {446, 224}, {255, 255, 192}, {0, 0, 255}, Qt::CrossPattern}
        : Look{u"変換"_s, {438, 162}, {224, 224, 224}, {0, 128, 0}, Qt::VerPattern};

    QuellattoWindow *window = counter::create_window(kind);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(window->windowTitle(), look.caption);
    QCOMPARE(window->centralWidget()->size(), look.client);
    QCOMPARE(window->centralWidget()->palette().color(QPalette::Window), look.background);
    QCOMPARE(window->minimumSize(), window->maximumSize());
    QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(!window->windowIcon().isNull());
    // The icon's images are read when first asked for: every size is there, and drawn.
    QVERIFY(window->windowIcon().availableSizes().contains(QSize(256, 256)));
    QCOMPARE(window->windowIcon().pixmap(QSize(32, 32)).size(), QSize(32, 32));

    auto *shape = control<counter::HatchShape>(window, "Shape1");
    QCOMPARE(shape->brush().style(), look.style);
    QCOMPARE(shape->brush().color(), look.hatch);
    QCOMPARE(shape->pos(), QPoint(0, 0));
    // Under every other control.
    QCOMPARE(window->centralWidget()->children().first(), shape);

    // The hatch is drawn: both the background and the line colour are on screen.
    const QImage image = window->centralWidget()->grab().toImage();
    bool background = false, hatch = false;
    for (int x = 0; x < 16; ++x) {
        const QColor pixel = image.pixelColor(x, 2);
        background |= pixel == look.background;
        hatch |= pixel == look.hatch;
    }
    QVERIFY(background);
    QVERIFY(hatch);

    // Button faces: 測定 / 比較 / the conversion button peach, クリア lavender.
    QCOMPARE(control<QPushButton>(window, "Command1")->palette().color(QPalette::Button),
             QColor(255, 224, 192));
    QCOMPARE(control<QPushButton>(window, "Command2")->palette().color(QPalette::Button),
             QColor(192, 192, 255));
}

void TstWindowLayout::focus_order()
{
    QFETCH(WindowKind, kind);
    const QStringList order = kind == WindowKind::Counter
        ? QStringList{u"Text1"_s, u"Command1"_s, u"Text2"_s, u"Command2"_s, u"Text4"_s}
        : kind == WindowKind::Comparison
        ? QStringList{u"Text1"_s, u"Command1"_s, u"Text2"_s, u"List1"_s, u"Command2"_s}
        : QStringList{u"Text1"_s, u"Command2"_s, u"Command1"_s, u"Text2"_s};

    QuellattoWindow *window = counter::create_window(kind);
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QWidget *first = control<QWidget>(window, "Text1");
    first->setFocus();
    QStringList seen{first->objectName()};
    for (qsizetype i = 1; i < order.size(); ++i) {
        // Tab leaves a multi-line box too, as in a dialog.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        seen.append(QApplication::focusWidget()->objectName());
    }
    QCOMPARE(seen, order);
    QCOMPARE(counter::box_text(control<QPlainTextEdit>(window, "Text1")), QString());
}

void TstWindowLayout::accessible_names_and_descriptions()
{
    QFETCH(WindowKind, kind);
    QuellattoWindow *window = counter::create_window(kind);
    window->show();
    for (const Control &c : design(kind)) {
        QWidget *widget = control<QWidget>(window, c.name);
        QCOMPARE(accessible(widget, QAccessible::Description), QString::fromLatin1(c.name));
        const QString name = accessible(widget, QAccessible::Name);
        if (auto *button = qobject_cast<QPushButton *>(widget))
            QCOMPARE(name, button->text());
        else if (qobject_cast<QLabel *>(widget))
            QCOMPARE(widget->accessibleName(), QString());
        else
            QVERIFY2(!name.isEmpty(), c.name);
    }
    QCOMPARE(accessible(window, QAccessible::Description), window->objectName());

    // A button's name follows its caption.
    if (kind == WindowKind::CaseConversion) {
        auto *button = control<QPushButton>(window, "Command1");
        click(window, "Command1");
        QCOMPARE(accessible(button, QAccessible::Name), u"大→小"_s);
    }
}

void TstWindowLayout::counter_menus()
{
    QuellattoWindow *window = counter::create_window(WindowKind::Counter);
    QStringList bar;
    for (QAction *action : window->menuBar()->actions())
        bar.append(action->objectName() + u':' + action->text());
    QCOMPARE(bar, (QStringList{u"mnuopt:オプション"_s, u"mnuchange:change"_s}));

    QStringList modes;
    for (QAction *action : control<QMenu>(window, "mnuopt")->actions())
        modes.append(action->objectName() + u':' + action->text());
    QCOMPARE(modes, (QStringList{u"mnutrim:先頭末尾スペース無し"_s, u"mnuspace:スペース有り"_s,
                                 u"mnunospace:スペース無し"_s, u"mnubite:バイト計数"_s,
                                 u"mnumojic:指定文字計数"_s, u"mnumojid:指定文字以外"_s,
                                 u"mnusdel:スペース削除"_s, u"mnudel:指定文字削除"_s,
                                 u"mnuedel:指定文字以外削除"_s}));
    for (QAction *action : control<QMenu>(window, "mnuopt")->actions())
        QVERIFY(action->isEnabled());
    delete window;
}

void TstWindowLayout::switch_menus_data()
{
    QTest::addColumn<WindowKind>("kind");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("counter") << WindowKind::Counter
                             << QStringList{u"mnucomp:compare"_s, u"mnucase:case"_s};
    QTest::newRow("comparison") << WindowKind::Comparison
                                << QStringList{u"mnucount:count"_s, u"mnucase:case"_s};
    QTest::newRow("case conversion") << WindowKind::CaseConversion
                                     << QStringList{u"mnucount:count"_s, u"mnucomp:compare"_s};
}

void TstWindowLayout::switch_menus()
{
    QFETCH(WindowKind, kind);
    QFETCH(QStringList, items);
    QuellattoWindow *window = counter::create_window(kind);
    QCOMPARE(window->menuBar()->actions().last()->objectName(), u"mnuchange"_s);
    QCOMPARE(window->menuBar()->actions().size(), kind == WindowKind::Counter ? 2 : 1);
    QStringList seen;
    for (QAction *action : control<QMenu>(window, "mnuchange")->actions())
        seen.append(action->objectName() + u':' + action->text());
    QCOMPARE(seen, items);
    delete window;
}

void TstWindowLayout::designed_faces_are_substituted()
{
    if (!QFontDatabase::families().contains(u"IPAPGothic"_s))
        QSKIP("IPAPGothic (fonts-ipafont-gothic) is not installed");
    QCOMPARE(QFontInfo(counter::gothic_font(9)).family(), u"IPAPGothic"_s);
    QCOMPARE(QFontInfo(counter::system_font(13.5)).family(), u"IPAPGothic"_s);
}

QTEST_MAIN(TstWindowLayout)
#include "tst_window_layout.moc"
