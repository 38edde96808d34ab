#pragma once

#include <QByteArray>

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

// Sends one line exactly as it stands (nothing added, nothing flushed) and
// collects the echo and the status character within one second of the
// write. `reply` receives every character received during the exchange.
// Opens the port first if it is closed; the port's errors are not caught.
DownloadResult SendProgramLine(TApdComPort& port, const QByteArray& line, QByteArray& reply);
