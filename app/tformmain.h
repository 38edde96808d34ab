#pragma once

#include <QMainWindow>

#include <memory>

namespace Ui {
class TFormMain;
}
class QTimer;
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
    // Minimal tick until the logs come: the reply rate, reset every second.
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

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void SetUpEditBoxes();
    void SetUpCharts();

    std::unique_ptr<Ui::TFormMain> FUi;
    std::unique_ptr<TProcessImage> FImage;
    TLinkConnection* FLink = nullptr;
    THelpWindow* FHelpWindow = nullptr;
};

// The help topic of a control, as the help key uses it.
constexpr const char* kHelpContextProperty = "HelpContext";
