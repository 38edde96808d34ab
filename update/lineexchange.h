#pragma once

#include <QByteArray>
#include <QByteArrayView>

class TApdComPort;

// The result of one line exchange with the boot loader, numbered as the
// download dialog counts them.
enum class DownloadResult {
    None = 0,
    NoReply = 1,      // the second ran out first
    LineAccepted = 2, // echoed correctly, then "."
    Finished = 3,     // "S": programming finished
    EchoError = 4,    // an echoed character differed from the one sent
    CannotProgram = 5 // "F" after the echo: the processor cannot be programmed
};

// One line's exchange as the boot loader's characters come: the echo of
// every character of the line ("S" in place of any ends the download at
// once), then the status: "." accepted, "S" finished, "F" cannot program;
// other characters after the echo are ignored.
class TLineExchange {
public:
    struct TStep {
        DownloadResult Result = DownloadResult::None;
        // Decided for good; otherwise the result stands only if the second
        // has not run out in the same pass.
        bool Final = false;
    };

    explicit TLineExchange(QByteArrayView line) : FLine(line.toByteArray()) {}

    TStep Add(char c);
    // Every character received during the exchange.
    const QByteArray& Reply() const { return FReply; }

private:
    QByteArray FLine;
    QByteArray FReply;
};

// Sends one line exactly as it stands (nothing added, nothing flushed) and
// collects the echo and the status character within one second of the
// write. `reply` receives every character received during the exchange.
// Opens the port first if it is closed; the port's errors are not caught.
DownloadResult SendProgramLine(TApdComPort& port, const QByteArray& line, QByteArray& reply);
