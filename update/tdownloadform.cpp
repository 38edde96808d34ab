#include "tdownloadform.h"

#include "programfile.h"
#include "tapdcomport.h"
#include "tcolor.h"
#include "tmessagebox.h"
#include "ui_tdownloadform.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>

#include <exception>

std::function<void(const QString&)> TDownLoadForm::ShowError = [](const QString& message) {
    TMessageBox::Show(TMessageBox::TKind::Error, message);
};

QString FinishedMessage() {
    return QString::fromUtf8("Programmering Ok!\n\rFör att starta om så skall strömmen slås av och "
                             "till igen.\n\rSe till att ingen kortslutning av JP3 finns.");
}

QString NoReplyMessage() {
    return QString::fromUtf8(
        "Programmering Misslyckades!\n\rIngen kontakt med styrsystemet.\n\rSlå "
        "av strömmen och prova igen.");
}

QString EchoErrorMessage() {
    return QString::fromUtf8("Programmering Misslyckades!\n\rKommunikationsstörningar. Kontrollera "
                             "att kabel är ok.\n\rSlå av strömmen och prova igen.");
}

QString CannotProgramMessage() {
    return QString::fromUtf8("Programmering Misslyckades!\n\rStyrsystemets program går ej att "
                             "uppdatera via PC.\n\rUppdatering kan endast göras genom att "
                             "processorn byts. ");
}

TDownLoadForm::TDownLoadForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      FUi(std::make_unique<Ui::TDownLoadForm>()) {
    FUi->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    QPalette palette = FUi->LabelProgramrad->palette();
    palette.setColor(QPalette::Window, ColorToQColor(clBtnShadow, palette));
    FUi->LabelProgramrad->setPalette(palette);

    ApdComPort1 = new TApdComPort(this);
    ApdComPort1->setObjectName(QStringLiteral("ApdComPort1"));
    ApdComPort1->SetComNumber(1);
    ApdComPort1->AutoOpen = false;

    connect(FUi->ButtonStart, &QPushButton::clicked, this, &TDownLoadForm::ButtonStartClick);
    connect(FUi->ButtonAvbryt, &QPushButton::clicked, this, &TDownLoadForm::ButtonAvbrytClick);
    connect(FUi->ButtonClose, &QPushButton::clicked, this, &TDownLoadForm::ButtonCloseClick);
}

TDownLoadForm::~TDownLoadForm() = default;

void TDownLoadForm::LoadProgramFile(const QString& fileName) {
    FLines.clear();
    FLines = ReadProgramFile(fileName);
    FLineIndex = 0;
    FUi->LabelFileName->setText(fileName);
    FUi->LabelStorlek->setText(QString::number(FLines.size()));
    FUi->LabelStatus->setText(QStringLiteral("Programfil laddad, redo för programmering"));
}

bool TDownLoadForm::IsProgramLine(const QByteArray& line) const {
    return IsProgramRecord(line, FAddressLimit);
}

DownloadResult TDownLoadForm::SendLine(const QByteArray& line) {
    QByteArray reply;
    const DownloadResult result = SendProgramLine(*ApdComPort1, line, reply);
    FUi->LabelProgramrad->setText(QString::fromLatin1(reply));
    return result;
}

void TDownLoadForm::RunDownload() {
    FUi->ButtonAvbryt->setEnabled(true);
    FStop = false;
    DownloadResult last = DownloadResult::None;
    FUi->LabelStatus->setText(QStringLiteral("Försöker att få kontakt med Styrsystemet..."));
    const int count = int(FLines.size());
    for (int i = 0; i < count; ++i) {
        QCoreApplication::processEvents(); // "&Avbryt" takes effect here
        FLineIndex = i;
        const int position = int(qint64(i) * 100 / count);
        FUi->ProgressBar1->setValue(position);
        FUi->LabelProcent->setText(QString::number(position) + QStringLiteral(" %"));
        if (IsProgramLine(FLines[i])) {
            last = SendLine(FLines[i]);
            switch (last) {
            case DownloadResult::NoReply:
                FUi->LabelStatus->setText(QStringLiteral("!!Inget Svar!!"));
                FStop = true;
                break;
            case DownloadResult::LineAccepted:
                FUi->LabelStatus->setText(QStringLiteral("Rad %1 Av %2").arg(i).arg(count));
                break;
            case DownloadResult::Finished:
                FUi->LabelStatus->setText(QStringLiteral("Programmering Klar"));
                FStop = true;
                break;
            case DownloadResult::EchoError:
                FUi->LabelStatus->setText(QStringLiteral("!!Kommunikations störning!!"));
                FStop = true;
                break;
            case DownloadResult::CannotProgram:
                FUi->LabelStatus->setText(
                    QString::fromUtf8("Internt fel i Processor,kan ej bränna"));
                FStop = true;
                break;
            case DownloadResult::None:
                break;
            }
        }
        if (FStop) {
            FUi->ButtonClose->setEnabled(true);
            FUi->ButtonAvbryt->setEnabled(false);
            break;
        }
    }

    QString message;
    TMessageBox::TKind kind = TMessageBox::TKind::Error;
    switch (last) {
    case DownloadResult::Finished:
        message = FinishedMessage();
        kind = TMessageBox::TKind::Information;
        break;
    case DownloadResult::NoReply:
        message = NoReplyMessage();
        break;
    case DownloadResult::EchoError:
        message = EchoErrorMessage();
        break;
    case DownloadResult::CannotProgram:
        message = CannotProgramMessage();
        break;
    case DownloadResult::LineAccepted:
    case DownloadResult::None:
        return;
    }
    TMessageBox::Show(kind, message, this);
    FCloseRequested = true;
}

void TDownLoadForm::ButtonStartClick() {
    FUi->ButtonStart->setEnabled(false);
    FUi->ButtonClose->setEnabled(false);
    FRunning = true;
    try {
        RunDownload();
    } catch (const std::exception& error) {
        // The port could not be opened: the run breaks off, the dialog stays.
        FRunning = false;
        FCloseRequested = false;
        ShowError(QString::fromUtf8(error.what()));
        return;
    }
    FRunning = false;
    if (FCloseRequested)
        close();
}

void TDownLoadForm::ButtonAvbrytClick() {
    if (FStop) {
        close();
        return;
    }
    FStop = true;
    FUi->ButtonClose->setEnabled(true);
}

void TDownLoadForm::ButtonCloseClick() {
    close();
}

void TDownLoadForm::closeEvent(QCloseEvent* event) {
    if (FRunning) {
        // A close asked for during the run takes effect once it has returned.
        FCloseRequested = true;
        event->ignore();
        return;
    }
    FormClose();
    // Accepted here: QDialog's own handling would go through reject().
    event->accept();
}

void TDownLoadForm::FormClose() {
    ApdComPort1->SetOpen(false);
    FLines.clear();
}

void TDownLoadForm::keyPressEvent(QKeyEvent* event) {
    // Escape does not close the dialog: only its buttons do.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TDownLoadForm::reject() {
    // Reached by a close of the frame; the buttons' rules decide.
    close();
}
