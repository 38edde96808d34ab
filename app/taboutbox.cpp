#include "taboutbox.h"

#include "ui_taboutbox.h"

#include "programicon.h"

#include <QPainter>
#include <QScreen>

QPixmap ProgramPicture() {
    constexpr int kWidth = 107;
    constexpr int kHeight = 68;
    QPixmap picture(kWidth, kHeight);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    // The icon itself at the picture's height, drawn at that size rather than
    // scaled down from a larger one, so its edges stay sharp.
    painter.drawImage((kWidth - kHeight) / 2, 0, ProgramIconImage(kHeight));
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
