#include "message_box.h"

#include <QMessageBox>

namespace search {

MessageAnswer show_message_box(QWidget *parent, const MessageRequest &request)
{
    QMessageBox box(QMessageBox::NoIcon, request.title, request.text,
                    request.ok_cancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("MsgBox"));
    box.setAccessibleDescription(QStringLiteral("MsgBox"));
    box.setAccessibleName(request.title);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(request.ok_cancel ? QMessageBox::Cancel : QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec() == QMessageBox::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
}

}  // namespace search
