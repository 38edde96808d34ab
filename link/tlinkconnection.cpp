#include "tlinkconnection.h"

#include "tapdcomport.h"
#include "tled.h"
#include "truncomthread.h"
#include "tzuiolist.h"

#include <QCoreApplication>
#include <QLabel>
#include <QTimer>

#include <exception>

TLinkConnection::TLinkConnection(const TLinkParts& parts, QObject* parent)
    : QObject(parent), FParts(parts), FTransaction(parts), FScheduler(parts, FTransaction) {}

TLinkConnection::~TLinkConnection() {
    // Workers still winding down end before this object goes: they may be
    // waiting for a step, which is let through (and does nothing) here.
    ScanEnabled = false;
    FComThread = nullptr;
    for (TRunComThread* worker : findChildren<TRunComThread*>()) {
        worker->requestInterruption();
        while (!worker->wait(5))
            QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    }
}

void TLinkConnection::ButtonStartClick() {
    if (FParts.LedConnected->GetOn()) {
        Disconnect();
        return;
    }
    if (FParts.Inputs)
        FParts.Inputs->UpdateWithNoEvent(255);
    Connect();
}

void TLinkConnection::Connect() {
    if (!FParts.ComPort1->Open())
        FParts.ComPort1->SetOpen(true);
    auto* worker = new TRunComThread(
        this, [this](TRunComThread* sender) { SyncScan(sender); }, ScanEnabled);
    connect(worker, &QThread::finished, this, [this, worker] {
        ComThreadTerminate(worker);
        worker->deleteLater(); // frees itself once ended
    });
    FComThread = worker;
    FParts.LedConnected->SetOn(true);
    worker->start();
    ScanEnabled = true;
    FParts.Timer1->start();
}

void TLinkConnection::Disconnect() {
    if (FComThread)
        FComThread->requestInterruption();
    SwitchOff();
}

void TLinkConnection::SwitchOff() {
    ScanEnabled = false;
    FParts.Timer1->stop();
    FParts.LedConnected->SetOn(false);
    FTransaction.FreqCount = 0;
    FParts.LabelFreq->setText(QStringLiteral("0 Hz"));
}

void TLinkConnection::SyncScan(TRunComThread* sender) {
    // Only the current worker's steps run, and never one inside another
    // (a step handed over while an earlier one waits for its reply).
    if (sender != FComThread || FStepRunning)
        return;
    ScanEnabled = false;
    FStepRunning = true;
    try {
        FScheduler.ScanNext();
    } catch (const std::exception& error) {
        EndWorker(sender, QString::fromUtf8(error.what()));
        return;
    } catch (...) {
        EndWorker(sender, QString());
        return;
    }
    FStepRunning = false;
    ScanEnabled = true;
}

void TLinkConnection::EndWorker(TRunComThread* sender, const QString& error) {
    FStepRunning = false;
    sender->Failed = true;
    sender->Error = error;
    sender->requestInterruption();
}

void TLinkConnection::ComThreadTerminate(TRunComThread* sender) {
    if (sender != FComThread)
        return; // an earlier connection's worker: the current link is none of its business
    TApdComPort& port = *FParts.ComPort1;
    const bool failed = sender->Failed;
    if (failed)
        SwitchOff();
    // No step follows any more: close the port unless the link is still on.
    if (port.Open() && (!FParts.LedConnected->GetOn() || failed)) {
        try {
            port.FlushInBuffer();
            port.FlushOutBuffer();
        } catch (const std::exception&) {
            // A line that is gone cannot be flushed; it is closed all the same.
        }
        port.SetOpen(false);
    }
    FComThread = nullptr;
    if (failed && OnLinkError)
        OnLinkError(sender->Error);
}

void TLinkConnection::ButtonUpdateAllClick() {
    TThreadList<TZuIO>::Locked items(FParts.IOList->Items);
    for (TZuIO* point : *items)
        point->UpdateRequest = true;
}

void TLinkConnection::FormClose() {
    if (FParts.LedConnected->GetOn())
        Disconnect();
    if (FParts.Timer1->isActive())
        FParts.Timer1->stop();
    if (FParts.ComPort1->Open())
        FParts.ComPort1->SetOpen(false);
}
