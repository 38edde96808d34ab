#pragma once

#include "simoptions.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// What the boot loader does in answer to one received character.
struct BootStep {
    QByteArray echo;        // goes out at once
    QByteArray status;      // after the echo: "." accepted, "S" finished, "F" refused
    double statusDelay = 0; // seconds the status waits
    QByteArray record;      // the record this character completed, as received
    bool finished = false;  // the end-of-file record was accepted
};

// The controller's boot loader during a program download: Intel HEX records come one
// at a time without line ends; every character is echoed, and the last one of a record
// is followed by a status. It can misbehave on purpose at a chosen record.
class BootLoader {
public:
    static constexpr double kLateDelay = 1.3;

    explicit BootLoader(const BootLoaderSettings& settings = {});

    BootStep Feed(char c);
    // The records accepted in this download, the end-of-file record included.
    const QList<QByteArray>& Accepted() const { return FAccepted; }
    // Records begun in this download, counted from 1.
    int RecordCount() const { return FRecordNumber; }
    bool Finished() const { return FFinished; }
    // Drops a record half received (the line went away).
    void AbandonRecord();

private:
    BootStep EndRecord(BootStep step);

    BootLoaderSettings FSettings;
    bool FInRecord = false;
    bool FSilent = false;
    bool FFinished = false;
    int FRecordNumber = 0;
    int FLength = 0; // characters in the record once its byte count is known
    QByteArray FRecord;
    QList<QByteArray> FAccepted;
};

// Whether text is one well-formed Intel HEX record with a correct checksum.
bool IsValidHexRecord(QByteArrayView record);
