#pragma once

#include "tlinkparts.h"
#include "tpollscheduler.h"
#include "truncomthread.h"
#include "ttransaction.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <atomic>
#include <functional>

// Connecting and disconnecting: opens the port, starts the worker that keeps
// poll steps coming, and switches the link on and off through the
// connection lamp. Lives on the user-interface thread; the worker reaches it
// only through the steps it hands over, and never after it is destroyed.
class TLinkConnection : public QObject {
    Q_OBJECT

public:
    explicit TLinkConnection(const TLinkParts& parts, QObject* parent = nullptr);
    ~TLinkConnection() override;

    TTransaction& Transaction() { return FTransaction; }
    TPollScheduler& Scheduler() { return FScheduler; }

    // "Anslut": disconnects when connected, else presets "Inputs" to 255
    // (without event) and connects.
    void ButtonStartClick();
    void Connect();
    void Disconnect();
    // The worker `sender` has ended.
    void ComThreadTerminate(TRunComThread* sender);
    // One poll step for the worker `sender`, on the user-interface thread.
    void SyncScan(TRunComThread* sender);
    // "Uppdatera Skärm": every point is read once more.
    void ButtonUpdateAllClick();
    // The window closes: switch the link off and close the port.
    void FormClose();

    // The running worker, or none.
    TRunComThread* ComThread() const { return FComThread; }
    std::atomic<bool> ScanEnabled{false};

    // Shows a failure of the line that ended the link (the serial layer's message).
    std::function<void(const QString& message)> OnLinkError;

private:
    void SwitchOff();
    // A step failed: the worker ends, and its end switches the link off.
    void EndWorker(TRunComThread* sender, const QString& error);

    TLinkParts FParts;
    TTransaction FTransaction;
    TPollScheduler FScheduler;
    QPointer<TRunComThread> FComThread;
    bool FStepRunning = false;
};
