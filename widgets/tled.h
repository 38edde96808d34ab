#pragma once

#include "inputevents.h"
#include "tcolor.h"

#include <QWidget>

// The two-colour indicator lamp: a figure outlined in black and filled with
// its fill colour. Switching it on or off sets the fill colour to OnColor or
// OffColor; the fill colour is otherwise separate state that only the layout
// and switching change. Clicks reach whoever is bound to OnMouseDown.
class TLed : public QWidget {
    Q_OBJECT
    Q_PROPERTY(uint OffColor READ GetOffColor WRITE SetOffColor)
    Q_PROPERTY(uint OnColor READ GetOnColor WRITE SetOnColor)
    Q_PROPERTY(bool On READ GetOn WRITE SetOn)
    Q_PROPERTY(TShapeType Shape READ Shape WRITE SetShape)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(uint FillColor READ FillColor WRITE SetFillColor)

public:
    // Figures a lamp can draw.
    enum class TShapeType {
        stRectangle,
        stSquare,
        stRoundRect,
        stRoundSquare,
        stEllipse,
        stCircle
    };
    Q_ENUM(TShapeType)

    explicit TLed(QWidget* Owner = nullptr);

    TColor GetOffColor() const { return FOffColor; }
    TColor GetOnColor() const { return FOnColor; }
    // Store only: the new colour shows at the next SetOn, LOn or LOff.
    void SetOffColor(TColor color) { FOffColor = color; }
    void SetOnColor(TColor color) { FOnColor = color; }

    bool GetOn() const { return FOn; }
    // Stores the state and sets the fill colour, also when the state is unchanged.
    void SetOn(bool on);
    void LOn() { SetFillColor(FOnColor); }
    void LOff() { SetFillColor(FOffColor); }

    TColor FillColor() const { return FFillColor; }
    void SetFillColor(TColor color);
    // The fill colour as painted, with system colours resolved.
    QColor PaintedFillColor() const;

    TShapeType Shape() const { return FShape; }
    void SetShape(TShapeType shape);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetWidth(int width);
    void SetHeight(int height);

    QSize sizeHint() const override { return {FWidth, FHeight}; }
    QSize minimumSizeHint() const override { return sizeHint(); }

    // Raised on a press of the left, right or middle button.
    TMouseEvent OnMouseDown;

    // The figure for a control of `size`, as it is outlined and filled.
    static QRect ShapeRect(TShapeType shape, QSize size);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void RaiseMouseDown(QMouseEvent* event);

    TColor FOffColor = clBtnFace;
    TColor FOnColor = clRed;
    TColor FFillColor = clBtnFace;
    bool FOn = false;
    TShapeType FShape = TShapeType::stCircle;
    int FWidth = 10;
    int FHeight = 10;
};
