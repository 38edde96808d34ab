#include "tpollscheduler.h"

#include "frames.h"
#include "tapdcomport.h"
#include "tled.h"
#include "ttransaction.h"
#include "tzuiolist.h"

namespace {

// (index + steps) mod n for a cursor that may be past the end of a shrunk list.
std::int32_t Position(std::int32_t index, qsizetype steps, qsizetype n) {
    const qsizetype start = ((qsizetype(index) % n) + n) % n;
    return std::int32_t((start + steps) % n);
}

} // namespace

void TPollScheduler::ScanNext() {
    TApdComPort& port = *FParts.ComPort1;
    {
        TThreadList<TZuIO>::Locked items(FParts.IOList->Items);
        const qsizetype n = items->size();
        bool sent = false;
        for (qsizetype i = 0; i < n; ++i) {
            TZuIO* point = items->at(Position(ScanIndex, i, n));
            if (point->UpdateRequest) {
                ScanIndex = Position(ScanIndex, i + 1, n);
                if (port.Open()) {
                    sent = true;
                    if (FTransaction.SendMsg(ReadFrame(point->MsgCode())))
                        point->UpdateRequest = false;
                }
                break;
            }
            if (point->WriteRequest) {
                ScanIndex = Position(ScanIndex, i + 1, n);
                if (port.Open()) {
                    sent = true;
                    const QByteArray frame = point->WriteMsg;
                    // A change made while this write waited has a frame of its
                    // own, still to be sent.
                    if (FTransaction.SendMsg(frame) && point->WriteMsg == frame)
                        point->WriteRequest = false;
                }
                break;
            }
        }
        if (!sent) {
            for (qsizetype i = 0; i < n; ++i) {
                TZuIO* point = items->at(Position(ScanIndex, i, n));
                if (!point->AutoScan)
                    continue;
                ScanIndex = Position(ScanIndex, i + 1, n);
                if (port.Open())
                    FTransaction.SendMsg(ReadFrame(point->MsgCode()));
                break;
            }
        }
    }
    if (!FParts.LedConnected->GetOn() && port.Open()) {
        port.FlushInBuffer();
        port.FlushOutBuffer();
        port.SetOpen(false);
    }
}
