#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The program's 8-bit text is in the Windows-1252 code page: the controller's
// texts, log files, parameter files.
QString FromAnsi(QByteArrayView bytes);
// Characters that the code page lacks become '?'.
QByteArray ToAnsi(QStringView text);
