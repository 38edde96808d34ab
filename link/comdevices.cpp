#include "comdevices.h"

#include <QDir>
#include <QFileInfo>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

QString ComLinkFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        return QDir(runtime).filePath(QStringLiteral("glodrik"));
#ifdef Q_OS_WIN
    return QDir::temp().filePath(QStringLiteral("glodrik"));
#else
    return QStringLiteral("/tmp/glodrik-%1").arg(::getuid());
#endif
}

QString ComLinkPath(int comNumber) {
    return QDir(ComLinkFolder()).filePath(QStringLiteral("COM%1").arg(comNumber));
}

QString ComDevicePath(int comNumber) {
    if (comNumber < kFirstComNumber || comNumber > kLastComNumber)
        return QString();
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(comNumber);
#else
    const QFileInfo link(ComLinkPath(comNumber));
    if (link.isSymLink())
        return link.symLinkTarget();
    if (comNumber <= 4)
        return QStringLiteral("/dev/ttyS%1").arg(comNumber - 1);
    if (comNumber <= 20)
        return QStringLiteral("/dev/ttyUSB%1").arg(comNumber - 5);
    if (comNumber <= 36)
        return QStringLiteral("/dev/ttyACM%1").arg(comNumber - 21);
    return QString();
#endif
}
