#pragma once

#include "requestparser.h"

#include <QByteArray>

#include <array>
#include <optional>
#include <span>

enum class RegType { Byte, Word, SignedWord, Text };

struct RegisterInfo {
    char code;
    RegType type;
    bool scaled; // a time in raw units of kScaledUnit seconds
    const char* name;
};

// Time points count in units of 65.536 ms (the controller's timer tick).
constexpr double kScaledUnit = 0.065536;

// Raw units for a time in seconds, rounded down like the controller's own tables (10 s -> 152).
int ScaledFromSeconds(double seconds);

// The codes of the points, named for the code that uses them.
namespace Reg {
constexpr char Inputs = 'C', Out1 = 'A', Out2 = 'D', PortC = 'e', FotoState = 'Z';
constexpr char Timer1 = 'G', Timer2 = 'H', Timer3 = 'I', Timer4 = 'J';
constexpr char T1 = 'M', T2 = 'N', T2B = 'Q', T3 = 'O', T4 = 'P', Puls = '6', Period = '5',
               T7 = 'S', T8 = 'T', VMax = 'R', VTill = '9';
constexpr char MainState = 'X', Matning = 'L', PortB = 'B', PortE = 'E', LarmCounter = 'F',
               TermoState = 'Y', FelInnanLarm = 'K', TempSet = 'U', PulsKvotMax = '1',
               PulsKvotMin = '2', Reduceringstid = '3', Reduceringsprocent = '4', DriftTid = '7',
               DriftGrans = '8', Temperatur = 'a', KNamnare = 'b', KTaljare = 'c', Integrator = 'd',
               Version = 'V', LarmRegister = 'f', LarmMask = 'g', LarmTemp = 'h', Maxtid = 'i',
               IntegratorIntern = 'j';
} // namespace Reg

// Bits of the byte points.
namespace Bit {
// Inputs (bits 1..7 are active low: 0 is the normal state).
constexpr int FotoCell = 0x01, Termostat = 0x02, TermoTop = 0x04, TermoBotten = 0x08,
              PelletsSlut = 0x10, Option = 0x20, SpjallKvittens = 0x40, Forregling = 0x80;
// Out1
constexpr int Spiral = 0x01, RokgasFlakt = 0x02, CirkPump = 0x04, Skruv = 0x08, DysPump = 0x10,
              Rotor = 0x20, Sintring = 0x40, Askurmatning = 0x80;
// Out2
constexpr int Larm = 0x01, Spjall = 0x02;
// PortC
constexpr int Wdog = 0x01, Flakt = 0x04;
// FotoState
constexpr int FototimeOut = 0x01;
// LarmRegister
constexpr int ForreglingsLarm = 0x01, UraskningsLarm = 0x02, PelletsSlutLarm = 0x04,
              StartProblemLarm = 0x08, MaxtempLarm = 0x10, RokgasLarm = 0x20;
} // namespace Bit

// The controller's memory as the PC sees it: one value per code, read and written
// through the request protocol. Holds the factory defaults of the parameters.
class Registers {
public:
    explicit Registers(const QByteArray& version = "1.07");

    // The whole map, whatever the version.
    static std::span<const RegisterInfo> All();
    static const RegisterInfo* Find(char code);

    // Whether this controller program answers the code (older versions lack "j").
    bool Knows(char code) const;

    int Value(char code) const;
    // Stores a value as the point holds it: bytes keep the low 8 bits, words 16,
    // signed words are taken as two's complement. Writes to the text point are ignored.
    void Set(char code, int value);

    const QByteArray& Version() const { return FVersion; }

    // " <code><value>\r" as the controller answers a read.
    QByteArray Reply(char code) const;

    // Performs a request: a write stores the value; both are answered with the stored
    // value. Empty for codes the controller does not know.
    std::optional<QByteArray> Handle(const Request& request);

    // Version text as a number, 1.06 -> 106; 0 when it does not read as one (such a
    // version counts as a new program).
    static int VersionNumber(const QByteArray& version);

private:
    QByteArray FVersion;
    bool FHasIntegratorIntern;
    std::array<int, 128> FValues{};
};
