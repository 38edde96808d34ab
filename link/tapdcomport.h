#pragma once

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

// A serial port addressed by its number COM1..COM50, with the operations the
// link and the boot-loader download use. Reception runs in the background
// while the port is open: characters that arrive between calls wait, in
// order, until taken with GetChar or discarded. Errors are EAPDException.
class TApdComPort : public QObject {
    Q_OBJECT

public:
    enum class TParity { pNone, pOdd, pEven, pMark, pSpace };
    enum class TSWFlowOptions { swfNone, swfReceive, swfTransmit, swfBoth };
    enum THWFlowOption { hwfUseDTR = 1, hwfUseRTS = 2, hwfRequireDSR = 4, hwfRequireCTS = 8 };

    explicit TApdComPort(QObject* Owner = nullptr);
    ~TApdComPort() override;

    // 0: no port chosen yet; Open then asks (when PromptForPort is on).
    quint16 ComNumber() const { return FComNumber; }
    // On an open port a new number closes it and opens it on the new number.
    void SetComNumber(quint16 comNumber);

    qint32 Baud() const { return FBaud; }
    // On an open port a new rate takes effect at once.
    void SetBaud(qint32 baud);

    TParity Parity = TParity::pNone;
    quint16 DataBits = 8;
    quint16 StopBits = 1;
    int HWFlowOptions = 0;
    TSWFlowOptions SWFlowOptions = TSWFlowOptions::swfNone;
    bool DTR = true;
    bool RTS = true;
    quint16 InSize = 4096;
    quint16 OutSize = 4096;
    bool PromptForPort = true;
    // On: an operation on a closed port opens it. Off: it fails.
    bool AutoOpen = true;

    bool Open() const { return FSerial.isOpen(); }
    // true opens the device of ComNumber and empties both buffers (asking for
    // a port first when ComNumber is 0); false closes the port, dropping
    // what was not yet read or sent. Setting the current state does nothing.
    void SetOpen(bool open);

    // Queues the characters for sending, unchanged, and returns at once.
    void PutString(const QByteArray& text);
    // True while a received character has not been taken.
    bool CharReady();
    // Takes the oldest received character.
    char GetChar();
    void FlushInBuffer();
    void FlushOutBuffer();
    // Lets reception and sending run and gives up the rest of the time slice.
    void ProcessCommunications();
    // Sleeps up to `ms` milliseconds, less when a character arrives first.
    void WaitForChar(int ms);

    // Characters handed to the driver and taken by GetChar since the port was created.
    quint64 CharsSent() const { return FCharsSent; }
    quint64 CharsReceived() const { return FCharsReceived; }

    // Asks the user for a port; none when cancelled. Replaced by tests.
    static std::function<std::optional<int>(QWidget* parent)> PortPrompt;

    // Whether port n exists: a test open succeeds, or fails only because
    // another program holds it or the user lacks permission.
    static bool PortExists(int comNumber);

private:
    void OpenPort();
    void ClosePort();
    void Configure();
    void RequireOpen();
    void PullReceived();
    void Send();
    // A line that went away (a pulled adapter, a closed peer) fails every
    // further operation with the system's text.
    void CheckLine();
    void NoteLineError(const QString& text);
    QWidget* PromptParent() const;
    [[noreturn]] void ThrowOpenError(const QString& device);
    [[noreturn]] void ThrowDriverError(const QString& what);

    quint16 FComNumber = 0;
    qint32 FBaud = 19200;
    QSerialPort FSerial;
    QString FLineError;
    quint64 FCharsSent = 0;
    quint64 FCharsReceived = 0;
};
