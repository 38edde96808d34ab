#pragma once

#include "eventtimer.h"
#include "scriptedpeer.h"
#include "tapdcomport.h"
#include "testpty.h"
#include "tled.h"
#include "tlinkparts.h"
#include "tpollscheduler.h"
#include "ttransaction.h"
#include "tzubit.h"
#include "tzuiolist.h"

#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <map>
#include <memory>

constexpr int kFixtureCom = 44;

// A small link on a scripted peer: points named by the characters of
// `codes` ("C" is a byte point with its photo-cell bit, the others are
// words), the connection lamp on and the port open.
struct LinkFixture {
    explicit LinkFixture(const QByteArray& codes) : list(&window) {
        links.Link(kFixtureCom, peer.SlavePath());
        led = new TLed(&window);
        label98 = new QLabel(QStringLiteral("NoFrame"), &window);
        labelFreq = new QLabel(QStringLiteral("0 Hz"), &window);
        for (char code : codes) {
            const bool inputs = code == 'C';
            auto* point = new TZuIO(&window, QString(QChar::fromLatin1(code)), code,
                                    inputs ? IOType::sByte : IOType::sWord, IODir::In, nullptr);
            point->UpdateRequest = false;
            list.AddIO(point);
            points[code] = point;
            if (inputs) {
                foto = new TZuBit(point, QStringLiteral("FotoCell"), 0);
                point->AddBit(foto);
            }
        }
        parts.ComPort1 = &port;
        parts.IOList = &list;
        parts.LedConnected = led;
        parts.Label98 = label98;
        parts.LabelFreq = labelFreq;
        parts.Timer1 = &timer;
        parts.Inputs = points.count('C') ? points['C'] : nullptr;
        parts.FotoCell = foto;
        port.AutoOpen = false;
        port.SetComNumber(kFixtureCom);
        port.SetOpen(true);
        led->SetOn(true);
        transaction = std::make_unique<TTransaction>(parts);
        scheduler = std::make_unique<TPollScheduler>(parts, *transaction);
    }

    TZuIO* operator[](char code) { return points.at(code); }

    ComLinkFolderScope links;
    ScriptedPeer peer;
    QWidget window;
    TLed* led = nullptr;
    QLabel* label98 = nullptr;
    QLabel* labelFreq = nullptr;
    QTimer timer;
    TApdComPort port;
    TZuIOList list;
    std::map<char, TZuIO*> points;
    TZuBit* foto = nullptr;
    TLinkParts parts;
    std::unique_ptr<TTransaction> transaction;
    std::unique_ptr<TPollScheduler> scheduler;
};

// A clock that runs `factor` times faster than real time, so time-outs pass quickly.
class FastClock {
public:
    explicit FastClock(std::uint32_t factor) {
        QElapsedTimer* timer = &FTimer;
        FTimer.start();
        SetMillisecondClock(
            [timer, factor] { return std::uint32_t(timer->elapsed()) * factor + 1000u; });
    }
    ~FastClock() { SetMillisecondClock({}); }

private:
    QElapsedTimer FTimer;
};
