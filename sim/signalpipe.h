#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;

// Brings Unix signals into the event loop: the handler only writes the signal number
// into a pipe; the notifier on the other end emits Raised in the loop.
class SignalPipe : public QObject {
    Q_OBJECT

public:
    explicit SignalPipe(QObject* parent = nullptr);
    ~SignalPipe() override;

    // Catches the signal from now on. Only one SignalPipe may exist at a time.
    bool Catch(int signalNumber);

signals:
    void Raised(int signalNumber);

private:
    void ReadPipe();

    std::unique_ptr<QSocketNotifier> FNotifier;
};
