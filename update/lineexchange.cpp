#include "lineexchange.h"

#include "eventtimer.h"
#include "tapdcomport.h"

TLineExchange::TStep TLineExchange::Add(char c) {
    FReply += c;
    const qsizetype received = FReply.size();
    if (received <= FLine.size()) {
        // An echo is due: "S" finishes at once, anything else must match.
        if (c == 'S')
            return {DownloadResult::Finished, true};
        if (c != FLine[received - 1])
            return {DownloadResult::EchoError, true};
        return {};
    }
    if (c == '.')
        return {DownloadResult::LineAccepted, false};
    if (c == 'S')
        return {DownloadResult::Finished, false};
    if (c == 'F')
        return {DownloadResult::CannotProgram, true};
    return {};
}

DownloadResult SendProgramLine(TApdComPort& port, const QByteArray& line, QByteArray& reply) {
    reply.clear();
    TLineExchange exchange(line);
    if (!port.Open())
        port.SetOpen(true);
    port.PutString(line);

    EventTimer timer;
    NewTimerSecs(timer, 1);
    for (;;) {
        port.ProcessCommunications();
        TLineExchange::TStep step;
        if (port.CharReady()) {
            step = exchange.Add(port.GetChar());
            reply = exchange.Reply();
            if (step.Final)
                return step.Result;
        }
        // Out of time: also when the status came in this very pass.
        if (TimerExpired(timer))
            return DownloadResult::NoReply;
        if (step.Result != DownloadResult::None)
            return step.Result;
    }
}
