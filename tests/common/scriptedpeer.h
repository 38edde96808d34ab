#pragma once

#include "testpty.h"

#include <QElapsedTimer>
#include <QList>
#include <QSocketNotifier>
#include <QTimer>

#include <functional>
#include <memory>

// The controller's end of a pseudo-terminal, scripted by the test: every
// frame received (up to its carriage return) is recorded with its time and
// answered with what Reply returns, after Delay milliseconds, in Pieces
// parts. An empty answer is no answer.
class ScriptedPeer {
public:
    struct Received {
        QByteArray frame;
        qint64 ms;
    };

    ScriptedPeer() : FPty(std::make_unique<TestPty>()) {
        FClock.start();
        Listen();
    }

    const QString& SlavePath() const { return FPty->SlavePath(); }

    std::function<QByteArray(const QByteArray& frame)> Reply = [](const QByteArray& frame) {
        return DefaultReply(frame);
    };
    std::function<int(const QByteArray& frame)> Delay = [](const QByteArray&) { return 0; };
    int Pieces = 1;

    QList<Received> frames;

    QList<QByteArray> Frames() const {
        QList<QByteArray> list;
        for (const Received& r : frames)
            list << r.frame;
        return list;
    }

    void Write(const QByteArray& bytes) { FPty->Write(bytes); }

    // Pulls the line: the peer's side closes, as when an adapter is unplugged.
    void Pull() {
        FNotifier.reset();
        FPty.reset();
    }

    // Reads answer " <code>01"; writes answer with their own value.
    static QByteArray DefaultReply(const QByteArray& frame) {
        if (frame.size() < 4)
            return {};
        if (frame[1] == 'R')
            return QByteArray(" ") + frame[2] + "01\r";
        return QByteArray(" ") + frame.mid(2);
    }

private:
    void Listen() {
        FNotifier = std::make_unique<QSocketNotifier>(MasterFd(), QSocketNotifier::Read);
        QObject::connect(FNotifier.get(), &QSocketNotifier::activated, [this] { Take(); });
    }

    int MasterFd() const { return FPty->MasterFd(); }

    void Take() {
        const QByteArray bytes = FPty->ReadAvailable();
        for (char c : bytes) {
            FPartial += c;
            if (c != '\r')
                continue;
            const QByteArray frame = FPartial;
            FPartial.clear();
            frames.append({frame, FClock.elapsed()});
            const QByteArray answer = Reply(frame);
            if (!answer.isEmpty())
                Send(answer, Delay(frame));
        }
    }

    void Send(const QByteArray& answer, int delay) {
        const int pieces = std::max(1, std::min<int>(Pieces, int(answer.size())));
        const qsizetype size = (answer.size() + pieces - 1) / pieces;
        for (int i = 0; i < pieces; ++i) {
            const QByteArray piece = answer.mid(i * size, size);
            TestPty* pty = FPty.get();
            QTimer::singleShot(delay + i * 20, [this, pty, piece] {
                if (FPty.get() == pty && pty)
                    pty->Write(piece);
            });
        }
    }

    std::unique_ptr<TestPty> FPty;
    std::unique_ptr<QSocketNotifier> FNotifier;
    QByteArray FPartial;
    QElapsedTimer FClock;
};
