#include "taboutbox.h"

#include "ui_taboutbox.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QScreen>

QPixmap ProgramPicture() {
    QPixmap picture(107, 68);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    // The burner.
    QLinearGradient steel(0, 50, 0, 68);
    steel.setColorAt(0, QColor(150, 150, 160));
    steel.setColorAt(1, QColor(70, 70, 80));
    painter.setPen(Qt::NoPen);
    painter.setBrush(steel);
    painter.drawRoundedRect(QRectF(18, 52, 71, 14), 3, 3);
    // The flame.
    QPainterPath flame;
    flame.moveTo(53.5, 4);
    flame.cubicTo(70, 22, 78, 34, 70, 48);
    flame.cubicTo(66, 55, 41, 55, 37, 48);
    flame.cubicTo(29, 34, 40, 26, 46, 16);
    flame.cubicTo(47, 26, 52, 28, 53.5, 4);
    QRadialGradient fire(53.5, 46, 40);
    fire.setColorAt(0, QColor(255, 250, 200));
    fire.setColorAt(0.35, QColor(255, 200, 40));
    fire.setColorAt(1, QColor(220, 60, 10));
    painter.setBrush(fire);
    painter.drawPath(flame);
    return picture;
}

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent), FUi(std::make_unique<Ui::TAboutBox>()) {
    FUi->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    FUi->ProgramIcon->setPixmap(ProgramPicture());
    connect(FUi->OKButton, &QPushButton::clicked, this, &QDialog::accept);
    FUi->OKButton->setFocus();
}

TAboutBox::~TAboutBox() = default;

void TAboutBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    FUi->OKButton->setFocus();
}
