#pragma once

#include "registers.h"
#include "requestparser.h"

#include <QByteArray>

#include <optional>
#include <random>

// Where the thermostat demand comes from: a cycle that comes and goes, or held.
enum class Demand { Auto, On, Off };

struct ModelSettings {
    quint32 seed = 1;
    double pelletsKg = 200.0;      // a full store; the default lasts a day and more
    double pelletsOutAfter = -1.0; // simulated seconds until the store is emptied; < 0 never
    Demand demand = Demand::Auto;
    bool noFlame = false; // the pellets never catch fire
};

// The states shown in MainState (point X).
namespace MainState {
enum : int {
    Standby = 0,      // Vila: no demand; outputs written by the PC hold
    StartDose = 1,    // screw and rotor give the start dose (T1)
    Ignition = 2,     // hot air on, rotor pulses T2 on / T2B off, four times
    IgnitionWait = 3, // hot air on, rotor off (T3)
    RotorPulse = 4,   // hot air off, rotor on before the second hot-air pulse (T4)
    SecondAir = 5,    // second hot-air pulse until VMax has run out
    FlameSeen = 6,    // the photo cell sees flame; hot air continues (VTill)
    Running = 7,      // Drift: feed pulses, regulated feed
    RestartWait = 8,  // after a failed start or a lost flame, fans purge (T7)
    AfterRun = 9,     // Efterkörning: fan and rotor after the demand ended (T8)
    Alarm = 10,       // stopped by an alarm in LarmMask until the PC clears LarmRegister
};
}

// The states shown in TermoState (point Y).
namespace TermoState {
enum : int {
    NoDemand = 0, // the boiler thermostat is satisfied
    Demand = 1,   // the boiler thermostat calls for heat
    AfterRun = 2, // demand ended, the burner runs out
};
}

// The burner and its controller program as plain logic: driven by explicit time steps,
// deterministic for a seed. It keeps its state in a Registers map, where the PC reads it
// and writes the parameters it works with.
class BurnerModel {
public:
    static constexpr double kTick = 0.1; // the controller's program cycle, seconds

    explicit BurnerModel(Registers& registers, const ModelSettings& settings = {});

    // Moves simulated time on; runs whole ticks and keeps the rest for the next call.
    void Advance(double seconds);

    // A request from the PC; writes to points the model keeps itself take effect.
    std::optional<QByteArray> Handle(const Request& request);

    void SetDemand(Demand demand);

    double Time() const { return FTime; }
    double Temperature() const { return FTemperature; }
    bool Flame() const { return FFlame; }
    double PelletsKg() const { return FPellets; }
    int State() const { return FState; }
    bool DemandActive() const { return FDemandOn; }
    int FailedAttempts() const { return FFailedAttempts; }

private:
    void Step();
    void UpdateDemand();
    void RunSequence();
    void UpdatePhysics();
    void UpdateAlarms();
    void Publish();
    void Written(char code);

    void Enter(int state);
    void BeginAttempt();
    void FailAttempt();
    double Seconds(char code) const;
    double Regulate(bool reduced);
    void Feed(double percent);
    double Uniform(double low, double high);

    Registers& FRegs;
    ModelSettings FSettings;
    std::mt19937 FRandom;

    double FTime = 0;
    double FCarry = 0;
    int FState = MainState::Standby;
    double FStateTime = 0;

    Demand FDemandMode;
    bool FDemandOn = false;
    double FDemandLeft = 3.0;

    int FOutputs1 = 0; // what the sequence drives this tick
    int FOutputs2 = 0;
    bool FFan = false;
    bool FWatchdog = false;

    int FFailedAttempts = 0;
    double FIgnitionTime = 0; // since the hot air first came on in this attempt (VMax)
    double FHotAir = 0;       // hot-air time the pellets have had in this attempt
    double FIgnitionDelay = 60;
    bool FWillIgnite = true;
    double FRunTime = 0;   // since the start dose of this run
    double FDriftTime = 0; // running time in this stretch of Drift
    double FPeriodTime = 0;
    double FFeedPercent = 0;
    double FIntegrator = 0;
    double FDriftMinutes = 0;
    bool FFotoTimeout = false;
    double FDarkTime = 0;

    double FPellets;
    bool FForcedOutDone = false;
    double FFuel = 0; // burn rate of the fuel in the burner, 0..1 of continuous feed
    bool FFlame = false;
    bool FPhoto = false;
    double FPhotoLevel = 0; // the controller's filtered view of the photo cell
    double FPhotoShare = 0.87;
    double FTemperature = 20;
    double FDamperOpen = 0; // seconds the damper has been open
    int FAlarms = 0;
};
