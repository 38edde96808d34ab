#pragma once

#include <QDateTime>
#include <QMainWindow>
#include <QStringList>

#include <functional>
#include <memory>

namespace Ui {
class TFormMain;
}
class QPlainTextEdit;
class QTimer;
class TChart;
class TChartSeries;
class TLiveLogs;
class QCloseEvent;
class TAboutBox;
class TLinkConnection;
class TRunComThread;
class TApdComPort;
class TFileDialog;
class THelpWindow;
class TPrintDialog;
class TProcessImage;
class TZuIO;
class TZuIOList;

// The main window: the connection panel, the pages "Status",
// "Temperatur/Matning" and "Sekvensdiagram", the menus and the status bar,
// and the process image of the controller bound to its edit boxes and lamps.
class TFormMain : public QMainWindow {
    Q_OBJECT

public:
    explicit TFormMain(QWidget* parent = nullptr);
    ~TFormMain() override;

    Ui::TFormMain& Form() const { return *FUi; }
    TProcessImage& Image() const { return *FImage; }
    TZuIOList* IOList() const;

    // The link's port; opened only by "Anslut".
    TApdComPort* ComPort1;
    // Once a second while connected.
    QTimer* Timer1;
    TFileDialog* OpenDialog1; // program and parameter files
    TFileDialog* OpenDialog2; // log files to read
    TFileDialog* SaveDialog1; // log files to write
    TPrintDialog* PrintDialog1;
    // Created at start-up and shown by "Om".
    TAboutBox* AboutBox = nullptr;

    // A point changed locally: prepare its write request.
    void IOChange(TZuIO* Sender);

    // The link (its logic lives in TLinkConnection and the classes it owns).
    TLinkConnection& Link() const { return *FLink; }
    bool SendMsg(const QByteArray& frame);
    void ScanNext();
    void ButtonStartClick();
    void Connect();
    void Disconnect();
    void ButtonUpdateAllClick();
    void CheckBoxStateLiveClick();
    void FormCreate();
    void FormClose();
    // The one-second tick: a sample of each log being recorded, then the
    // photo-cell percentage and the reply rate, whose count starts again.
    void Timer1Timer();
    TRunComThread* ComThread() const;

    void CheckBoxOverVer1_7Click();
    // "&Uppdatera Styrprogram": replace the controller's program through its boot loader.
    void UppdateraStyrprogram1Click();
    void Avsluta1Click();
    void Om1Click();
    void Hjlp2Click();
    // The help key: the topic of the focused control (or of the nearest
    // parent that has one), else the contents.
    void HelpKey();

    THelpWindow& HelpWindow();

    // The logs (their logic lives in TLiveLogs and the log-file functions).
    TLiveLogs& Logs() const { return *FLogs; }
    void ButtonRaderaTempClick();
    void ButtonRaderaStateClick();
    void ButtonSkrivUtTempClick();
    void ButtonSkrivUtStateClick();
    void ButtonCopyTempClick();
    void ButtonCopyStateClick();
    void ButtonSaveTempLoggToFileClick();
    void ButtonSaveStateLoggToFileClick();
    void ButtonGetTempLoggFromFileClick();
    void ButtonGetStateLoggFromFileClick();
    // "&Ladda Parametrar": sets the points of a parameter file's values.
    void LaddaParametrar1Click();

    // The date and time a log file's header carries; tests fix it.
    static std::function<QDateTime()> Now;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void SetUpEditBoxes();
    void ConnectLogControls();

    // One log's file commands; a row reader interprets one line of a file.
    using TRowReader = void (*)(const QString& line, const QList<TChartSeries*>& series,
                                const std::function<void(const QString&)>& addMemoLine,
                                const QLocale& locale);
    void SaveLogg(const QString& filter, const QList<TChartSeries*>& series,
                  const QPlainTextEdit& memo);
    void ReadLogg(const QString& filter, TChart& chart, const QList<TChartSeries*>& series,
                  QPlainTextEdit& memo, TRowReader readLine);
    void PrintChart(TChart& chart);

    std::unique_ptr<Ui::TFormMain> FUi;
    std::unique_ptr<TProcessImage> FImage;
    TLinkConnection* FLink = nullptr;
    std::unique_ptr<TLiveLogs> FLogs;
    THelpWindow* FHelpWindow = nullptr;
};

// The help topic of a control, as the help key uses it.
constexpr const char* kHelpContextProperty = "HelpContext";
