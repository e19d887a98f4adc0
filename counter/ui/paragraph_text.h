#pragma once
// The multi-line boxes hold paragraphs, the counter's text model holds CR LF line breaks.
//
// Reading takes the document's raw text, so U+00A0 stays a no-break space and U+2028
// stays one character (the plain-text view would turn them into a blank and a line
// break), and turns each paragraph break into CR LF.
//
// Writing turns CR LF back into paragraph breaks. The box cannot hold a lone CR or LF
// as a character: typed, pasted or written back, each becomes a paragraph break (as
// U+2029 does), and so is read back as CR LF.
class QPlainTextEdit;
class QString;
class QWidget;

namespace counter {

// A multi-line box as the windows use it. Tab moves the focus on, as in a dialog (a tab
// character can still be pasted). Lines wrap at any character: Japanese text wraps at
// any character anyway, and word wrapping takes time quadratic in the length of an
// unbroken run, so a long pasted run without blanks would freeze the window for minutes.
QPlainTextEdit *new_paragraph_box(QWidget *parent);

QString box_text(const QPlainTextEdit *box);

// Replaces the box's whole text as one edit the user can undo.
void set_box_text(QPlainTextEdit *box, const QString &text);

}  // namespace counter
