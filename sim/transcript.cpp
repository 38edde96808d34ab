#include "transcript.h"

QByteArray EscapeBytes(const QByteArray& bytes) {
    QByteArray text("\"");
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '\r':
            text += "\\r";
            break;
        case '\n':
            text += "\\n";
            break;
        case '\t':
            text += "\\t";
            break;
        case '"':
            text += "\\\"";
            break;
        case '\\':
            text += "\\\\";
            break;
        default:
            if (byte >= 0x20 && byte < 0x7F) {
                text += c;
            } else {
                text += "\\x";
                text += QByteArray::number(byte, 16).rightJustified(2, '0').toUpper();
            }
        }
    }
    text += '"';
    return text;
}

bool Transcript::Open(const QString& path, QString& error) {
    FFile.setFileName(path);
    if (!FFile.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        error = QStringLiteral("cannot write the transcript %1: %2").arg(path, FFile.errorString());
        return false;
    }
    return true;
}

QByteArray Transcript::Line(double seconds, const char* direction, const QByteArray& bytes) {
    return QByteArray::number(seconds, 'f', 6) + ' ' + direction + ' ' + EscapeBytes(bytes) + '\n';
}

void Transcript::Log(double seconds, const char* direction, const QByteArray& bytes) {
    if (FFile.isOpen())
        FFile.write(Line(seconds, direction, bytes));
}

void Transcript::Note(double seconds, const QByteArray& text) {
    if (FFile.isOpen())
        FFile.write(QByteArray::number(seconds, 'f', 6) + ' ' + text + '\n');
}
