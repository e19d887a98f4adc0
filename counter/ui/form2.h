#pragma once
// The comparison window. 比較 empties List1, reads Text1 and Text2 (box_text) and lists
// the entries of compare_texts as they are found, its pass pumped by EventPump; クリア
// empties both boxes and the list. The "change" menu switches windows (switching.h).
#include "quellatto_window.h"

class QListView;
class QPlainTextEdit;
class QPushButton;

namespace counter {

class EntryListModel;

class Form2 : public QuellattoWindow {
    Q_OBJECT
public:
    Form2();

    // List1's entries.
    const EntryListModel *entries() const { return m_entries; }

private:
    void command1_click();   // 比較
    void command2_click();   // クリア

    QPlainTextEdit *m_text1;
    QPushButton *m_command1;
    QPlainTextEdit *m_text2;
    QListView *m_list1;
    QPushButton *m_command2;
    EntryListModel *m_entries;
};

}  // namespace counter
