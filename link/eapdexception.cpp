#include "eapdexception.h"

EAPDException::EAPDException(int code, const QString& message)
    : std::runtime_error(message.toStdString()), FErrorCode(code) {}

EAPDException EAPDException::BadId() {
    return EAPDException(ecBadId, QStringLiteral("ie_BadId - Specified comport doesn't exist"));
}

EAPDException EAPDException::NotOpen() {
    return EAPDException(ecNotOpen, QStringLiteral("ie_NOpen - device not open"));
}

EAPDException EAPDException::AlreadyOpen() {
    return EAPDException(ecAlreadyOpen, QStringLiteral("ie_Open - device already open"));
}

EAPDException EAPDException::NoPortSelected() {
    return EAPDException(
        ecNoPortSelected,
        QStringLiteral("The ComNumber property of the TApdComPort has not been set"));
}
