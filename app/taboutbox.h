#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TAboutBox;
}

// The About box: program name and version. Created once at start-up and
// shown modally, centred on the screen, as often as the user asks.
class TAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* parent = nullptr);
    ~TAboutBox() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::TAboutBox> FUi;
};

// The About box's picture, 107 x 68 pixels: the program's icon, centred.
QPixmap ProgramPicture();
