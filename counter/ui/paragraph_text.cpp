#include "paragraph_text.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

using namespace Qt::StringLiterals;

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
    QString text = box->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u"\r\n"_s);
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
