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
    // The hatch styles are 8 x 8 patterns in device pixels, so on a high-dpi screen they
    // would come out twice as dense and half as thick. One tile drawn at ratio 1 and used
    // as a texture scales with the window like everything else.
    if (m_tile.isNull()) {
        QImage tile(8, 8, QImage::Format_ARGB32_Premultiplied);
        tile.fill(Qt::transparent);
        QPainter tile_painter(&tile);
        tile_painter.fillRect(tile.rect(), m_brush);
        m_tile = tile;
    }
    QPainter painter(this);
    painter.fillRect(rect(), QBrush(m_tile));
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
