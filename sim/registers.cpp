#include "registers.h"

#include <cmath>

namespace {

constexpr RegisterInfo kMap[] = {
    {Reg::Inputs, RegType::Byte, false, "Inputs"},
    {Reg::Out1, RegType::Byte, false, "Out1"},
    {Reg::Out2, RegType::Byte, false, "Out2"},
    {Reg::PortC, RegType::Byte, false, "PortC"},
    {Reg::FotoState, RegType::Byte, false, "FotoState"},
    {Reg::Timer1, RegType::Word, true, "Timer1"},
    {Reg::Timer2, RegType::Word, true, "Timer2"},
    {Reg::Timer3, RegType::Word, true, "Timer3"},
    {Reg::Timer4, RegType::Word, true, "Timer4"},
    {Reg::T1, RegType::Word, true, "T1"},
    {Reg::T2, RegType::Word, true, "T2"},
    {Reg::T2B, RegType::Word, true, "T2B"},
    {Reg::T3, RegType::Word, true, "T3"},
    {Reg::T4, RegType::Word, true, "T4"},
    {Reg::Puls, RegType::Word, true, "T5 Puls"},
    {Reg::Period, RegType::Word, true, "T6 Period"},
    {Reg::T7, RegType::Word, true, "T7"},
    {Reg::T8, RegType::Word, true, "T8"},
    {Reg::VMax, RegType::Word, true, "VMax"},
    {Reg::VTill, RegType::Word, true, "VTill"},
    {Reg::MainState, RegType::Byte, false, "MainState"},
    {Reg::Matning, RegType::Byte, false, "Matning"},
    {Reg::PortB, RegType::Byte, false, "PORT_B"},
    {Reg::PortE, RegType::Byte, false, "PORT_E"},
    {Reg::LarmCounter, RegType::Byte, false, "LarmCounter"},
    {Reg::TermoState, RegType::Byte, false, "TermoState"},
    {Reg::FelInnanLarm, RegType::Byte, false, "EEN_FelInnanLarm"},
    {Reg::TempSet, RegType::Word, false, "EETempSet"},
    {Reg::PulsKvotMax, RegType::Byte, false, "EEPulsKvotMax"},
    {Reg::PulsKvotMin, RegType::Byte, false, "EEPulsKvotMin"},
    {Reg::Reduceringstid, RegType::Word, true, "EEReduceringstid"},
    {Reg::Reduceringsprocent, RegType::Byte, false, "EEReduceringsprocent"},
    {Reg::DriftTid, RegType::Word, false, "EEDriftTid"},
    {Reg::DriftGrans, RegType::Word, false, "EEDriftGrans"},
    {Reg::Temperatur, RegType::Word, false, "Temperatur"},
    {Reg::KNamnare, RegType::Byte, false, "K-Varde Namnare"},
    {Reg::KTaljare, RegType::Byte, false, "K-Varde Taljare"},
    {Reg::Integrator, RegType::Word, false, "Integrator"},
    {Reg::Version, RegType::Text, false, "Version"},
    {Reg::LarmRegister, RegType::Byte, false, "LarmRegister"},
    {Reg::LarmMask, RegType::Byte, false, "LarmMask"},
    {Reg::LarmTemp, RegType::Word, false, "EELarmTemp"},
    {Reg::Maxtid, RegType::Word, false, "EEMaxtid"},
    {Reg::IntegratorIntern, RegType::SignedWord, false, "IntegratorIntern"},
};

// The first program that has the regulator's integrator as a point.
constexpr int kFirstVersionWithIntegratorIntern = 107;

char HexDigit(int n) {
    return "0123456789ABCDEF"[n & 0xF];
}

} // namespace

int ScaledFromSeconds(double seconds) {
    // The small allowance keeps exact multiples of the unit from falling one short.
    return static_cast<int>(std::floor(seconds / kScaledUnit + 1e-9));
}

Registers::Registers(const QByteArray& version)
    : FVersion(version),
      FHasIntegratorIntern(VersionNumber(version) == 0 ||
                           VersionNumber(version) >= kFirstVersionWithIntegratorIntern) {
    using namespace Reg;
    const struct {
        char code;
        double seconds;
    } times[] = {{T1, 10},  {T2, 5},     {T2B, 5},     {T3, 15},
                 {T4, 5},   {Puls, 2},   {Period, 10}, {T7, 60},
                 {T8, 120}, {VMax, 180}, {VTill, 30},  {Reduceringstid, 300}};
    for (const auto& t : times)
        Set(t.code, ScaledFromSeconds(t.seconds));
    Set(FelInnanLarm, 3);
    Set(TempSet, 680);
    Set(PulsKvotMax, 80);
    Set(PulsKvotMin, 20);
    Set(Reduceringsprocent, 50);
    Set(KNamnare, 4);
    Set(KTaljare, 10);
    Set(Integrator, 60);
    Set(LarmMask, 0x1F);
    Set(LarmTemp, 900);
    Set(Maxtid, 240);
    Set(Temperatur, 20);
    // Contact inputs at rest: the thermostat is open (no demand), the damper closed.
    Set(Inputs, Bit::Termostat | Bit::SpjallKvittens);
}

std::span<const RegisterInfo> Registers::All() {
    return kMap;
}

const RegisterInfo* Registers::Find(char code) {
    for (const RegisterInfo& info : kMap) {
        if (info.code == code)
            return &info;
    }
    return nullptr;
}

bool Registers::Knows(char code) const {
    if (code == Reg::IntegratorIntern && !FHasIntegratorIntern)
        return false;
    return Find(code) != nullptr;
}

int Registers::Value(char code) const {
    const auto index = static_cast<unsigned char>(code);
    return index < FValues.size() ? FValues[index] : 0;
}

void Registers::Set(char code, int value) {
    const RegisterInfo* info = Find(code);
    if (info == nullptr)
        return;
    int& slot = FValues[static_cast<unsigned char>(code)];
    switch (info->type) {
    case RegType::Byte:
        slot = value & 0xFF;
        break;
    case RegType::Word:
        slot = value & 0xFFFF;
        break;
    case RegType::SignedWord:
        slot = static_cast<qint16>(static_cast<quint16>(value & 0xFFFF));
        break;
    case RegType::Text:
        break;
    }
}

QByteArray Registers::Reply(char code) const {
    QByteArray reply(" ");
    reply.append(code);
    const RegisterInfo* info = Find(code);
    if (info != nullptr && info->type == RegType::Text) {
        reply.append(FVersion);
    } else {
        const int digits = info != nullptr && info->type == RegType::Byte ? 2 : 4;
        const int value = Value(code) & 0xFFFF;
        for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
            reply.append(HexDigit(value >> shift));
    }
    reply.append('\r');
    return reply;
}

std::optional<QByteArray> Registers::Handle(const Request& request) {
    if (!Knows(request.code))
        return std::nullopt;
    if (request.kind == RequestKind::Write)
        Set(request.code, request.value);
    return Reply(request.code);
}

int Registers::VersionNumber(const QByteArray& version) {
    const int dot = version.indexOf('.');
    if (dot <= 0)
        return 0;
    bool okMajor = false;
    bool okMinor = false;
    const int major = version.left(dot).toInt(&okMajor);
    const QByteArray minorText = version.mid(dot + 1);
    const int minor = minorText.toInt(&okMinor);
    if (!okMajor || !okMinor || minorText.size() > 2 || major < 0 || minor < 0)
        return 0;
    // "1.7" reads like "1.70" so that versions compare as decimal numbers.
    return major * 100 + (minorText.size() == 1 ? minor * 10 : minor);
}
