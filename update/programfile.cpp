#include "programfile.h"

#include "tzuiolist.h"

#include <QFile>

#include <stdexcept>

QList<QByteArray> SplitProgramLines(QByteArrayView text) {
    const qsizetype nul = text.indexOf('\0');
    if (nul >= 0)
        text = text.first(nul);
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.append(text.sliced(start, i - start).toByteArray());
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.sliced(start).toByteArray());
    return lines;
}

QList<QByteArray> ReadProgramFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(
            QStringLiteral("%1: %2").arg(path, file.errorString()).toStdString());
    const QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw std::runtime_error(
            QStringLiteral("%1: %2").arg(path, file.errorString()).toStdString());
    return SplitProgramLines(text);
}

bool IsProgramRecord(QByteArrayView line, int addressLimit) {
    if (line.size() < 8 || line[0] != ':')
        return false;
    const std::optional<int> address = HexWord(line.sliced(3, 4));
    return address && *address < addressLimit;
}

QByteArray MakeHexRecord(int address, int type, const QByteArray& data) {
    QByteArray bytes;
    bytes += char(data.size());
    bytes += char((address >> 8) & 0xFF);
    bytes += char(address & 0xFF);
    bytes += char(type);
    bytes += data;
    int sum = 0;
    for (char b : bytes)
        sum += static_cast<unsigned char>(b);
    bytes += char((-sum) & 0xFF);
    return ':' + bytes.toHex().toUpper();
}
