#include "form1.h"

#include "event_pump.h"
#include "paragraph_text.h"
#include "window_look.h"

#include <QActionGroup>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace counter {

namespace {

const QColor measure_face(255, 224, 192);
const QColor clear_face(192, 192, 255);

}  // namespace

Form1::Form1()
    : QuellattoWindow({"Form1", u"Quellatto"_s, QSize(5220, 1815), QColor(255, 255, 192),
                       QColor(0, 192, 192), Qt::DiagCrossPattern, QSize(5295, 1935)})
{
    build_controls();
    build_menus();
    fix_size();
}

void Form1::build_controls()
{
    QWidget *area = client();

    m_text1 = new_paragraph_box(area);
    name_control(m_text1, "Text1", u"数える文字列"_s);
    m_text1->setGeometry(twips_rect(240, 120, 4815, 855));

    m_command1 = new QPushButton(u"測定"_s, area);
    name_control(m_command1, "Command1");
    m_command1->setGeometry(twips_rect(3480, 1080, 735, 495));
    m_command1->setFont(gothic_font(9));
    set_face_colour(m_command1, measure_face);

    m_text2 = new QLineEdit(area);
    name_control(m_text2, "Text2", u"結果"_s);
    m_text2->setGeometry(twips_rect(240, 1050, 1095, 330));
    m_text2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_text2->setFont(gothic_font(11.25));

    m_label1 = new QLabel(u"個の文字列です"_s, area);
    name_control(m_label1, "Label1");
    m_label1->setGeometry(twips_rect(1440, 1080, 2655, 375));
    m_label1->setFont(system_font(13.5));

    m_command2 = new QPushButton(u"クリア"_s, area);
    name_control(m_command2, "Command2");
    m_command2->setGeometry(twips_rect(4320, 1080, 735, 495));
    m_command2->setFont(gothic_font(9));
    set_face_colour(m_command2, clear_face);

    m_text4 = new QLineEdit(area);
    name_control(m_text4, "Text4", u"指定文字"_s);
    m_text4->setGeometry(twips_rect(1440, 1440, 1815, 330));
    m_text4->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_text4->setFont(gothic_font(11.25));

    m_label3 = new QLabel(u"指定文字"_s, area);
    name_control(m_label3, "Label3");
    m_label3->setGeometry(twips_rect(240, 1500, 1095, 375));
    m_label3->setFont(system_font(13.5));

    // The label overlaps the measure button's row: the buttons stay clickable above it.
    m_command1->raise();
    m_command2->raise();

    setTabOrder(m_text1, m_command1);
    setTabOrder(m_command1, m_text2);
    setTabOrder(m_text2, m_command2);
    setTabOrder(m_command2, m_text4);

    connect(m_command1, &QPushButton::clicked, this, &Form1::command1_click);
    connect(m_command2, &QPushButton::clicked, this, &Form1::command2_click);
}

void Form1::build_menus()
{
    QMenu *options = menuBar()->addMenu(u"オプション"_s);
    options->setObjectName(u"mnuopt"_s);
    options->menuAction()->setObjectName(u"mnuopt"_s);

    struct ModeItem {
        const char *name;
        const char *caption;
        Mode mode;
    };
    static constexpr ModeItem items[] = {
        {"mnutrim", "先頭末尾スペース無し", Mode::Trim},
        {"mnuspace", "スペース有り", Mode::Space},
        {"mnunospace", "スペース無し", Mode::NoSpace},
        {"mnubite", "バイト計数", Mode::Bytes},
        {"mnumojic", "指定文字計数", Mode::CountChosen},
        {"mnumojid", "指定文字以外", Mode::NotChosen},
        {"mnusdel", "スペース削除", Mode::DeleteSpace},
        {"mnudel", "指定文字削除", Mode::DeleteChosen},
        {"mnuedel", "指定文字以外削除", Mode::KeepChosen},
    };
    m_modes = new QActionGroup(this);
    m_modes->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    for (const ModeItem &item : items) {
        QAction *action = options->addAction(QString::fromUtf8(item.caption));
        action->setObjectName(QString::fromLatin1(item.name));
        action->setCheckable(true);
        action->setChecked(item.mode == m_flagt);
        action->setData(int(item.mode));
        m_modes->addAction(action);
    }
    connect(m_modes, &QActionGroup::triggered, this, &Form1::select_mode);

    add_change_menu({"mnucomp", "compare", WindowKind::Comparison},
                    {"mnucase", "case", WindowKind::CaseConversion});
}

void Form1::select_mode(QAction *item)
{
    if (!pass_running())
        m_flagt = Mode(item->data().toInt());
    // The check mark shows the mode that counts, also when a change was refused.
    for (QAction *action : m_modes->actions())
        action->setChecked(Mode(action->data().toInt()) == m_flagt);
}

void Form1::command1_click()
{
    if (pass_running())
        return;
    // The count is of the texts and the mode at the moment of the click.
    const QString text = box_text(m_text1);
    const QString chosen = m_text4->text();
    const Mode mode = m_flagt;

    EventPump pump(this);
    m_label1->setText(u"計算中です・・・"_s);
    m_label1->repaint();
    if (!pump.run_events())
        return;

    const std::optional<Measurement> measured = measure_text(text, mode, chosen, pump.keep_going());
    if (!measured || !pump.alive())
        return;   // the window was closed during the pass: nothing left to show it in

    if (measured->new_text)
        set_box_text(m_text1, *measured->new_text);
    m_text2->setText(QString::number(measured->result));
    m_label1->setText(measured->unit);
}

void Form1::command2_click()
{
    if (pass_running())
        return;
    set_box_text(m_text1, QString());
    m_text2->setText(u"0"_s);
}

}  // namespace counter
