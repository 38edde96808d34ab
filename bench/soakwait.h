#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <functional>

// The soak's own waits run the event loop as the program does, so the link's
// poll steps, the scripted user and the monitors all go on meanwhile. Every
// wait has a deadline.

// Runs the event loop for `ms` milliseconds.
inline void RunFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the event loop until `done` holds or `ms` milliseconds have passed;
// whether it held.
inline bool WaitUntil(const std::function<bool()>& done, int ms) {
    if (done())
        return true;
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done() || clock.elapsed() >= ms)
            loop.quit();
    });
    poll.start();
    loop.exec();
    return done();
}
