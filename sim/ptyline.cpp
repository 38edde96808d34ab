#include "ptyline.h"

#include "comdevices.h"

#include <QDir>
#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

QString ErrnoText() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

PtyLine::PtyLine(int comNumber, QObject* parent) : QObject(parent), FComNumber(comNumber) {}

PtyLine::~PtyLine() {
    Pull();
}

QString PtyLine::LinkPath() const {
    return ComLinkPath(FComNumber);
}

bool PtyLine::Plug(QString& error) {
    if (IsPlugged())
        return true;
    int master = -1;
    int slave = -1;
    char name[256] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        error = QStringLiteral("cannot open a pseudo-terminal: %1").arg(ErrnoText());
        return false;
    }
    // Raw from the start: no echo, no line editing, no CR/LF translation.
    termios mode{};
    if (::tcgetattr(slave, &mode) == 0) {
        ::cfmakeraw(&mode);
        ::cfsetispeed(&mode, B19200);
        ::cfsetospeed(&mode, B19200);
        ::tcsetattr(slave, TCSANOW, &mode);
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave, F_SETFD, FD_CLOEXEC);
    FMaster = master;
    FSlave = slave;
    FDevicePath = QString::fromLocal8Bit(name);
    if (!Publish(error)) {
        Pull();
        return false;
    }
    FNotifier = new QSocketNotifier(FMaster, QSocketNotifier::Read, this);
    connect(FNotifier, &QSocketNotifier::activated, this, &PtyLine::ReadAvailable);
    return true;
}

void PtyLine::Pull() {
    if (!IsPlugged())
        return;
    // The pull may come from a slot of the notifier itself: it goes later, or with us.
    if (FNotifier != nullptr) {
        FNotifier->setEnabled(false);
        FNotifier->deleteLater();
        FNotifier = nullptr;
    }
    Unpublish();
    ::close(FMaster);
    ::close(FSlave);
    FMaster = -1;
    FSlave = -1;
}

bool PtyLine::Publish(QString& error) {
    const QByteArray folder = QFile::encodeName(ComLinkFolder());
    if (::mkdir(folder.constData(), 0700) != 0 && errno != EEXIST) {
        error = QStringLiteral("cannot create %1: %2").arg(ComLinkFolder(), ErrnoText());
        return false;
    }
    const QByteArray link = QFile::encodeName(LinkPath());
    struct stat info {};
    if (::lstat(link.constData(), &info) == 0) {
        if (!S_ISLNK(info.st_mode)) {
            error = QStringLiteral("%1 exists and is not a link; not replacing it").arg(LinkPath());
            return false;
        }
        // A link left behind (or taken over from another simulator): ours now.
        ::unlink(link.constData());
    }
    if (::symlink(QFile::encodeName(FDevicePath).constData(), link.constData()) != 0) {
        error = QStringLiteral("cannot create the link %1: %2").arg(LinkPath(), ErrnoText());
        return false;
    }
    return true;
}

void PtyLine::Unpublish() {
    // Only our own link goes; another simulator may have taken the number meanwhile.
    const QByteArray link = QFile::encodeName(LinkPath());
    char target[512] = {};
    const ssize_t length = ::readlink(link.constData(), target, sizeof(target) - 1);
    if (length > 0 && QFile::decodeName(QByteArray(target, int(length))) == FDevicePath)
        ::unlink(link.constData());
}

void PtyLine::Write(const QByteArray& bytes) {
    if (!IsPlugged())
        return;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(FMaster, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        done += n;
    }
}

void PtyLine::ReadAvailable() {
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(FMaster, buffer, sizeof(buffer));
        if (n > 0) {
            emit Received(QByteArray(buffer, int(n)));
            if (!IsPlugged())
                return;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        return;
    }
}
