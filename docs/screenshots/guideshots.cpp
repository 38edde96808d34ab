// Takes the pictures of the user guide: runs the real main window against
// kolvo-sim, goes through what the guide describes (connecting, the status
// page, logging, loading parameters, updating the program, the About box)
// and saves each view as a PNG. scripts/screenshots runs it under xvfb.
//
//   guideshots <folder>

#include "benchsupport.h"
#include "programfile.h"
#include "programicon.h"
#include "soakwait.h"
#include "taboutbox.h"
#include "tdownloadform.h"
#include "tformmain.h"
#include "tglodrikapplication.h"
#include "tprocessimage.h"
#include "tzuio.h"
#include "ui_tdownloadform.h"
#include "ui_tformmain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>

#include <cstdio>
#include <deque>

namespace {

constexpr int kCom = 37;
constexpr int kPaintMs = 400;     // a dialog's first paint, before it is taken
constexpr int kListingMs = 1200;  // a file dialog reads its folder in the background
constexpr int kStepMs = 20000;    // the longest any step may take
constexpr int kBurningMs = 90000; // the longest wait for the flame to heat up
constexpr int kBurningTemperature = 640;
constexpr int kSettleMs = 6000; // the window fills in after connecting
constexpr int kShotsDeadlineMs = 240000;

QString folder;
int failures = 0;

void Fail(const QString& what) {
    std::fprintf(stderr, "guideshots: %s\n", qPrintable(what));
    ++failures;
}

void Save(QWidget* widget, const QString& name) {
    const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
    if (!widget->grab().save(path, "PNG"))
        Fail(QStringLiteral("cannot write %1").arg(path));
    else
        std::printf("guideshots: %s\n", qPrintable(path));
    std::fflush(stdout);
}

// Answers the modal dialogs a command opens, one handler for each dialog in
// the order they come; a handler takes its picture and closes its dialog.
class TModalScript {
public:
    using THandler = std::function<void(QWidget* dialog)>;

    TModalScript() {
        FPoll.setInterval(50);
        QObject::connect(&FPoll, &QTimer::timeout, [this] { Look(); });
    }
    // Runs `command` (which returns when its last dialog has closed) with
    // `handlers` answering its dialogs; whether every handler ran.
    bool Run(const std::function<void()>& command, std::deque<THandler> handlers) {
        FHandlers = std::move(handlers);
        FCurrent = nullptr;
        FPoll.start();
        command();
        WaitUntil([this] { return FHandlers.empty() && !FBusy; }, kStepMs);
        FPoll.stop();
        return FHandlers.empty();
    }

private:
    void Look() {
        QWidget* modal = QApplication::activeModalWidget();
        if (FBusy || !modal || modal == FCurrent || FHandlers.empty() || !modal->isVisible())
            return;
        FCurrent = modal;
        FBusy = true;
        THandler handler = std::move(FHandlers.front());
        FHandlers.pop_front();
        QPointer<QWidget> dialog(modal);
        QTimer::singleShot(kPaintMs, [this, dialog, handler] {
            if (dialog)
                handler(dialog);
            FBusy = false;
        });
    }

    QTimer FPoll;
    std::deque<THandler> FHandlers;
    QPointer<QWidget> FCurrent; // a dialog closed is no longer current
    bool FBusy = false;
};

void Press(QWidget* dialog, QMessageBox::StandardButton which) {
    if (auto* box = qobject_cast<QMessageBox*>(dialog); box && box->button(which))
        box->button(which)->click();
    else
        Fail(QStringLiteral("a message box without the expected button"));
}

// Chooses `path` in a file dialog; takes its picture first when `name` is given.
void ChooseFile(QWidget* dialog, const QString& path, const QString& name = {}) {
    auto* files = qobject_cast<QFileDialog*>(dialog);
    if (!files) {
        Fail(QStringLiteral("expected a file dialog"));
        return;
    }
    files->setDirectory(QFileInfo(path).absolutePath());
    RunFor(kListingMs);
    files->selectFile(path);
    // The name box is what the dialog accepts; it stays empty when the listing
    // came too late for the selection.
    if (auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        name && name->text().isEmpty())
        name->setText(QFileInfo(path).fileName());
    RunFor(kPaintMs);
    if (!name.isEmpty())
        Save(files, name);
    static_cast<QDialog*>(files)->accept(); // the dialog's own accept, by its public base
    if (files->isVisible()) {
        Fail(QStringLiteral("the file dialog did not take %1").arg(path));
        files->reject();
    }
}

bool WriteFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray ParameterFile() {
    return "[Parametrar]\r\n"
           "T1 = 15,00\r\nT2 = 4,00\r\nT2B = 6,00\r\nT3 = 30,00\r\nT4 = 3,00\r\n"
           "Periodtid = 30,00\r\nT7 = 60,00\r\nT8 = 120,00\r\nVMax = 300,00\r\n"
           "VTill = 60,00\r\nTempSet = 70\r\nPulsKvotMax = 60\r\nPulsKvotMin = 15\r\n"
           "LarmTemp = 95\r\n";
}

// A short program: a few records under the boot loader's address limit and the end record.
QByteArray ProgramFile() {
    QByteArray text;
    for (int address = 0; address < 0x200; address += 16)
        text += MakeHexRecord(address, 0, QByteArray(16, char(address / 16))) + "\r\n";
    return text + ":00000001FF\r\n";
}

bool StartSim(QProcess& simulator, const QStringList& arguments) {
    return StartSimulator(simulator,
                          QStringList{QStringLiteral("--com"), QString::number(kCom)} + arguments);
}

void StopSim(QProcess& simulator) {
    simulator.terminate();
    if (!simulator.waitForFinished(3000))
        simulator.kill();
}

void ShowPage(TFormMain& form, QWidget* page) {
    form.Form().PageControl1->setCurrentWidget(page);
    RunFor(kPaintMs);
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir runtime;
    // Under xvfb the window is drawn by the X server; only the link folder is the guide's own.
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    TGlodrikApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: guideshots <folder>\n");
        return 2;
    }
    folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
    TGlodrikApplication::setWindowIcon(ProgramIcon());

    // The sample files, in a folder whose name reads well in the file dialog's picture.
    const QString files = runtime.filePath(QStringLiteral("Kolvo"));
    QDir().mkpath(files);
    const QString parameters = QDir(files).filePath(QStringLiteral("Parametrar.Txt"));
    const QString program = QDir(files).filePath(QStringLiteral("Kolvo108.Hex"));
    if (!WriteFile(parameters, ParameterFile()) || !WriteFile(program, ProgramFile()))
        Fail(QStringLiteral("cannot write the sample files"));

    QProcess simulator;
    QTimer::singleShot(kShotsDeadlineMs, [&simulator] {
        std::fprintf(stderr, "guideshots: did not finish in time\n");
        simulator.kill();
        std::_Exit(1);
    });
    // Faster than life, with a steady demand for heat: the start sequence within a minute.
    if (!StartSim(simulator, {QStringLiteral("--speed"), QStringLiteral("8"),
                              QStringLiteral("--demand"), QStringLiteral("on")}))
        return 1;
    TFormMain form;
    TAboutBox about;
    form.AboutBox = &about;
    // The virtual screen has no window manager to maximize the window: fill it.
    form.show();
    form.setGeometry(form.screen()->availableGeometry());
    RunFor(1000);
    Ui::TFormMain& ui = form.Form();
    TModalScript script;

    // Connecting: the port prompt, COM37 chosen.
    const auto choosePort = [](QWidget* dialog) {
        auto* ports = dialog->findChild<QComboBox*>();
        const int index = ports ? ports->findText(QStringLiteral("COM%1").arg(kCom)) : -1;
        if (index < 0) {
            Fail(QStringLiteral("COM%1 is not offered").arg(kCom));
            return;
        }
        ports->setCurrentIndex(index);
        RunFor(kPaintMs);
        Save(dialog, QStringLiteral("valj-port"));
        qobject_cast<QDialog*>(dialog)->accept();
    };
    if (!script.Run([&] { ui.ButtonStart->click(); }, {choosePort}))
        Fail(QStringLiteral("no port prompt"));
    if (!WaitUntil([&] { return form.ComThread() != nullptr; }, kStepMs))
        Fail(QStringLiteral("no connection"));
    ui.CheckBoxLoggaTemp->setChecked(true);
    ui.CheckBoxLoggaState->setChecked(true);
    ui.CheckBoxStateLive->click();
    ui.MemoTemp->setPlainText(QString::fromUtf8("Provkörning mot kolvo-sim."));
    ui.MemoState->setPlainText(QString::fromUtf8("Provkörning mot kolvo-sim."));
    // The burner starts and its flame heats up into the chart's range (500 to 800).
    const TZuIO* temperature = form.Image().Point(QStringLiteral("Temperatur"));
    RunFor(kSettleMs);
    WaitUntil([&] { return temperature && temperature->Value() >= kBurningTemperature; },
              kBurningMs);
    RunFor(kSettleMs);
    Save(&form, QStringLiteral("status"));

    // Logging: both charts, from the start of the sequence on.
    ShowPage(form, ui.TabSheet4);
    Save(&form, QStringLiteral("temperatur"));
    ShowPage(form, ui.TabSheet3);
    Save(&form, QStringLiteral("sekvens"));
    ShowPage(form, ui.TabSheet5);

    // Loading parameters: the file dialog with the parameter file chosen.
    if (!script.Run([&] { ui.LaddaParametrar1->trigger(); }, {[&](QWidget* dialog) {
                        ChooseFile(dialog, parameters, QStringLiteral("ladda-parametrar"));
                    }}))
        Fail(QStringLiteral("no file dialog for the parameters"));
    RunFor(3000); // the values go out to the simulator

    // Updating the program: disconnected, with the simulator playing the boot loader.
    ui.ButtonStart->click();
    WaitUntil([&] { return form.ComThread() == nullptr; }, kStepMs);
    StopSim(simulator);
    if (!StartSim(simulator, {QStringLiteral("--bootloader")}))
        return 1;
    const bool updated = script.Run(
        [&] { ui.UppdateraStyrprogram1->trigger(); },
        {[](QWidget* box) { Press(box, QMessageBox::Yes); },
         [](QWidget* box) {
             Save(box, QStringLiteral("uppdatera-instruktioner"));
             Press(box, QMessageBox::Ok);
         },
         [&](QWidget* dialog) { ChooseFile(dialog, program); },
         [](QWidget* dialog) {
             auto* download = qobject_cast<TDownLoadForm*>(dialog);
             if (!download) {
                 Fail(QStringLiteral("expected the download dialog"));
                 return;
             }
             Save(download, QStringLiteral("uppdatera"));
             QTimer::singleShot(0, download, [download] { download->Form().ButtonStart->click(); });
         },
         [](QWidget* box) {
             Save(box, QStringLiteral("uppdatera-klar"));
             Press(box, QMessageBox::Ok);
         }});
    if (!updated)
        Fail(QStringLiteral("the update did not go through its dialogs"));
    StopSim(simulator);

    // The About box.
    if (!script.Run([&] { ui.Om1->trigger(); }, {[](QWidget* dialog) {
                        Save(dialog, QStringLiteral("om"));
                        qobject_cast<QDialog*>(dialog)->accept();
                    }}))
        Fail(QStringLiteral("no About box"));

    form.close();
    return failures == 0 ? 0 : 1;
}
