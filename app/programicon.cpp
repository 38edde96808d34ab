#include "programicon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>

namespace {

// Drawn on a 256-unit square, scaled to the size asked for.
constexpr qreal kUnits = 256;

void PaintBackground(QPainter& painter) {
    QLinearGradient slate(0, 0, 0, kUnits);
    slate.setColorAt(0, QColor(58, 66, 84));
    slate.setColorAt(1, QColor(24, 28, 38));
    painter.setPen(Qt::NoPen);
    painter.setBrush(slate);
    painter.drawRoundedRect(QRectF(8, 8, 240, 240), 44, 44);
}

void PaintBurner(QPainter& painter) {
    QLinearGradient steel(0, 186, 0, 226);
    steel.setColorAt(0, QColor(196, 198, 206));
    steel.setColorAt(1, QColor(98, 100, 112));
    painter.setBrush(steel);
    painter.drawRoundedRect(QRectF(44, 186, 168, 38), 8, 8);
    // The burner tube the flame leaves from.
    painter.setBrush(QColor(70, 72, 82));
    painter.drawRoundedRect(QRectF(96, 172, 64, 18), 4, 4);
}

void PaintFlame(QPainter& painter) {
    QPainterPath flame;
    flame.moveTo(128, 28);
    flame.cubicTo(176, 78, 196, 118, 174, 158);
    flame.cubicTo(162, 180, 94, 180, 82, 158);
    flame.cubicTo(62, 120, 92, 96, 106, 62);
    flame.cubicTo(110, 92, 124, 98, 128, 28);
    QRadialGradient fire(128, 160, 118);
    fire.setColorAt(0, QColor(255, 250, 205));
    fire.setColorAt(0.35, QColor(255, 198, 40));
    fire.setColorAt(1, QColor(224, 62, 12));
    painter.setBrush(fire);
    painter.drawPath(flame);
}

} // namespace

QImage ProgramIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kUnits, size / kUnits);
    PaintBackground(painter);
    PaintBurner(painter);
    PaintFlame(painter);
    return image;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (const int size : kProgramIconSizes)
        icon.addPixmap(QPixmap::fromImage(ProgramIconImage(size)));
    return icon;
}
