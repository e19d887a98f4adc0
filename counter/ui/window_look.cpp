#include "window_look.h"

#include <QDir>
#include <QPainter>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace counter {

QRect twips_rect(int left, int top, int width, int height)
{
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

namespace {

QFont bold_font(const QString &family, qreal points)
{
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

}  // namespace

QFont gothic_font(qreal points) { return bold_font(u"ＭＳ Ｐゴシック"_s, points); }

QFont system_font(qreal points) { return bold_font(u"System"_s, points); }

void name_control(QWidget *control, const char *design_name, const QString &heard_name)
{
    control->setObjectName(QString::fromLatin1(design_name));
    control->setAccessibleDescription(QString::fromLatin1(design_name));
    if (!heard_name.isEmpty())
        control->setAccessibleName(heard_name);
}

void set_face_colour(QPushButton *button, const QColor &face)
{
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, face);
    button->setPalette(palette);
}

HatchShape::HatchShape(const QColor &colour, Qt::BrushStyle style, QWidget *parent)
    : QWidget(parent), m_brush(colour, style)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void HatchShape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_brush);
}

QIcon quellatto_icon()
{
    QIcon icon;
    const QDir images(u":/icons"_s);
    for (const QString &name : images.entryList({u"quellatto-*.png"_s}, QDir::Files))
        icon.addFile(images.filePath(name));
    return icon;
}

}  // namespace counter
