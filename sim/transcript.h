#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Bytes as readable text in double quotes: CR, LF, tab, quote and backslash escaped
// C-style, other bytes outside printable ASCII as \xNN.
QByteArray EscapeBytes(const QByteArray& bytes);

// One line per frame received or sent, e.g. `12.345678 RX " RC\r"`, flushed at once so
// that a reader sees each line as it happens.
class Transcript {
public:
    bool Open(const QString& path, QString& error);
    bool IsOpen() const { return FFile.isOpen(); }
    // direction is RX, TX or a word for an event such as DROP.
    void Log(double seconds, const char* direction, const QByteArray& bytes);
    // A line without bytes, for events such as the line being pulled.
    void Note(double seconds, const QByteArray& text);

    static QByteArray Line(double seconds, const char* direction, const QByteArray& bytes);

private:
    QFile FFile;
};
