#include "tapdcomport.h"

#include "comdevices.h"
#include "eapdexception.h"
#include "tcomselectform.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QWidget>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <poll.h>
#include <unistd.h>
#endif

std::function<std::optional<int>(QWidget*)> TApdComPort::PortPrompt = [](QWidget* parent) {
    return TComSelectForm::AskForPort(parent);
};

namespace {

QSerialPort::Parity ToQt(TApdComPort::TParity parity) {
    switch (parity) {
    case TApdComPort::TParity::pOdd:
        return QSerialPort::OddParity;
    case TApdComPort::TParity::pEven:
        return QSerialPort::EvenParity;
    case TApdComPort::TParity::pMark:
        return QSerialPort::MarkParity;
    case TApdComPort::TParity::pSpace:
        return QSerialPort::SpaceParity;
    case TApdComPort::TParity::pNone:
        break;
    }
    return QSerialPort::NoParity;
}

// The user lacks the rights to the device (as opposed to another program holding it).
std::optional<QString> PermissionProblem(const QString& device) {
#ifdef Q_OS_UNIX
    const QByteArray path = QFile::encodeName(device);
    if (::access(path.constData(), R_OK | W_OK) != 0 && (errno == EACCES || errno == EPERM)) {
        return QStringLiteral("%1 (%2). Användaren saknar behörighet till porten: lägg till "
                              "användaren i gruppen dialout (sudo usermod -aG dialout $USER) och "
                              "logga in igen")
            .arg(QString::fromLocal8Bit(std::strerror(errno)), device);
    }
#else
    Q_UNUSED(device);
#endif
    return std::nullopt;
}

} // namespace

TApdComPort::TApdComPort(QObject* Owner) : QObject(Owner) {
    connect(&FSerial, &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError error) {
                if (error == QSerialPort::ResourceError && FSerial.isOpen())
                    NoteLineError(FSerial.errorString());
            });
}

TApdComPort::~TApdComPort() {
    ClosePort();
}

void TApdComPort::SetComNumber(quint16 comNumber) {
    if (comNumber == FComNumber)
        return;
    FComNumber = comNumber;
    if (Open()) {
        ClosePort();
        OpenPort();
    }
}

void TApdComPort::SetBaud(qint32 baud) {
    if (baud == FBaud)
        return;
    FBaud = baud;
    if (Open() && !FSerial.setBaudRate(baud))
        ThrowDriverError(FSerial.errorString());
}

void TApdComPort::SetOpen(bool open) {
    if (open == Open())
        return;
    if (open)
        OpenPort();
    else
        ClosePort();
}

QWidget* TApdComPort::PromptParent() const {
    for (QObject* owner = parent(); owner; owner = owner->parent()) {
        if (auto* widget = qobject_cast<QWidget*>(owner))
            return widget->window();
    }
    return QApplication::activeWindow();
}

void TApdComPort::OpenPort() {
    if (FComNumber == 0) {
        if (!PromptForPort)
            throw EAPDException::NoPortSelected();
        const std::optional<int> chosen = PortPrompt ? PortPrompt(PromptParent()) : std::nullopt;
        if (!chosen || *chosen <= 0)
            throw EAPDException::NoPortSelected();
        FComNumber = quint16(*chosen);
    }
    const QString device = ComDevicePath(FComNumber);
    if (device.isEmpty() || !QFileInfo::exists(device))
        throw EAPDException::BadId();
    if (const std::optional<QString> problem = PermissionProblem(device))
        throw EAPDException(-EACCES, *problem);

    FSerial.setPortName(device);
    Configure();
    if (!FSerial.open(QIODevice::ReadWrite))
        ThrowOpenError(device);
    // Modem lines: a pseudo-terminal has none, which is no reason to fail.
    FSerial.setDataTerminalReady(DTR);
    FSerial.setRequestToSend(RTS);
    FSerial.clear(QSerialPort::AllDirections);
    FSerial.clearError();
    FLineError.clear();
}

void TApdComPort::Configure() {
    FSerial.setBaudRate(FBaud);
    FSerial.setDataBits(static_cast<QSerialPort::DataBits>(DataBits));
    FSerial.setParity(ToQt(Parity));
    FSerial.setStopBits(StopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    FSerial.setFlowControl((HWFlowOptions & (hwfUseRTS | hwfRequireCTS))
                               ? QSerialPort::HardwareControl
                           : SWFlowOptions != TSWFlowOptions::swfNone ? QSerialPort::SoftwareControl
                                                                      : QSerialPort::NoFlowControl);
    FSerial.setReadBufferSize(0); // unlimited: nothing received is lost between calls
}

void TApdComPort::ThrowOpenError(const QString& device) {
    const QSerialPort::SerialPortError error = FSerial.error();
    const QString text = FSerial.errorString();
    FSerial.clearError();
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        throw EAPDException::BadId();
    case QSerialPort::PermissionError:
        // Rights were checked before the open: what is refused now is the
        // lock or the exclusive use another program holds.
        throw EAPDException::AlreadyOpen();
    default:
        throw EAPDException(ecDriverError, QStringLiteral("%1 (%2)").arg(text, device));
    }
}

void TApdComPort::ThrowDriverError(const QString& what) {
    FSerial.clearError();
    throw EAPDException(ecDriverError, what);
}

void TApdComPort::ClosePort() {
    if (!FSerial.isOpen())
        return;
    FSerial.clear(QSerialPort::AllDirections);
    FSerial.close();
    FSerial.clearError();
    FLineError.clear();
}

void TApdComPort::NoteLineError(const QString& text) {
    if (FLineError.isEmpty())
        FLineError =
            QStringLiteral("Förbindelsen genom %1 bröts: %2").arg(FSerial.portName(), text);
}

void TApdComPort::CheckLine() {
    if (!FLineError.isEmpty())
        throw EAPDException(ecDriverError, FLineError);
}

void TApdComPort::RequireOpen() {
    if (Open())
        return;
    if (!AutoOpen)
        throw EAPDException::NotOpen();
    OpenPort();
}

void TApdComPort::PullReceived() {
#ifdef Q_OS_UNIX
    // One look at the line: characters waiting are taken in, a hang-up noted.
    pollfd line{int(FSerial.handle()), POLLIN, 0};
    if (::poll(&line, 1, 0) <= 0)
        return;
    if (line.revents & POLLIN)
        FSerial.waitForReadyRead(0);
    else if (line.revents & (POLLHUP | POLLERR | POLLNVAL))
        NoteLineError(QString::fromLocal8Bit(std::strerror(EIO)));
#else
    if (!FSerial.waitForReadyRead(0))
        FSerial.clearError();
#endif
}

void TApdComPort::Send() {
    if (FSerial.bytesToWrite() > 0)
        FSerial.flush();
}

void TApdComPort::PutString(const QByteArray& text) {
    RequireOpen();
    if (text.isEmpty())
        return;
    CheckLine();
    if (FSerial.write(text) != text.size())
        ThrowDriverError(FSerial.errorString());
    FCharsSent += quint64(text.size());
    // Hand the characters to the driver now: waiting loops that do not
    // dispatch events must still see them leave.
    Send();
    CheckLine();
}

bool TApdComPort::CharReady() {
    RequireOpen();
    if (FSerial.bytesAvailable() > 0)
        return true;
    PullReceived();
    if (FSerial.bytesAvailable() > 0)
        return true;
    CheckLine();
    return false;
}

char TApdComPort::GetChar() {
    if (!CharReady())
        throw EAPDException(ecBufferIsEmpty, QStringLiteral("Inget mottaget tecken att läsa"));
    char c = 0;
    FSerial.getChar(&c);
    ++FCharsReceived;
    return c;
}

void TApdComPort::FlushInBuffer() {
    RequireOpen();
    FSerial.clear(QSerialPort::Input);
}

void TApdComPort::FlushOutBuffer() {
    RequireOpen();
    FSerial.clear(QSerialPort::Output);
}

void TApdComPort::ProcessCommunications() {
    RequireOpen();
    PullReceived();
    Send();
    CheckLine();
    QThread::yieldCurrentThread();
}

void TApdComPort::WaitForChar(int ms) {
    RequireOpen();
    if (FSerial.bytesAvailable() > 0)
        return;
#ifdef Q_OS_UNIX
    pollfd line{int(FSerial.handle()), POLLIN, 0};
    ::poll(&line, 1, ms);
#else
    QThread::msleep(ms);
#endif
}

bool TApdComPort::PortExists(int comNumber) {
    const QString device = ComDevicePath(comNumber);
    if (device.isEmpty() || !QFileInfo::exists(device))
        return false;
    if (PermissionProblem(device))
        return true; // listed, so that opening it explains what is missing
    QSerialPort probe;
    probe.setPortName(device);
    if (probe.open(QIODevice::ReadWrite)) {
        probe.close();
        return true;
    }
    return probe.error() == QSerialPort::PermissionError;
}
