#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

// A pseudo-terminal for tests: the slave is the device a port opens, the
// master is the test's end of the line. The slave is also held open here, so
// data written before the port opens waits in the line and the master never
// sees a hang-up when the port closes.
class TestPty {
public:
    TestPty() {
        char name[128] = {};
        if (::openpty(&FMaster, &FSlave, name, nullptr, nullptr) != 0)
            qFatal("openpty failed");
        FSlavePath = QString::fromLocal8Bit(name);
        termios raw{};
        ::tcgetattr(FSlave, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(FSlave, TCSANOW, &raw);
        ::fcntl(FMaster, F_SETFL, ::fcntl(FMaster, F_GETFL) | O_NONBLOCK);
    }
    ~TestPty() {
        ::close(FMaster);
        ::close(FSlave);
    }
    TestPty(const TestPty&) = delete;
    TestPty& operator=(const TestPty&) = delete;

    const QString& SlavePath() const { return FSlavePath; }
    int MasterFd() const { return FMaster; }

    void Write(const QByteArray& bytes) {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n =
                ::write(FMaster, bytes.constData() + done, size_t(bytes.size() - done));
            if (n > 0)
                done += n;
            else
                QTest::qWait(1);
        }
    }

    // Whatever the port has sent so far, without waiting.
    QByteArray ReadAvailable() {
        QByteArray received;
        char buffer[256];
        ssize_t n;
        while ((n = ::read(FMaster, buffer, sizeof buffer)) > 0)
            received.append(buffer, n);
        return received;
    }

    // What the port sent, waiting until `count` characters came or the time ran out.
    QByteArray Read(qsizetype count, int timeoutMs = 2000) {
        QByteArray received;
        QDeadlineTimer deadline(timeoutMs);
        while (received.size() < count && !deadline.hasExpired()) {
            pollfd fd{FMaster, POLLIN, 0};
            if (::poll(&fd, 1, 10) > 0 && (fd.revents & POLLIN)) {
                char buffer[256];
                const ssize_t n = ::read(FMaster, buffer, sizeof buffer);
                if (n > 0)
                    received.append(buffer, n);
            }
        }
        return received;
    }

private:
    int FMaster = -1;
    int FSlave = -1;
    QString FSlavePath;
};

// Points the COM link folder at a temporary folder for the lifetime of the object.
class ComLinkFolderScope {
public:
    ComLinkFolderScope()
        : FPrevious(qgetenv("XDG_RUNTIME_DIR")),
          FHadPrevious(qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(FDir.path()));
        QDir(FDir.path()).mkpath(QStringLiteral("glodrik"));
    }
    ~ComLinkFolderScope() {
        if (FHadPrevious)
            qputenv("XDG_RUNTIME_DIR", FPrevious);
        else
            qunsetenv("XDG_RUNTIME_DIR");
    }
    ComLinkFolderScope(const ComLinkFolderScope&) = delete;
    ComLinkFolderScope& operator=(const ComLinkFolderScope&) = delete;

    QString Folder() const { return FDir.filePath(QStringLiteral("glodrik")); }

    // Offers `target` as COMn.
    bool Link(int comNumber, const QString& target) const {
        const QString link = QDir(Folder()).filePath(QStringLiteral("COM%1").arg(comNumber));
        QFile::remove(link);
        return QFile::link(target, link);
    }

private:
    QTemporaryDir FDir;
    QByteArray FPrevious;
    bool FHadPrevious;
};
