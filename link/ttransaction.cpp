#include "ttransaction.h"

#include "eventtimer.h"
#include "frames.h"
#include "tapdcomport.h"
#include "tled.h"
#include "tzubit.h"
#include "tzuiolist.h"

#include <QCoreApplication>
#include <QLabel>

namespace {

constexpr int kFotoBlock = 20;

} // namespace

QString FrameCaption(const QByteArray& frame) {
    return QString::fromLatin1(frame);
}

bool TTransaction::SendMsg(const QByteArray& frame) {
    TReplyAssembler reply;
    TApdComPort& port = *FParts.ComPort1;
    if (!port.Open())
        return false;
    port.PutString(frame);
    FParts.Label98->setText(FrameCaption(frame));

    EventTimer timer;
    NewTimerSecs(timer, 1);
    do {
        port.ProcessCommunications();
        // Handlers run here: a disconnect, even the window closing, ends
        // the wait at the lamp test below, before the port is used again.
        QCoreApplication::processEvents();
        if (!FParts.LedConnected->GetOn())
            return false;
        if (port.CharReady())
            reply.Add(port.GetChar());
        // Sleep up to a millisecond unless a character is already waiting;
        // the sleep ends early when one comes, so no pass is spent idle.
        if (!reply.Complete())
            port.WaitForChar(1);
    } while (!reply.Complete() && !TimerExpired(timer));

    if (reply.Complete()) {
        ++Replies;
        FParts.IOList->UnpackMsg(reply.Text());
        Count(frame);
    }
    return reply.Complete();
}

void TTransaction::Count(const QByteArray& frame) {
    if (!FParts.Inputs || frame.size() < 3 || frame[2] != FParts.Inputs->MsgCode())
        return;
    ++FreqCount;
    ++FotoCount;
    if (FParts.FotoCell && FParts.FotoCell->Value() != 0)
        ++FotoOnCount;
    if (FotoCount == kFotoBlock) {
        FotoProcent = FotoOnCount * 100 / FotoCount;
        FotoOnCount = 0;
        FotoCount = 0;
    }
}
