#pragma once

#include <QString>
#include <QThread>

#include <atomic>
#include <functional>

// The worker: does no work of its own. Until it is told to end it hands one
// poll step at a time to the user-interface thread and waits until the step
// has run there.
class TRunComThread : public QThread {
    Q_OBJECT

public:
    // `context` lives on the user-interface thread; `syncScan` runs there,
    // one call per hand-over; `scanEnabled` says whether a step may be handed over.
    TRunComThread(QObject* context, std::function<void(TRunComThread*)> syncScan,
                  const std::atomic<bool>& scanEnabled);

    // The failure that ended the worker's last step, if any.
    QString Error;
    bool Failed = false;

protected:
    void run() override; // Execute

private:
    QObject* FContext;
    std::function<void(TRunComThread*)> FSyncScan;
    const std::atomic<bool>& FScanEnabled;
};
