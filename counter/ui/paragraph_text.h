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

namespace counter {

QString box_text(const QPlainTextEdit *box);

// Replaces the box's whole text as one edit the user can undo.
void set_box_text(QPlainTextEdit *box, const QString &text);

}  // namespace counter
