#include "ansitext.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <stdexcept>

namespace {

constexpr const char* kCodePage = "windows-1252";

} // namespace

QString FromAnsi(QByteArrayView bytes) {
    QStringDecoder decoder(kCodePage);
    if (!decoder.isValid())
        throw std::runtime_error("Teckentabellen windows-1252 saknas");
    return decoder.decode(bytes);
}

QByteArray ToAnsi(QStringView text) {
    QStringEncoder encoder(kCodePage);
    if (!encoder.isValid())
        throw std::runtime_error("Teckentabellen windows-1252 saknas");
    return encoder.encode(text);
}
