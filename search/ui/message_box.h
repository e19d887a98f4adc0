#pragma once
// The search window's questions and notices. The window asks through a MessageHandler,
// so tests answer without a person and without waiting; the program's handler shows a
// modal box.
#include <QString>
#include <functional>

class QWidget;

namespace search {

struct MessageRequest {
    QString text;
    QString title;             // "Vornilex" unless the box has a title of its own
    bool ok_cancel = false;    // OK and Cancel (OK the default), else OK alone
};

enum class MessageAnswer { Ok, Cancel };

using MessageHandler = std::function<MessageAnswer(QWidget *parent, const MessageRequest &request)>;

// A modal box with no icon, the request's title and text, and the standard OK (and
// Cancel) buttons in the program's language. Escape and the close control answer Cancel.
MessageAnswer show_message_box(QWidget *parent, const MessageRequest &request);

}  // namespace search
