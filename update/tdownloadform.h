#pragma once

#include "lineexchange.h"

#include <QByteArray>
#include <QDialog>
#include <QList>

#include <functional>
#include <memory>

namespace Ui {
class TDownLoadForm;
}
class TApdComPort;

// The download dialog: shows the program file, sends it line by line to
// the controller's boot loader when "&Starta" is pressed, and reports the
// outcome. Has a serial port of its own; created by each run of the update
// command and freed when it closes.
class TDownLoadForm : public QDialog {
    Q_OBJECT

public:
    explicit TDownLoadForm(QWidget* parent = nullptr);
    ~TDownLoadForm() override;

    Ui::TDownLoadForm& Form() const { return *FUi; }

    // Reads the file into the line list and shows its name and line count.
    void LoadProgramFile(const QString& fileName);
    bool IsProgramLine(const QByteArray& line) const;
    DownloadResult SendLine(const QByteArray& line);
    void RunDownload();

    void ButtonStartClick();
    void ButtonAvbrytClick();
    void ButtonCloseClick();

    TApdComPort* ApdComPort1;
    QList<QByteArray> FLines;
    int FLineIndex = 0;
    int FAddressLimit = 0;
    bool FStop = false;

    // Shows an error of the serial layer that broke a run off.
    static std::function<void(const QString& message)> ShowError;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    void FormClose();

    std::unique_ptr<Ui::TDownLoadForm> FUi;
    bool FRunning = false;
    bool FCloseRequested = false;
};

// The texts of the final message boxes, LF CR line breaks included.
QString FinishedMessage();
QString NoReplyMessage();
QString EchoErrorMessage();
QString CannotProgramMessage();
