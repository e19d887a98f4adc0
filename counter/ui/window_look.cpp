#include "window_look.h"

#include <QDir>
#include <QIconEngine>
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

// A window icon whose images are read at its first use, not when the window is built:
// decoding all eight sizes took a tenth of the start-up, and a desktop that draws the
// icon in one size, or not at all, never needs the others. Any use reads them all, so
// the icon answers exactly as one built from the files at once.
class ReadAtFirstUse : public QIconEngine {
public:
    explicit ReadAtFirstUse(QStringList files) : m_files(std::move(files)) {}

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return icon().pixmap(size, scale, mode, state);
    }
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    QIconEngine *clone() const override { return new ReadAtFirstUse(*this); }
    QString key() const override { return QStringLiteral("ReadAtFirstUse"); }

private:
    QIcon &icon()
    {
        if (!m_read) {
            m_read = true;
            for (const QString &file : m_files)
                m_icon.addFile(file);
        }
        return m_icon;
    }

    QStringList m_files;   // image files of the one icon, each in its own size
    QIcon m_icon;          // read from m_files once m_read
    bool m_read = false;
};

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
    const QDir images(u":/icons"_s);
    QStringList files;
    for (const QString &name : images.entryList({u"quellatto-*.png"_s}, QDir::Files))
        files.append(images.filePath(name));
    return files.isEmpty() ? QIcon() : QIcon(new ReadAtFirstUse(files));
}

}  // namespace counter
