#include "burnermodel.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace {

constexpr double kRoomTemperature = 20.0;
constexpr double kFlameHeat = 5000.0;  // °C above room at continuous feed
constexpr double kHotAirHeat = 150.0;  // °C the hot-air heater alone gives
constexpr double kHeatingLag = 40.0;   // seconds
constexpr double kCoolingLag = 90.0;   // seconds
constexpr double kFuelLag = 30.0;      // seconds for fed pellets to burn
constexpr double kFlameFuelMin = 0.01; // below this burn rate the flame dies
constexpr double kScrewKgPerSecond = 0.01;
constexpr double kDamperTravel = 2.0; // seconds until the damper reports open
constexpr double kPhotoLag = 1.0;     // seconds, the controller's photo-cell filter
constexpr double kFlameSeenLevel = 0.6;
constexpr double kDarkLevel = 0.3;
constexpr double kPhotoTimeout = 20.0; // seconds without flame before a running burner gives up
constexpr double kDudChance = 0.1;     // share of attempts where the pellets do not catch
constexpr int kRotorPulses = 4;
constexpr double kSinterEvery = 300.0; // seconds between sinter-breaker runs in Drift
constexpr double kSinterLength = 5.0;
constexpr double kAshScrewLength = 20.0; // seconds of ash screw at the start of the after-run
constexpr double kIntegratorLimit = 1200.0;
constexpr double kIntegratorGain = 5.0;     // integrator counts per °C and integration time
constexpr double kIntegratorWeight = 0.05;  // feed percent per integrator count
constexpr double kProportionalWeight = 0.1; // feed percent per °C at K = 1

bool IsIgnitionState(int state) {
    return state >= MainState::Ignition && state <= MainState::SecondAir;
}

int TimerValue(double seconds) {
    return std::clamp(ScaledFromSeconds(std::max(0.0, seconds)), 0, 0xFFFF);
}

} // namespace

BurnerModel::BurnerModel(Registers& registers, const ModelSettings& settings)
    : FRegs(registers), FSettings(settings), FRandom(settings.seed), FDemandMode(settings.demand),
      FPellets(settings.pelletsKg) {
    FDemandOn = FDemandMode == Demand::On;
    Publish();
}

void BurnerModel::Advance(double seconds) {
    FCarry += std::max(0.0, seconds);
    while (FCarry >= kTick - 1e-9) {
        FCarry -= kTick;
        Step();
    }
}

void BurnerModel::SetDemand(Demand demand) {
    FDemandMode = demand;
    if (demand != Demand::Auto)
        FDemandOn = demand == Demand::On;
    Publish();
}

std::optional<QByteArray> BurnerModel::Handle(const Request& request) {
    if (!FRegs.Knows(request.code))
        return std::nullopt;
    if (request.kind == RequestKind::Read)
        return FRegs.Reply(request.code);
    // The answer is the value as stored; the program cycle may change it right after.
    FRegs.Set(request.code, request.value);
    const QByteArray reply = FRegs.Reply(request.code);
    Written(request.code);
    Publish();
    return reply;
}

void BurnerModel::Written(char code) {
    switch (code) {
    case Reg::Temperatur:
        FTemperature = FRegs.Value(code);
        break;
    case Reg::LarmRegister: {
        const int written = FRegs.Value(code);
        // Acknowledging the pellets alarm means the store has been filled.
        if ((FAlarms & Bit::PelletsSlutLarm) && !(written & Bit::PelletsSlutLarm))
            FPellets = FSettings.pelletsKg;
        if ((FAlarms & Bit::StartProblemLarm) && !(written & Bit::StartProblemLarm))
            FFailedAttempts = 0;
        FAlarms = written;
        break;
    }
    case Reg::DriftTid:
        FDriftMinutes = FRegs.Value(code);
        break;
    case Reg::IntegratorIntern:
        FIntegrator = FRegs.Value(code);
        break;
    case Reg::Out1:
    case Reg::Out2:
    case Reg::PortC:
        // In standby the outputs are the PC's to test; Publish() leaves them alone.
        if (FState == MainState::Standby) {
            FOutputs1 = FRegs.Value(Reg::Out1);
            FOutputs2 = FRegs.Value(Reg::Out2);
            FFan = FRegs.Value(Reg::PortC) & Bit::Flakt;
        }
        break;
    default:
        break;
    }
}

double BurnerModel::Seconds(char code) const {
    return FRegs.Value(code) * kScaledUnit;
}

double BurnerModel::Uniform(double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(FRandom);
}

void BurnerModel::Step() {
    FTime += kTick;
    FWatchdog = !FWatchdog;
    UpdateDemand();
    if (FSettings.pelletsOutAfter >= 0 && !FForcedOutDone && FTime >= FSettings.pelletsOutAfter) {
        FForcedOutDone = true;
        FPellets = 0;
    }
    RunSequence();
    UpdatePhysics();
    UpdateAlarms();
    Publish();
}

void BurnerModel::UpdateDemand() {
    if (FDemandMode != Demand::Auto)
        return;
    FDemandLeft -= kTick;
    if (FDemandLeft > 0)
        return;
    FDemandOn = !FDemandOn;
    // Heat is called for 20 to 40 minutes at a time, with pauses of 3 to 8 minutes.
    FDemandLeft = FDemandOn ? Uniform(20 * 60, 40 * 60) : Uniform(3 * 60, 8 * 60);
}

void BurnerModel::Enter(int state) {
    if (state == MainState::Standby && FState != MainState::Standby) {
        // Back at rest everything is off; from here on the PC may test the outputs.
        FOutputs1 = 0;
        FOutputs2 = 0;
        FFan = false;
        FRegs.Set(Reg::Out1, 0);
        FRegs.Set(Reg::Out2, 0);
        FRegs.Set(Reg::PortC, FRegs.Value(Reg::PortC) & ~Bit::Flakt);
    }
    FState = state;
    FStateTime = 0;
}

void BurnerModel::BeginAttempt() {
    FFotoTimeout = false;
    FIgnitionTime = 0;
    FHotAir = 0;
    FIgnitionDelay = Uniform(25, 90);
    FWillIgnite = !FSettings.noFlame && Uniform(0, 1) >= kDudChance;
    if (FState == MainState::Standby)
        FRunTime = 0;
    Enter(MainState::StartDose);
}

void BurnerModel::FailAttempt() {
    ++FFailedAttempts;
    if (FFailedAttempts >= std::max(1, FRegs.Value(Reg::FelInnanLarm))) {
        FAlarms |= Bit::StartProblemLarm;
        FFailedAttempts = 0;
    }
    Enter(MainState::RestartWait);
}

double BurnerModel::Regulate(bool reduced) {
    const double low = FRegs.Value(Reg::PulsKvotMin);
    const double high = FRegs.Value(Reg::PulsKvotMax);
    double top = std::max(low, high);
    if (reduced)
        top = std::min(top, double(FRegs.Value(Reg::Reduceringsprocent)));
    const double bottom = std::min(low, top);

    const double error = FRegs.Value(Reg::TempSet) - FTemperature;
    const int denominator = FRegs.Value(Reg::KNamnare);
    const double k = double(FRegs.Value(Reg::KTaljare)) / std::max(1, denominator);
    const double base = (low + high) / 2;
    const double unclipped =
        base + k * kProportionalWeight * error + FIntegrator * kIntegratorWeight;
    // The integrator stands still while the output is at a limit it pushes against.
    const bool pushesUp = unclipped >= top && error > 0;
    const bool pushesDown = unclipped <= bottom && error < 0;
    if (!pushesUp && !pushesDown) {
        const double time = std::max(1, FRegs.Value(Reg::Integrator));
        FIntegrator += error * kIntegratorGain * kTick / time;
        FIntegrator = std::clamp(FIntegrator, -kIntegratorLimit, kIntegratorLimit);
    }
    return std::clamp(unclipped, bottom, top);
}

void BurnerModel::Feed(double percent) {
    FFeedPercent = percent;
    const double period = std::max(kTick, Seconds(Reg::Period));
    FPeriodTime += kTick;
    while (FPeriodTime >= period)
        FPeriodTime -= period;
    const double onTime = std::min(period, Seconds(Reg::Puls) * percent / 100.0);
    if (FPeriodTime < onTime)
        FOutputs1 |= Bit::Skruv;
}

void BurnerModel::RunSequence() {
    using namespace MainState;
    FStateTime += kTick;
    if (FState != Standby && FState != Alarm)
        FRunTime += kTick;
    if (IsIgnitionState(FState) || FState == FlameSeen)
        FIgnitionTime += kTick;

    const bool active = FState != Standby && FState != Alarm;
    if (active && !FDemandOn && FState != AfterRun) {
        Enter(AfterRun);
    }

    const bool flameSeen = FPhotoLevel >= kFlameSeenLevel;
    if (IsIgnitionState(FState)) {
        if (flameSeen) {
            FFailedAttempts = 0;
            Enter(FlameSeen);
        } else if (FIgnitionTime >= Seconds(Reg::VMax)) {
            FailAttempt();
        }
    }

    int out1 = 0;
    switch (FState) {
    case Standby:
        if (FDemandOn)
            BeginAttempt();
        break;
    case StartDose:
        if (FStateTime >= Seconds(Reg::T1))
            Enter(Ignition);
        break;
    case Ignition: {
        const double cycle = Seconds(Reg::T2) + Seconds(Reg::T2B);
        if (cycle <= 0 || FStateTime >= kRotorPulses * cycle)
            Enter(IgnitionWait);
        break;
    }
    case IgnitionWait:
        if (FStateTime >= Seconds(Reg::T3))
            Enter(RotorPulse);
        break;
    case RotorPulse:
        if (FStateTime >= Seconds(Reg::T4))
            Enter(SecondAir);
        break;
    case FlameSeen:
        if (FPhotoLevel < kDarkLevel && FStateTime > 2.0) {
            FFotoTimeout = true;
            FailAttempt();
        } else if (FStateTime >= Seconds(Reg::VTill)) {
            FDriftTime = 0;
            FPeriodTime = 0;
            Enter(Running);
        }
        break;
    case Running: {
        FDarkTime = FPhotoLevel < kDarkLevel ? FDarkTime + kTick : 0;
        const double maxMinutes = FRegs.Value(Reg::Maxtid);
        if (FDarkTime >= kPhotoTimeout) {
            FFotoTimeout = true;
            FDarkTime = 0;
            FailAttempt();
        } else if (maxMinutes > 0 && FRunTime >= maxMinutes * 60) {
            // A run is limited in length; the burner runs out and starts afresh.
            Enter(AfterRun);
        }
        break;
    }
    case RestartWait:
        if (FStateTime >= Seconds(Reg::T7))
            BeginAttempt();
        break;
    case AfterRun:
        if (FStateTime >= Seconds(Reg::T8))
            Enter(Standby);
        break;
    case Alarm:
        if ((FAlarms & FRegs.Value(Reg::LarmMask)) == 0)
            Enter(Standby);
        break;
    default:
        break;
    }

    // The outputs of the state the tick ends in.
    FOutputs2 = 0;
    FFan = false;
    bool fans = true;
    switch (FState) {
    case Standby:
        FOutputs1 = FRegs.Value(Reg::Out1);
        FOutputs2 = FRegs.Value(Reg::Out2);
        FFan = FRegs.Value(Reg::PortC) & Bit::Flakt;
        FFeedPercent = 0;
        return;
    case StartDose:
        out1 = Bit::Skruv | Bit::Rotor;
        break;
    case Ignition: {
        const double t2 = Seconds(Reg::T2);
        const double cycle = t2 + Seconds(Reg::T2B);
        out1 = Bit::Spiral;
        if (cycle > 0 && std::fmod(FStateTime, cycle) < t2)
            out1 |= Bit::Rotor;
        break;
    }
    case IgnitionWait:
    case SecondAir:
        out1 = Bit::Spiral;
        break;
    case RotorPulse:
        out1 = Bit::Rotor;
        break;
    case FlameSeen:
        out1 = Bit::Spiral | Bit::Rotor | Bit::DysPump;
        break;
    case Running:
        out1 = Bit::Rotor | Bit::DysPump;
        if (std::fmod(FDriftTime, kSinterEvery) >= kSinterEvery - kSinterLength)
            out1 |= Bit::Sintring;
        FDriftTime += kTick;
        break;
    case RestartWait:
        break;
    case AfterRun:
        out1 = Bit::Rotor;
        if (FStateTime < kAshScrewLength)
            out1 |= Bit::Askurmatning;
        break;
    case Alarm:
        fans = false;
        FOutputs2 = Bit::Larm;
        break;
    default:
        break;
    }
    if (fans) {
        out1 |= Bit::RokgasFlakt;
        FOutputs2 |= Bit::Spjall;
        FFan = true;
    }
    if (FTemperature > 60 || FState == Running)
        out1 |= Bit::CirkPump;
    FOutputs1 = out1;
    if (FState == FlameSeen)
        Feed(FRegs.Value(Reg::PulsKvotMin));
    else if (FState == Running)
        Feed(Regulate(FDriftTime < Seconds(Reg::Reduceringstid)));
    else
        FFeedPercent = 0;
    if (FState == FlameSeen || FState == Running)
        FDriftMinutes += kTick / 60.0;
}

void BurnerModel::UpdatePhysics() {
    const bool screw = FOutputs1 & Bit::Skruv;
    const bool hotAir = FOutputs1 & Bit::Spiral;
    double feed = 0;
    if (screw && FPellets > 0) {
        feed = 1;
        FPellets = std::max(0.0, FPellets - kScrewKgPerSecond * kTick);
    }
    FFuel += (feed - FFuel) * kTick / kFuelLag;

    if (!FFlame) {
        if (hotAir)
            FHotAir += kTick;
        if (FWillIgnite && FHotAir >= FIgnitionDelay && FFuel >= kFlameFuelMin && hotAir)
            FFlame = true;
    } else if (FFuel < kFlameFuelMin) {
        FFlame = false;
    }

    const double target =
        kRoomTemperature + (hotAir ? kHotAirHeat : 0.0) + (FFlame ? kFlameHeat * FFuel : 0.0);
    const double lag = target > FTemperature ? kHeatingLag : kCoolingLag;
    FTemperature += (target - FTemperature) * kTick / lag;

    // The flame flickers: the photo cell sees it in 80..95 % of the ticks.
    FPhotoShare = std::clamp(FPhotoShare + Uniform(-0.01, 0.01), 0.80, 0.95);
    FPhoto = FFlame && Uniform(0, 1) < FPhotoShare;
    FPhotoLevel += ((FPhoto ? 1.0 : 0.0) - FPhotoLevel) * kTick / kPhotoLag;

    FDamperOpen = (FOutputs2 & Bit::Spjall) ? FDamperOpen + kTick : 0;
}

void BurnerModel::UpdateAlarms() {
    int alarms = FAlarms;
    if (FPellets <= 0)
        alarms |= Bit::PelletsSlutLarm;
    if (FTemperature > FRegs.Value(Reg::LarmTemp))
        alarms |= Bit::MaxtempLarm;
    const int risen = alarms & ~FRegs.Value(Reg::LarmRegister);
    if (risen != 0) {
        const int counter = FRegs.Value(Reg::LarmCounter) + std::popcount(unsigned(risen));
        FRegs.Set(Reg::LarmCounter, std::min(counter, 0xFF));
    }
    FAlarms = alarms;
    if ((FAlarms & FRegs.Value(Reg::LarmMask)) && FState != MainState::Alarm)
        Enter(MainState::Alarm);
}

void BurnerModel::Publish() {
    int inputs = 0;
    if (FPhoto)
        inputs |= Bit::FotoCell;
    if (!FDemandOn)
        inputs |= Bit::Termostat;
    if (FPellets <= 0)
        inputs |= Bit::PelletsSlut;
    if (FDamperOpen < kDamperTravel)
        inputs |= Bit::SpjallKvittens;
    FRegs.Set(Reg::Inputs, inputs);

    FRegs.Set(Reg::Out1, FOutputs1);
    FRegs.Set(Reg::Out2, FOutputs2);
    const int portC = (FRegs.Value(Reg::PortC) & ~(Bit::Flakt | Bit::Wdog)) |
                      (FFan ? Bit::Flakt : 0) | (FWatchdog ? Bit::Wdog : 0);
    FRegs.Set(Reg::PortC, portC);
    FRegs.Set(Reg::FotoState, FFotoTimeout ? Bit::FototimeOut : 0);

    const bool igniting = IsIgnitionState(FState) || FState == MainState::FlameSeen;
    const bool inRun = FState != MainState::Standby && FState != MainState::Alarm;
    FRegs.Set(Reg::Timer1, TimerValue(FStateTime));
    FRegs.Set(Reg::Timer2, igniting ? TimerValue(FIgnitionTime) : 0);
    FRegs.Set(Reg::Timer3, FFeedPercent > 0 ? TimerValue(FPeriodTime) : 0);
    FRegs.Set(Reg::Timer4, inRun ? TimerValue(FRunTime) : 0);

    FRegs.Set(Reg::MainState, FState);
    FRegs.Set(Reg::Matning, static_cast<int>(std::lround(FFeedPercent)));
    FRegs.Set(Reg::TermoState, FDemandOn                       ? TermoState::Demand
                               : FState == MainState::AfterRun ? TermoState::AfterRun
                                                               : TermoState::NoDemand);
    FRegs.Set(Reg::DriftTid, std::min(0xFFFF, static_cast<int>(FDriftMinutes)));
    FRegs.Set(Reg::Temperatur, std::max(0, static_cast<int>(std::lround(FTemperature))));
    FRegs.Set(Reg::LarmRegister, FAlarms);
    FRegs.Set(Reg::IntegratorIntern, static_cast<int>(std::lround(FIntegrator)));
}
