#pragma once

#include "testpty.h"

#include <QElapsedTimer>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// A scripted boot loader on a pseudo-terminal, in a thread of its own (the
// download waits for replies without dispatching events): echoes what it
// receives (through Echo) and, when a whole Intel HEX record has come,
// answers with Status after StatusDelay milliseconds. The scripts run on the
// peer's thread.
class BootPeer {
public:
    BootPeer() : FPty(std::make_unique<TestPty>()) {}
    ~BootPeer() { Stop(); }

    const QString& SlavePath() const { return FPty->SlavePath(); }

    std::function<QByteArray(int record, int position, char c)> Echo = [](int, int, char c) {
        return QByteArray(1, c);
    };
    std::function<QByteArray(int record, const QByteArray& text)> Status =
        [](int, const QByteArray& text) { return QByteArray(text.mid(7, 2) == "01" ? "S" : "."); };
    std::function<int(int record)> StatusDelay = [](int) { return 0; };

    // Starts answering; set the scripts first.
    void Start() {
        FClock.start();
        FThread = std::thread([this] { Run(); });
    }

    void Stop() {
        FStop = true;
        if (FThread.joinable())
            FThread.join();
    }

    QList<QByteArray> Records() {
        std::lock_guard<std::mutex> lock(FLock);
        return FRecords;
    }

private:
    struct Pending {
        qint64 due;
        QByteArray bytes;
    };

    void Run() {
        while (!FStop) {
            SendDue();
            pollfd fd{FPty->MasterFd(), POLLIN, 0};
            if (::poll(&fd, 1, 1) > 0)
                Take(FPty->ReadAvailable());
        }
    }

    void SendDue() {
        const qint64 now = FClock.elapsed();
        for (auto it = FPending.begin(); it != FPending.end();) {
            if (it->due <= now) {
                FPty->Write(it->bytes);
                it = FPending.erase(it);
            } else {
                ++it;
            }
        }
    }

    void Take(const QByteArray& bytes) {
        for (char c : bytes) {
            const int position = int(FCurrent.size());
            FCurrent += c;
            int record;
            {
                std::lock_guard<std::mutex> lock(FLock);
                record = int(FRecords.size());
            }
            FPty->Write(Echo(record, position, c));
            if (FCurrent.size() >= 3 && FCurrent.size() == Length()) {
                {
                    std::lock_guard<std::mutex> lock(FLock);
                    FRecords << FCurrent;
                }
                const QByteArray status = Status(record, FCurrent);
                FCurrent.clear();
                const int delay = StatusDelay(record);
                if (delay <= 0)
                    FPty->Write(status);
                else
                    FPending.push_back({FClock.elapsed() + delay, status});
            }
        }
    }

    qsizetype Length() const { return 11 + 2 * FCurrent.mid(1, 2).toInt(nullptr, 16); }

    std::unique_ptr<TestPty> FPty;
    std::thread FThread;
    std::atomic<bool> FStop{false};
    std::mutex FLock;
    QList<QByteArray> FRecords;
    QByteArray FCurrent;
    std::vector<Pending> FPending;
    QElapsedTimer FClock;
};
