#include "truncomthread.h"

#include <QMetaObject>

TRunComThread::TRunComThread(QObject* context, std::function<void(TRunComThread*)> syncScan,
                             const std::atomic<bool>& scanEnabled)
    : QThread(context), FContext(context), FSyncScan(std::move(syncScan)),
      FScanEnabled(scanEnabled) {}

void TRunComThread::run() {
    while (!isInterruptionRequested()) {
        if (FScanEnabled.load()) {
            // Blocks until the step has run on the user-interface thread.
            QMetaObject::invokeMethod(
                FContext, [this] { FSyncScan(this); }, Qt::BlockingQueuedConnection);
            QThread::yieldCurrentThread();
        } else {
            QThread::msleep(1);
        }
    }
}
