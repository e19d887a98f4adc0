#include "form2.h"

#include "compare.h"
#include "entry_list_model.h"
#include "event_pump.h"
#include "paragraph_text.h"
#include "window_look.h"

#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace counter {

Form2::Form2()
    : QuellattoWindow({"Form2", u"比較"_s, QSize(6690, 3360), QColor(255, 255, 192),
                       QColor(0, 0, 255), Qt::CrossPattern, QSize(6735, 3375)})
{
    QWidget *area = client();

    m_text1 = new_paragraph_box(area);
    name_control(m_text1, "Text1", u"1つ目の文字列"_s);
    m_text1->setGeometry(twips_rect(600, 240, 5415, 855));

    m_command1 = new QPushButton(u"比較"_s, area);
    name_control(m_command1, "Command1");
    m_command1->setGeometry(twips_rect(480, 2160, 735, 495));
    m_command1->setFont(gothic_font(9));
    set_face_colour(m_command1, QColor(255, 224, 192));

    m_text2 = new_paragraph_box(area);
    name_control(m_text2, "Text2", u"2つ目の文字列"_s);
    m_text2->setGeometry(twips_rect(600, 1200, 5415, 855));

    m_entries = new EntryListModel(this);
    m_list1 = new QListView(area);
    name_control(m_list1, "List1", u"比較の結果"_s);
    m_list1->setGeometry(twips_rect(1320, 2160, 4695, 1140));
    // Every entry is one line of the same height: the view need not measure each.
    m_list1->setUniformItemSizes(true);
    m_list1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list1->setModel(m_entries);

    m_command2 = new QPushButton(u"クリア"_s, area);
    name_control(m_command2, "Command2");
    m_command2->setGeometry(twips_rect(480, 2760, 735, 495));
    m_command2->setFont(gothic_font(9));
    set_face_colour(m_command2, QColor(192, 192, 255));

    setTabOrder(m_text1, m_command1);
    setTabOrder(m_command1, m_text2);
    setTabOrder(m_text2, m_list1);
    setTabOrder(m_list1, m_command2);

    connect(m_command1, &QPushButton::clicked, this, &Form2::command1_click);
    connect(m_command2, &QPushButton::clicked, this, &Form2::command2_click);

    add_change_menu({"mnucount", "count", WindowKind::Counter},
                    {"mnucase", "case", WindowKind::CaseConversion});
    fix_size();
}

void Form2::command1_click()
{
    if (pass_running())
        return;
    m_entries->clear();
    // The comparison is of the texts at the moment of the click; they live on this
    // stack frame, which outlasts the pass even if the window goes during it.
    const QString first = box_text(m_text1);
    const QString second = box_text(m_text2);

    EventPump pump(this);
    EntryListModel *entries = m_entries;
    pump.set_before_events([entries] { entries->flush_batch(); });
    if (!pump.run_events())
        return;
    // An entry is only ever added between two polls that found the window alive.
    const bool finished = compare_texts(
        first, second, [entries](const QString &entry) { entries->add(entry); },
        pump.keep_going());
    if (finished && pump.alive())
        entries->flush();
}

void Form2::command2_click()
{
    if (pass_running())
        return;
    set_box_text(m_text1, QString());
    set_box_text(m_text2, QString());
    m_entries->clear();
}

}  // namespace counter
