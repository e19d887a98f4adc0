#pragma once
// The case conversion window. Command1 writes convert_case of Text1 into Text2 in the
// direction flg holds and turns the direction round; クリア empties both boxes and
// leaves the direction. The "change" menu switches windows (switching.h).
#include "quellatto_window.h"

class QPlainTextEdit;
class QPushButton;

namespace counter {

class Form3 : public QuellattoWindow {
    Q_OBJECT
public:
    Form3();

    // True: the next click converts to upper case. Set at every load.
    bool flg() const { return m_flg; }

private:
    void command1_click();   // 小→大 or 大→小
    void command2_click();   // クリア

    QPlainTextEdit *m_text1;
    QPushButton *m_command2;
    QPushButton *m_command1;
    QPlainTextEdit *m_text2;
    bool m_flg = true;
};

}  // namespace counter
