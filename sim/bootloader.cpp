#include "bootloader.h"

#include "hexdigit.h"

namespace {

constexpr int kRecordOverhead = 11; // ':' count(2) address(4) type(2) checksum(2)
constexpr int kWrongEchoIndex = 3;  // the character of the record echoed wrong
constexpr char kExtraLetters[] = "XY";

int HexByte(QByteArrayView text, qsizetype at) {
    const int high = HexDigitValue(text[at]);
    const int low = HexDigitValue(text[at + 1]);
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

} // namespace

bool IsValidHexRecord(QByteArrayView record) {
    if (record.size() < kRecordOverhead || record[0] != ':' || (record.size() - 1) % 2 != 0)
        return false;
    const int count = HexByte(record, 1);
    if (count < 0 || record.size() != kRecordOverhead + 2 * count)
        return false;
    int sum = 0;
    for (qsizetype at = 1; at < record.size(); at += 2) {
        const int byte = HexByte(record, at);
        if (byte < 0)
            return false;
        sum += byte;
    }
    return (sum & 0xFF) == 0;
}

BootLoader::BootLoader(const BootLoaderSettings& settings) : FSettings(settings) {}

void BootLoader::AbandonRecord() {
    FInRecord = false;
    FRecord.clear();
}

BootStep BootLoader::Feed(char c) {
    BootStep step;
    if (c == ':') {
        if (FFinished) {
            // A new download begins.
            FFinished = false;
            FRecordNumber = 0;
            FAccepted.clear();
            FSilent = false;
        }
        ++FRecordNumber;
        FInRecord = true;
        FRecord = QByteArray(1, c);
        FLength = 0;
        if (FSettings.silentRecord > 0 && FRecordNumber >= FSettings.silentRecord)
            FSilent = true;
    } else if (FInRecord) {
        FRecord.append(c);
    }
    if (FSilent) {
        AbandonRecord();
        return step;
    }

    step.echo = QByteArray(1, c);
    if (!FInRecord)
        return step;
    if (FRecordNumber == FSettings.wrongEchoRecord && FRecord.size() == kWrongEchoIndex + 1)
        step.echo = QByteArray(1, char(c ^ 0x01));

    if (FRecord.size() == 3) {
        const int count = HexByte(FRecord, 1);
        if (count < 0) {
            // Without a byte count the end of the record is unknown: refuse it now.
            return EndRecord(step);
        }
        FLength = kRecordOverhead + 2 * count;
    }
    if (FLength > 0 && FRecord.size() >= FLength)
        return EndRecord(step);
    return step;
}

BootStep BootLoader::EndRecord(BootStep step) {
    step.record = FRecord;
    FInRecord = false;
    const bool valid = IsValidHexRecord(FRecord);
    const bool endOfFile = valid && FRecord.mid(7, 2) == "01";
    const bool refused = !valid || FRecordNumber == FSettings.failRecord;
    if (refused) {
        step.status = "F";
    } else {
        FAccepted.append(FRecord);
        step.status = endOfFile ? "S" : ".";
        if (step.status == "." && FSettings.crlf)
            step.status += "\r\n";
        step.finished = endOfFile;
        FFinished = endOfFile;
    }
    if (FRecordNumber == FSettings.extraRecord)
        step.status.prepend(kExtraLetters);
    if (FRecordNumber == FSettings.lateRecord)
        step.statusDelay = kLateDelay;
    FRecord.clear();
    return step;
}
