#include "paragraph_text.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cstring>

namespace counter {

QPlainTextEdit *new_paragraph_box(QWidget *parent)
{
    auto *box = new QPlainTextEdit(parent);
    box->setTabChangesFocus(true);
    box->setWordWrapMode(QTextOption::WrapAnywhere);
    return box;
}

QString box_text(const QPlainTextEdit *box)
{
    // Widened in place, from the back, in one pass: the runs between paragraph breaks move
    // once each. (A replace of each break by CR LF moves the rest of the text again every
    // so many breaks, which on a long pasted text took longer than the count itself.)
    QString text = box->document()->toRawText();
    const qsizetype length = text.size();
    const qsizetype breaks = std::count(text.cbegin(), text.cend(), QChar::ParagraphSeparator);
    if (breaks == 0)
        return text;
    text.resize(length + breaks);
    char16_t *const data = reinterpret_cast<char16_t *>(text.data());
    qsizetype from = length;         // data[from, length) has been moved
    qsizetype to = length + breaks;  // to its place at data[to, length + breaks)
    while (from > 0) {
        qsizetype run_start = from;
        while (run_start > 0 && data[run_start - 1] != QChar::ParagraphSeparator)
            --run_start;
        const qsizetype run = from - run_start;
        to -= run;
        if (to != run_start)
            std::memmove(data + to, data + run_start, size_t(run) * sizeof(char16_t));
        if (run_start == 0)
            break;
        data[--to] = u'\n';
        data[--to] = u'\r';
        from = run_start - 1;
    }
    return text;
}

void set_box_text(QPlainTextEdit *box, const QString &text)
{
    // The cursor's insertion splits the text into paragraphs at CR LF (and at a lone CR
    // or LF), and keeps the old text on the undo stack: an edit mode that deleted more
    // than the user meant can be taken back with Ctrl+Z.
    QTextCursor cursor(box->document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    if (text.isEmpty())
        cursor.removeSelectedText();
    else
        cursor.insertText(text);
    cursor.endEditBlock();
}

}  // namespace counter
