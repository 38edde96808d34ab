#include "tled.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

TLed::TLed(QWidget* Owner) : QWidget(Owner) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    resize(FWidth, FHeight);
}

void TLed::SetOn(bool on) {
    FOn = on;
    if (on)
        LOn();
    else
        LOff();
}

void TLed::SetFillColor(TColor color) {
    FFillColor = color;
    update();
}

QColor TLed::PaintedFillColor() const {
    return ColorToQColor(FFillColor, palette());
}

void TLed::SetShape(TShapeType shape) {
    if (shape == FShape)
        return;
    FShape = shape;
    update();
}

void TLed::SetWidth(int width) {
    FWidth = std::max(0, width);
    resize(FWidth, FHeight);
    updateGeometry();
}

void TLed::SetHeight(int height) {
    FHeight = std::max(0, height);
    resize(FWidth, FHeight);
    updateGeometry();
}

QRect TLed::ShapeRect(TShapeType shape, QSize size) {
    QRect rect(QPoint(0, 0), size);
    const bool square = shape == TShapeType::stSquare || shape == TShapeType::stRoundSquare ||
                        shape == TShapeType::stCircle;
    if (square) {
        const int side = std::min(size.width(), size.height());
        rect = QRect((size.width() - side) / 2, (size.height() - side) / 2, side, side);
    }
    return rect;
}

void TLed::paintEvent(QPaintEvent*) {
    const QRect rect = ShapeRect(FShape, size());
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    QPainter painter(this);
    // A one-pixel pen drawn on pixel centres keeps the outline inside the figure.
    const QRectF outline = QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(Qt::black, 1.0, Qt::SolidLine));
    painter.setBrush(PaintedFillColor());
    switch (FShape) {
    case TShapeType::stRectangle:
    case TShapeType::stSquare:
        painter.drawRect(outline);
        break;
    case TShapeType::stRoundRect:
    case TShapeType::stRoundSquare: {
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal radius = std::min(rect.width(), rect.height()) / 8.0;
        painter.drawRoundedRect(outline, radius, radius);
        break;
    }
    case TShapeType::stEllipse:
    case TShapeType::stCircle:
        painter.setRenderHint(QPainter::Antialiasing);
        painter.drawEllipse(outline);
        break;
    }
}

void TLed::mousePressEvent(QMouseEvent* event) {
    RaiseMouseDown(event);
}

void TLed::mouseDoubleClickEvent(QMouseEvent* event) {
    RaiseMouseDown(event);
}

void TLed::RaiseMouseDown(QMouseEvent* event) {
    TMouseButton button;
    switch (event->button()) {
    case Qt::LeftButton:
        button = TMouseButton::mbLeft;
        break;
    case Qt::RightButton:
        button = TMouseButton::mbRight;
        break;
    case Qt::MiddleButton:
        button = TMouseButton::mbMiddle;
        break;
    default:
        event->ignore();
        return;
    }
    event->accept();
    // A copy, so that a handler which rebinds the event does not destroy the
    // function that is running.
    const TMouseEvent handler = OnMouseDown;
    if (handler) {
        const QPoint pos = event->position().toPoint();
        handler(this, button, ShiftStateOf(*event), pos.x(), pos.y());
    }
}
