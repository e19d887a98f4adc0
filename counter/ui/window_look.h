#pragma once
// How the Quellatto windows are drawn: designs measured in twips, the designed faces
// (substituted by app_setup), button faces, the hatched rectangle behind the controls,
// and the window icon.
#include <QBrush>
#include <QColor>
#include <QFont>
#include <QIcon>
#include <QRect>
#include <QImage>
#include <QWidget>

class QPushButton;

namespace counter {

// 15 twips are one logical pixel at 96 dpi; Qt scales logical pixels on high-dpi screens.
constexpr int twips(int t) { return (t + 7) / 15; }
QRect twips_rect(int left, int top, int width, int height);

// The designed faces, bold as every designed font of Quellatto is.
QFont gothic_font(qreal points);   // "ＭＳ Ｐゴシック"
QFont system_font(qreal points);   // "System"

// Gives a control its design name as object name and accessible description (the handle
// automation finds it by) and, for boxes and lists, the name a person hears.
void name_control(QWidget *control, const char *design_name, const QString &heard_name = {});

// A command button's face colour.
void set_face_colour(QPushButton *button, const QColor &face);

// Shape1: a rectangle filled with hatch lines, drawn under the other controls. It takes
// no input: a click on it goes to the window, as on the background.
class HatchShape : public QWidget {
    Q_OBJECT
public:
    HatchShape(const QColor &colour, Qt::BrushStyle style, QWidget *parent);
    QBrush brush() const { return m_brush; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QBrush m_brush;   // the designed colour and hatch style
    QImage m_tile;    // one 8 x 8 tile of it, drawn on first paint
};

// The program's icon, from whichever sizes the resources hold (none: a null icon).
QIcon quellatto_icon();

}  // namespace counter
