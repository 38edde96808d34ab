#include "lineexchange.h"

#include "eventtimer.h"
#include "tapdcomport.h"

DownloadResult SendProgramLine(TApdComPort& port, const QByteArray& line, QByteArray& reply) {
    reply.clear();
    qsizetype received = 0;
    const qsizetype length = line.size();
    if (!port.Open())
        port.SetOpen(true);
    port.PutString(line);

    EventTimer timer;
    NewTimerSecs(timer, 1);
    DownloadResult result = DownloadResult::None;
    for (;;) {
        port.ProcessCommunications();
        if (port.CharReady()) {
            const char c = port.GetChar();
            ++received;
            reply += c;
            if (received <= length) {
                // An echo is due: "S" finishes at once, anything else must match.
                if (c == 'S')
                    return DownloadResult::Finished;
                if (c != line[received - 1])
                    return DownloadResult::EchoError;
            } else if (c == '.') {
                result = DownloadResult::LineAccepted;
            } else if (c == 'S') {
                result = DownloadResult::Finished;
            } else if (c == 'F') {
                return DownloadResult::CannotProgram;
            }
        }
        // Out of time: also when the status came in this very pass.
        if (TimerExpired(timer))
            result = DownloadResult::NoReply;
        if (result != DownloadResult::None)
            return result;
    }
}
