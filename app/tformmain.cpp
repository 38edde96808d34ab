#include "tformmain.h"

#include "frames.h"
#include "logfile.h"
#include "parameterfile.h"
#include "taboutbox.h"
#include "tapdcomport.h"
#include "tchart.h"
#include "tdownloadform.h"
#include "tfiledialogs.h"
#include "tglodrikapplication.h"
#include "thelpwindow.h"
#include "tled.h"
#include "tlinkconnection.h"
#include "tlivelogs.h"
#include "tmessagebox.h"
#include "tprocessimage.h"
#include "truncomthread.h"
#include "ttransaction.h"
#include "ui_tformmain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QShortcut>
#include <QStyle>
#include <QTimer>

#include <stdexcept>

namespace {

template <typename T> T* Control(QObject* window, const char* name) {
    auto* control = window->findChild<T*>(QString::fromLatin1(name));
    if (!control)
        throw std::logic_error(std::string("the window has no control ") + name);
    return control;
}

} // namespace

TFormMain::TFormMain(QWidget* parent)
    : QMainWindow(parent), FUi(std::make_unique<Ui::TFormMain>()) {
    Q_INIT_RESOURCE(glodrik);
    FUi->setupUi(this);

    ComPort1 = new TApdComPort(this);
    ComPort1->setObjectName(QStringLiteral("ComPort1"));
    ComPort1->AutoOpen = false;

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);

    OpenDialog1 = new TFileDialog(this, TFileDialog::TKind::Open);
    OpenDialog1->setObjectName(QStringLiteral("OpenDialog1"));
    OpenDialog1->Filter = QStringLiteral("Hexfiles (*.Hex)|*.Hex");
    OpenDialog2 = new TFileDialog(this, TFileDialog::TKind::Open);
    OpenDialog2->setObjectName(QStringLiteral("OpenDialog2"));
    OpenDialog2->Filter = QStringLiteral("*.Log|*.Log|*Seq|*.Seq|AllFiles *.*|*.*");
    OpenDialog2->DefaultExt = QStringLiteral("*.Log");
    SaveDialog1 = new TFileDialog(this, TFileDialog::TKind::Save);
    SaveDialog1->setObjectName(QStringLiteral("SaveDialog1"));
    SaveDialog1->Filter = QStringLiteral("*.Log|*.Log|*.Seq|*.Seq|AllFiles *.*|*.*");
    SaveDialog1->DefaultExt = QStringLiteral("*.txt");
    PrintDialog1 = new TPrintDialog(this);
    PrintDialog1->setObjectName(QStringLiteral("PrintDialog1"));

    SetUpEditBoxes();
    FUi->Hjlp2->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
    FUi->CheckBoxLoggaTemp->setProperty(kHelpContextProperty, 20);
    FUi->ButtonRaderaTemp->setProperty(kHelpContextProperty, 21);
    FUi->PageControl1->setCurrentWidget(FUi->TabSheet5);

    connect(FUi->CheckBoxOverVer1_7, &QCheckBox::clicked, this,
            &TFormMain::CheckBoxOverVer1_7Click);
    connect(FUi->Avsluta1, &QAction::triggered, this, &TFormMain::Avsluta1Click);
    connect(FUi->UppdateraStyrprogram1, &QAction::triggered, this,
            &TFormMain::UppdateraStyrprogram1Click);
    TDownLoadForm::ShowError = [](const QString& message) {
        TGlodrikApplication::ShowException(message);
    };
    connect(FUi->Om1, &QAction::triggered, this, &TFormMain::Om1Click);
    connect(FUi->Hjlp2, &QAction::triggered, this, &TFormMain::Hjlp2Click);
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    help->setContext(Qt::WindowShortcut);
    connect(help, &QShortcut::activated, this, &TFormMain::HelpKey);

    // The process image, once every control exists.
    FImage = std::make_unique<TProcessImage>(
        this, [this](TZuIO* Sender) { IOChange(Sender); },
        [this](const char* name) { return Control<QLineEdit>(this, name); },
        [this](const char* name) { return Control<TLed>(this, name); });

    TLinkParts parts;
    parts.ComPort1 = ComPort1;
    parts.IOList = FImage->IOList();
    parts.LedConnected = FUi->LedConnected;
    parts.Label98 = FUi->Label98;
    parts.LabelFreq = FUi->LabelFreq;
    parts.Timer1 = Timer1;
    parts.Inputs = FImage->Point(QStringLiteral("Inputs"));
    parts.FotoCell = FImage->Bit(QStringLiteral("Inputs"), 0);
    FLink = new TLinkConnection(parts, this);
    FLink->setObjectName(QStringLiteral("Link"));
    FLink->OnLinkError = [](const QString& message) {
        TGlodrikApplication::ShowException(message);
    };

    connect(FUi->ButtonStart, &QPushButton::clicked, this, &TFormMain::ButtonStartClick);
    connect(FUi->ButtonUpdateAll, &QPushButton::clicked, this, &TFormMain::ButtonUpdateAllClick);
    connect(FUi->CheckBoxStateLive, &QCheckBox::clicked, this, &TFormMain::CheckBoxStateLiveClick);
    connect(Timer1, &QTimer::timeout, this, &TFormMain::Timer1Timer);

    FLogs = std::make_unique<TLiveLogs>(*FUi->Chart1, *FUi->Chart2, *FImage,
                                        [this] { return FLink->Transaction().FotoProcent; });
    ConnectLogControls();
    FormCreate();
}

TFormMain::~TFormMain() {
    // The link goes first: its workers end before the points they poll.
    delete FLink;
    FLink = nullptr;
}

TZuIOList* TFormMain::IOList() const {
    return FImage->IOList();
}

void TFormMain::SetUpEditBoxes() {
    // Writable boxes keep the window colour; read-only ones take the face
    // colour of the window, and disabled ones are read-only as well.
    for (QLineEdit* edit : findChildren<QLineEdit*>()) {
        if (!edit->isEnabled())
            edit->setReadOnly(true);
        if (!edit->isReadOnly())
            continue;
        const TColor colour =
            edit == FUi->EditIntegratorIntern ? TColor(clSystemColor | 0) : clBtnFace;
        QPalette palette = edit->palette();
        palette.setColor(QPalette::Base, ColorToQColor(colour, palette));
        edit->setPalette(palette);
    }
}

void TFormMain::ConnectLogControls() {
    const auto button = [this](QPushButton* control, void (TFormMain::*handler)()) {
        connect(control, &QPushButton::clicked, this, handler);
    };
    button(FUi->ButtonRaderaTemp, &TFormMain::ButtonRaderaTempClick);
    button(FUi->ButtonRaderaState, &TFormMain::ButtonRaderaStateClick);
    button(FUi->ButtonSkrivUtTemp, &TFormMain::ButtonSkrivUtTempClick);
    button(FUi->ButtonSkrivUtState, &TFormMain::ButtonSkrivUtStateClick);
    button(FUi->ButtonCopyTemp, &TFormMain::ButtonCopyTempClick);
    button(FUi->ButtonCopyState, &TFormMain::ButtonCopyStateClick);
    button(FUi->ButtonSaveTempLoggToFile, &TFormMain::ButtonSaveTempLoggToFileClick);
    button(FUi->ButtonSaveStateLoggToFile, &TFormMain::ButtonSaveStateLoggToFileClick);
    button(FUi->ButtonGetTempLoggFromFile, &TFormMain::ButtonGetTempLoggFromFileClick);
    button(FUi->ButtonGetStateLoggFromFile, &TFormMain::ButtonGetStateLoggFromFileClick);
    connect(FUi->LaddaParametrar1, &QAction::triggered, this, &TFormMain::LaddaParametrar1Click);
}

void TFormMain::IOChange(TZuIO* Sender) {
    if (!Sender)
        return;
    Sender->WriteMsg = WriteFrame(*Sender);
    Sender->WriteRequest = true;
}

void TFormMain::CheckBoxOverVer1_7Click() {
    FImage->SetOlderVersion(FUi->CheckBoxOverVer1_7->isChecked());
}

void TFormMain::Avsluta1Click() {
    close();
}

void TFormMain::Om1Click() {
    if (AboutBox)
        AboutBox->exec();
}

THelpWindow& TFormMain::HelpWindow() {
    if (!FHelpWindow)
        FHelpWindow = new THelpWindow(this);
    return *FHelpWindow;
}

void TFormMain::Hjlp2Click() {
    HelpWindow().ShowContents();
}

void TFormMain::HelpKey() {
    for (QWidget* widget = QApplication::focusWidget(); widget; widget = widget->parentWidget()) {
        const int topic = widget->property(kHelpContextProperty).toInt();
        if (topic != 0) {
            HelpWindow().ShowTopic(topic);
            return;
        }
    }
    HelpWindow().ShowContents();
}

bool TFormMain::SendMsg(const QByteArray& frame) {
    return FLink->Transaction().SendMsg(frame);
}

void TFormMain::ScanNext() {
    FLink->Scheduler().ScanNext();
}

void TFormMain::ButtonStartClick() {
    TGlodrikApplication::Guarded([this] { FLink->ButtonStartClick(); });
}

void TFormMain::Connect() {
    FLink->Connect();
}

void TFormMain::Disconnect() {
    FLink->Disconnect();
}

void TFormMain::ButtonUpdateAllClick() {
    FLink->ButtonUpdateAllClick();
}

void TFormMain::CheckBoxStateLiveClick() {
    const bool live = FUi->CheckBoxStateLive->isChecked();
    FImage->SetSwitchedScan(live);
    for (QLineEdit* edit : {FUi->EditTimer1, FUi->EditTimer2, FUi->EditTimer3, FUi->EditTimer4,
                            FUi->EditMainState, FUi->EditPortB})
        edit->setEnabled(live); // stays read-only
}

void TFormMain::FormCreate() {}

void TFormMain::FormClose() {
    FLink->FormClose();
}

void TFormMain::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TFormMain::Timer1Timer() {
    if (FUi->CheckBoxLoggaTemp->isChecked())
        FLogs->SampleTemperature();
    if (FUi->CheckBoxLoggaState->isChecked())
        FLogs->SampleSequence();
    TTransaction& transaction = FLink->Transaction();
    FUi->LabelFotoProcent->setText(QString::number(transaction.FotoProcent) + u'%');
    FUi->LabelFreq->setText(QString::number(transaction.FreqCount) + QStringLiteral(" Hz"));
    transaction.FreqCount = 0;
}

std::function<QDateTime()> TFormMain::Now = [] { return QDateTime::currentDateTime(); };

void TFormMain::ButtonRaderaTempClick() {
    FLogs->EraseTemperature();
}

void TFormMain::ButtonRaderaStateClick() {
    FLogs->EraseSequence();
}

void TFormMain::PrintChart(TChart& chart) {
    TGlodrikApplication::Guarded([&] {
        QPrinter printer(QPrinter::HighResolution);
        if (PrintDialog1->Execute(printer, this))
            chart.Print(printer);
    });
}

void TFormMain::ButtonSkrivUtTempClick() {
    PrintChart(*FUi->Chart1);
}

void TFormMain::ButtonSkrivUtStateClick() {
    PrintChart(*FUi->Chart2);
}

void TFormMain::ButtonCopyTempClick() {
    FUi->Chart1->CopyToClipboardBitmap();
}

void TFormMain::ButtonCopyStateClick() {
    FUi->Chart2->CopyToClipboardBitmap();
}

namespace {

const char* const kTempLoggFilter = "TemperaturLogg(*.Log)|*.Log";
const char* const kStateLoggFilter = "SekvensLogg(*.Seq)|*.Seq";

// The lines of a free-text field as the log file stores them: none for an empty field.
QStringList MemoLines(const QPlainTextEdit& memo) {
    const QString text = memo.toPlainText();
    if (text.isEmpty())
        return {};
    return text.split(u'\n');
}

} // namespace

void TFormMain::SaveLogg(const QString& filter, const QList<TChartSeries*>& series,
                         const QPlainTextEdit& memo) {
    TGlodrikApplication::Guarded([&] {
        TFilterScope scope(*SaveDialog1, filter);
        if (!SaveDialog1->Execute(this))
            return;
        const QLocale locale;
        // The new file replaces an existing one only once it is complete.
        SaveLogFile(SaveDialog1->FileName,
                    LogFileLines(LoggHeaderLines(*FImage, QStringLiteral("!"), Now(), locale),
                                 MemoLines(memo), series, locale));
    });
}

void TFormMain::ReadLogg(const QString& filter, TChart& chart, const QList<TChartSeries*>& series,
                         QPlainTextEdit& memo, TRowReader readLine) {
    TGlodrikApplication::Guarded([&] {
        TFilterScope scope(*OpenDialog2, filter);
        if (!OpenDialog2->Execute(this))
            return;
        // Only a file that could be read replaces the log.
        const QStringList lines = ReadLogFileLines(OpenDialog2->FileName);
        for (TChartSeries* one : series)
            one->Clear();
        chart.UndoZoom();
        memo.clear();
        QStringList memoLines;
        const auto addMemoLine = [&memoLines](const QString& line) { memoLines << line; };
        const auto showMemo = [&] {
            if (!memoLines.isEmpty())
                memo.setPlainText(memoLines.join(u'\n'));
        };
        const QLocale locale;
        try {
            for (const QString& line : lines)
                readLine(line, series, addMemoLine, locale);
        } catch (...) {
            showMemo(); // what was read before the bad row stays
            throw;
        }
        showMemo();
    });
}

void TFormMain::ButtonSaveTempLoggToFileClick() {
    SaveLogg(QString::fromLatin1(kTempLoggFilter), FLogs->TemperatureSeries(), *FUi->MemoTemp);
}

void TFormMain::ButtonSaveStateLoggToFileClick() {
    SaveLogg(QString::fromLatin1(kStateLoggFilter), FLogs->SequenceSeries(), *FUi->MemoState);
}

void TFormMain::ButtonGetTempLoggFromFileClick() {
    ReadLogg(QString::fromLatin1(kTempLoggFilter), *FUi->Chart1, FLogs->TemperatureSeries(),
             *FUi->MemoTemp, &ReadTempLoggLine);
}

void TFormMain::ButtonGetStateLoggFromFileClick() {
    ReadLogg(QString::fromLatin1(kStateLoggFilter), *FUi->Chart2, FLogs->SequenceSeries(),
             *FUi->MemoState, &ReadStateLoggLine);
}

void TFormMain::LaddaParametrar1Click() {
    TGlodrikApplication::Guarded([this] {
        TFilterScope scope(*OpenDialog1, QStringLiteral("Parameterfil(*.Txt)|*.Txt"));
        if (!OpenDialog1->Execute(this))
            return;
        const QString fileName = OpenDialog1->FileName;
        if (!QFileInfo::exists(fileName))
            TMessageBox::Show(TMessageBox::TKind::Information, QStringLiteral("Skapar ") + fileName,
                              this);
        LoadParameterFile(fileName, *FImage, QLocale());
    });
}

TRunComThread* TFormMain::ComThread() const {
    return FLink->ComThread();
}

void TFormMain::UppdateraStyrprogram1Click() {
    TGlodrikApplication::Guarded([this] {
        using TKind = TMessageBox::TKind;
        if (ComThread()) {
            TMessageBox::Show(TKind::Information,
                              QString::fromUtf8("Du måste stäng av anslutning till styrningen "
                                                "innan uppdatering kan ske."),
                              this);
            return;
        }
        if (!TMessageBox::AskYesNo(
                TKind::Warning,
                QString::fromUtf8(
                    "Är du säker på att du vill uppdatera programvaran i Styrningen ?"),
                this))
            return;
        TMessageBox::Show(
            TKind::Information,
            QString::fromUtf8("1. Slå av strömmen till Styrningen.\n\r2. Kortslut JP3 "
                              "och Slå till strömmen\n\r3. Ta bort kortslutningen "
                              "på JP3"),
            this);
        OpenDialog1->FileName.clear();
        if (!OpenDialog1->Execute(this))
            return;
        const QString fileName = OpenDialog1->FileName;
        auto form = std::make_unique<TDownLoadForm>(this);
        form->setWindowTitle(QStringLiteral("DownLoad ") + fileName);
        form->ApdComPort1->SetBaud(ComPort1->Baud());
        form->ApdComPort1->SetComNumber(ComPort1->ComNumber());
        form->LoadProgramFile(fileName); // a file that cannot be read ends here, shown
        form->FAddressLimit = 16384;
        // The dialog frees itself when it closes.
        form.release()->exec();
    });
}
