#include "signalpipe.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int gPipe[2] = {-1, -1};

void OnSignal(int signalNumber) {
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t n = ::write(gPipe[1], &byte, 1);
    errno = saved;
}

} // namespace

SignalPipe::SignalPipe(QObject* parent) : QObject(parent) {
    if (::pipe2(gPipe, O_NONBLOCK | O_CLOEXEC) != 0)
        return;
    FNotifier = std::make_unique<QSocketNotifier>(gPipe[0], QSocketNotifier::Read);
    connect(FNotifier.get(), &QSocketNotifier::activated, this, &SignalPipe::ReadPipe);
}

SignalPipe::~SignalPipe() {
    FNotifier.reset();
    for (int& fd : gPipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

bool SignalPipe::Catch(int signalNumber) {
    if (gPipe[1] < 0)
        return false;
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(signalNumber, &action, nullptr) == 0;
}

void SignalPipe::ReadPipe() {
    unsigned char bytes[64];
    const ssize_t n = ::read(gPipe[0], bytes, sizeof(bytes));
    for (ssize_t i = 0; i < n; ++i)
        emit Raised(bytes[i]);
}
