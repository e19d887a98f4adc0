#pragma once
// The counter window. 測定 reads Text1 and Text4 (box_text), counts under the mode that
// flagt holds (measure_text, its pass pumped by EventPump) and writes the edited text,
// the result and the unit back; クリア empties Text1 and shows 0; the nine items of
// オプション set flagt. The "change" menu switches windows (switching.h).
#include "measure.h"
#include "quellatto_window.h"

class QActionGroup;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace counter {

class Form1 : public QuellattoWindow {
    Q_OBJECT
public:
    Form1();

    // The counting mode; it lives and dies with the window, so a reopened counter window
    // counts in スペース有り, which is what its menu then shows checked.
    Mode flagt() const { return m_flagt; }

private:
    void build_controls();
    void build_menus();
    void command1_click();                // 測定
    void command2_click();                // クリア
    void select_mode(QAction *item);      // one of the nine mode items

    QPlainTextEdit *m_text1;
    QPushButton *m_command1;
    QLineEdit *m_text2;
    QLabel *m_label1;
    QPushButton *m_command2;
    QLineEdit *m_text4;
    QLabel *m_label3;
    QActionGroup *m_modes = nullptr;
    Mode m_flagt = Mode::Space;
};

}  // namespace counter
