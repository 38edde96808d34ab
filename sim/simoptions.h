#pragma once

#include "burnermodel.h"

#include <QString>
#include <QStringList>

struct FaultSettings {
    double dropPercent = 0;
    double latePercent = 0;
    double noisePercent = 0;
    double splitPercent = 0;
    bool crlf = false;
};

struct BootLoaderSettings {
    QString outputFile;
    int wrongEchoRecord = 0; // 0: never
    int failRecord = 0;
    int silentRecord = 0;
    int extraRecord = 0;
    int lateRecord = 0;
    bool crlf = false;
};

struct SimOptions {
    int comNumber = 37;
    QByteArray version = "1.07";
    double speed = 1.0;
    bool fast = false;
    quint32 seed = 1;
    double pullAfter = -1;   // wall-clock seconds; < 0 never
    double replugAfter = -1; // seconds after a pull; < 0 stay pulled
    QString transcriptFile;
    bool bootLoader = false;
    bool listRegisters = false;
    ModelSettings model;
    FaultSettings faults;
    BootLoaderSettings bootLoaderSettings;
};

// Reads the command line. Outcome Help means the caller prints text and exits 0;
// Error means it prints text to stderr and exits non-zero.
struct ParseResult {
    enum Outcome { Run, Help, Error } outcome = Run;
    QString text;
};

ParseResult ParseOptions(const QStringList& arguments, SimOptions& options);

// The table of points printed by --registers.
QString RegisterTable(const SimOptions& options);
