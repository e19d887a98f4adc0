#include "form3.h"

#include "convert_case.h"
#include "paragraph_text.h"
#include "window_look.h"

#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace counter {

namespace {

const QString to_upper_caption = u"小→大"_s;
const QString to_lower_caption = u"大→小"_s;

}  // namespace

Form3::Form3()
    : QuellattoWindow({"Form3", u"変換"_s, QSize(6570, 2430), QColor(224, 224, 224),
                       QColor(0, 128, 0), Qt::VerPattern, QSize(6735, 2535)})
{
    QWidget *area = client();

    m_text1 = new_paragraph_box(area);
    name_control(m_text1, "Text1", u"変換する文字列"_s);
    m_text1->setGeometry(twips_rect(240, 120, 6135, 735));
    m_text1->setFont(gothic_font(11.25));

    m_command2 = new QPushButton(u"クリア"_s, area);
    name_control(m_command2, "Command2");
    m_command2->setGeometry(twips_rect(3360, 1800, 735, 495));
    m_command2->setFont(gothic_font(9));
    set_face_colour(m_command2, QColor(192, 192, 255));

    m_command1 = new QPushButton(to_upper_caption, area);
    name_control(m_command1, "Command1");
    m_command1->setGeometry(twips_rect(2160, 1800, 855, 495));
    m_command1->setFont(gothic_font(9));
    set_face_colour(m_command1, QColor(255, 224, 192));

    m_text2 = new_paragraph_box(area);
    name_control(m_text2, "Text2", u"変換した文字列"_s);
    m_text2->setGeometry(twips_rect(240, 960, 6135, 735));
    m_text2->setFont(gothic_font(11.25));

    setTabOrder(m_text1, m_command2);
    setTabOrder(m_command2, m_command1);
    setTabOrder(m_command1, m_text2);

    connect(m_command1, &QPushButton::clicked, this, &Form3::command1_click);
    connect(m_command2, &QPushButton::clicked, this, &Form3::command2_click);

    add_change_menu({"mnucount", "count", WindowKind::Counter},
                    {"mnucomp", "compare", WindowKind::Comparison});
    fix_size();
}

void Form3::command1_click()
{
    const CaseDirection direction = m_flg ? CaseDirection::ToUpper : CaseDirection::ToLower;
    set_box_text(m_text2, convert_case(box_text(m_text1), direction));
    m_flg = !m_flg;
    m_command1->setText(m_flg ? to_upper_caption : to_lower_caption);
}

void Form3::command2_click()
{
    set_box_text(m_text1, QString());
    set_box_text(m_text2, QString());
}

}  // namespace counter
