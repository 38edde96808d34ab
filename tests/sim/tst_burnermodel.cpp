#include "tst_burnermodel.h"

#include "burnermodel.h"

#include <QDebug>
#include <QTest>

#include <algorithm>

#include <cmath>

namespace {

constexpr double kMinute = 60.0;

Request Write(char code, int value) {
    return {RequestKind::Write, code, quint16(value)};
}

// A model with the thermostat held on (or as given) and its register map.
struct Burner {
    explicit Burner(ModelSettings settings = {}, Demand demand = Demand::On)
        : model(registers, WithDemand(settings, demand)) {}

    static ModelSettings WithDemand(ModelSettings settings, Demand demand) {
        settings.demand = demand;
        return settings;
    }

    int Value(char code) const { return registers.Value(code); }
    bool Bit(char code, int bit) const { return (registers.Value(code) & bit) != 0; }

    // Advances tick by tick until the state is reached; false after the time limit.
    bool RunUntilState(int state, double limit) {
        for (double t = 0; t < limit; t += BurnerModel::kTick) {
            if (model.State() == state)
                return true;
            model.Advance(BurnerModel::kTick);
        }
        return model.State() == state;
    }

    // The mean temperature over a stretch of simulated time.
    double MeanTemperature(double seconds) {
        double sum = 0;
        int count = 0;
        for (double t = 0; t < seconds; t += 1.0) {
            model.Advance(1.0);
            sum += model.Temperature();
            ++count;
        }
        return sum / count;
    }

    Registers registers;
    BurnerModel model;
};

} // namespace

void TestBurnerModel::demandLeadsThroughStartToRunning() {
    Burner b;
    QList<int> states{b.model.State()};
    for (double t = 0; t < 15 * kMinute; t += BurnerModel::kTick) {
        b.model.Advance(BurnerModel::kTick);
        if (b.model.State() != states.constLast())
            states << b.model.State();
    }
    // The start goes forward through the sequence without a failed attempt.
    QCOMPARE(states.constFirst(), int(MainState::Standby));
    QCOMPARE(states.mid(1, 2), (QList<int>{MainState::StartDose, MainState::Ignition}));
    QVERIFY2(std::is_sorted(states.begin(), states.end()), qPrintable(QDebug::toString(states)));
    QVERIFY(states.contains(MainState::FlameSeen));
    QCOMPARE(states.constLast(), int(MainState::Running));

    QVERIFY(b.model.Flame());
    QCOMPARE(b.Value(Reg::MainState), int(MainState::Running));
    QCOMPARE(b.Value(Reg::TermoState), int(TermoState::Demand));
    QVERIFY(!b.Bit(Reg::Inputs, Bit::Termostat)); // active low: calls for heat
    QVERIFY(!b.Bit(Reg::Inputs, Bit::SpjallKvittens));
    QVERIFY(b.Bit(Reg::Out1, Bit::Rotor));
    QVERIFY(b.Bit(Reg::Out1, Bit::RokgasFlakt));
    QVERIFY(!b.Bit(Reg::Out1, Bit::Spiral));
    QVERIFY(b.Bit(Reg::PortC, Bit::Flakt));
    QVERIFY(b.Bit(Reg::Out2, Bit::Spjall));
    QCOMPARE(b.Value(Reg::LarmRegister), 0);
    const double temperature = b.MeanTemperature(kMinute);
    QVERIFY2(temperature > 500 && temperature < 800, qPrintable(QString::number(temperature)));
    QCOMPARE(b.Value(Reg::Temperatur), int(std::lround(b.model.Temperature())));
    const int feed = b.Value(Reg::Matning);
    QVERIFY2(feed >= 20 && feed <= 80, qPrintable(QString::number(feed)));
    // Drift time counts the minutes with flame, about 13 of the 16.
    QVERIFY2(b.Value(Reg::DriftTid) >= 11 && b.Value(Reg::DriftTid) <= 15,
             qPrintable(QString::number(b.Value(Reg::DriftTid))));
    QVERIFY(b.Value(Reg::Timer4) > ScaledFromSeconds(15 * kMinute));
    QVERIFY(std::abs(b.Value(Reg::IntegratorIntern)) <= 1200);
}

void TestBurnerModel::setPointDecidesRunningTemperature_data() {
    QTest::addColumn<int>("setPoint");
    for (int setPoint : {600, 680, 760})
        QTest::newRow(qPrintable(QString::number(setPoint))) << setPoint;
}

void TestBurnerModel::setPointDecidesRunningTemperature() {
    QFETCH(int, setPoint);
    Burner b;
    b.model.Handle(Write(Reg::TempSet, setPoint));
    b.model.Advance(20 * kMinute);
    QCOMPARE(b.model.State(), int(MainState::Running));
    const double temperature = b.MeanTemperature(2 * kMinute);
    QVERIFY2(std::abs(temperature - setPoint) < 25, qPrintable(QString::number(temperature)));
}

void TestBurnerModel::setPointWrittenWhileRunning() {
    Burner b;
    b.model.Advance(15 * kMinute);
    const double before = b.MeanTemperature(kMinute);
    QCOMPARE(b.model.Handle(Write(Reg::TempSet, 780)), std::optional<QByteArray>(" U030C\r"));
    b.model.Advance(8 * kMinute);
    const double after = b.MeanTemperature(kMinute);
    QVERIFY2(after > before + 60, qPrintable(QStringLiteral("%1 -> %2").arg(before).arg(after)));
}

void TestBurnerModel::feedPulsesFollowPulsAndPeriod_data() {
    QTest::addColumn<double>("puls");
    QTest::addColumn<double>("period");

    QTest::newRow("defaults") << 2.0 << 10.0;
    QTest::newRow("longer pulse") << 4.0 << 10.0;
    QTest::newRow("longer period") << 2.0 << 20.0;
}

void TestBurnerModel::feedPulsesFollowPulsAndPeriod() {
    QFETCH(double, puls);
    QFETCH(double, period);
    Burner b;
    b.model.Handle(Write(Reg::Puls, ScaledFromSeconds(puls)));
    b.model.Handle(Write(Reg::Period, ScaledFromSeconds(period)));
    b.model.Advance(20 * kMinute);
    QCOMPARE(b.model.State(), int(MainState::Running));
    // The screw runs Puls * feed % once every Period.
    double screwTime = 0;
    double expected = 0;
    int rises = 0;
    bool wasOn = b.Bit(Reg::Out1, Bit::Skruv);
    const double span = 10 * period;
    for (double t = 0; t < span - 1e-6; t += BurnerModel::kTick) {
        b.model.Advance(BurnerModel::kTick);
        const bool on = b.Bit(Reg::Out1, Bit::Skruv);
        screwTime += on ? BurnerModel::kTick : 0;
        rises += on && !wasOn;
        wasOn = on;
        expected += ScaledFromSeconds(puls) * kScaledUnit * b.Value(Reg::Matning) / 100.0 / period *
                    BurnerModel::kTick;
    }
    QVERIFY2(rises >= 9 && rises <= 11, qPrintable(QString::number(rises)));
    QVERIFY2(std::abs(screwTime - expected) < 0.1 * expected + 1.0,
             qPrintable(QStringLiteral("%1 s, expected %2 s").arg(screwTime).arg(expected)));
}

void TestBurnerModel::failedStartsRaiseStartProblemAlarm_data() {
    QTest::addColumn<int>("attempts");
    QTest::addColumn<int>("vmaxSeconds");
    QTest::newRow("one attempt") << 1 << 180;
    QTest::newRow("three attempts") << 3 << 180;
    QTest::newRow("three attempts, short VMax") << 3 << 40;
}

void TestBurnerModel::failedStartsRaiseStartProblemAlarm() {
    QFETCH(int, attempts);
    QFETCH(int, vmaxSeconds);
    ModelSettings settings;
    settings.noFlame = true;
    Burner b(settings);
    b.model.Handle(Write(Reg::FelInnanLarm, attempts));
    b.model.Handle(Write(Reg::VMax, ScaledFromSeconds(vmaxSeconds)));
    // Each attempt: start dose T1, hot air until VMax, then T7 before the next one.
    const double t1 = ScaledFromSeconds(10) * kScaledUnit;
    const double vmax = ScaledFromSeconds(vmaxSeconds) * kScaledUnit;
    const double t7 = ScaledFromSeconds(60) * kScaledUnit;
    const double alarmAt = t1 + vmax + (attempts - 1) * (t1 + vmax + t7);

    b.model.Advance(alarmAt - 2.0);
    QCOMPARE(b.Value(Reg::LarmRegister), 0);
    QCOMPARE(b.Value(Reg::LarmCounter), 0);
    QVERIFY(b.model.State() != MainState::Alarm);
    b.model.Advance(4.0);
    QCOMPARE(b.Value(Reg::LarmRegister), Bit::StartProblemLarm);
    QCOMPARE(b.Value(Reg::LarmCounter), 1);
    QCOMPARE(b.model.State(), int(MainState::Alarm));
    QVERIFY(b.Bit(Reg::Out2, Bit::Larm));
    QCOMPARE(b.Value(Reg::Out1) & ~Bit::CirkPump, 0);

    // It stays stopped until the PC clears the alarm, then starts again.
    b.model.Advance(10 * kMinute);
    QCOMPARE(b.model.State(), int(MainState::Alarm));
    QCOMPARE(b.model.Handle(Write(Reg::LarmRegister, 0)), std::optional<QByteArray>(" f00\r"));
    b.model.Advance(1.0);
    QCOMPARE(b.model.State(), int(MainState::StartDose));
    QVERIFY(!b.Bit(Reg::Out2, Bit::Larm));
}

void TestBurnerModel::unmaskedAlarmDoesNotStop() {
    ModelSettings settings;
    settings.noFlame = true;
    Burner b(settings);
    b.model.Handle(Write(Reg::FelInnanLarm, 1));
    b.model.Handle(Write(Reg::LarmMask, 0x1F & ~Bit::StartProblemLarm));
    b.model.Advance(5 * kMinute);
    QCOMPARE(b.Value(Reg::LarmRegister), Bit::StartProblemLarm);
    QVERIFY(b.model.State() != MainState::Alarm);
    QVERIFY(!b.Bit(Reg::Out2, Bit::Larm));
}

void TestBurnerModel::pelletsOutStopsUntilCleared() {
    ModelSettings settings;
    settings.pelletsKg = 50;
    settings.pelletsOutAfter = 15 * kMinute;
    Burner b(settings);
    b.model.Advance(15 * kMinute - 1.0);
    QCOMPARE(b.model.State(), int(MainState::Running));
    QVERIFY(b.model.PelletsKg() < 50);
    QVERIFY(!b.Bit(Reg::Inputs, Bit::PelletsSlut));

    b.model.Advance(2.0);
    QVERIFY(b.Bit(Reg::Inputs, Bit::PelletsSlut));
    QCOMPARE(b.Value(Reg::LarmRegister), Bit::PelletsSlutLarm);
    QCOMPARE(b.Value(Reg::LarmCounter), 1);
    QCOMPARE(b.model.State(), int(MainState::Alarm));
    b.model.Advance(5 * kMinute);
    QVERIFY(!b.model.Flame());
    QVERIFY(!b.Bit(Reg::Out1, Bit::Skruv));

    // Clearing the alarm means the store was filled: the burner starts and runs again.
    b.model.Handle(Write(Reg::LarmRegister, 0));
    QCOMPARE(b.model.PelletsKg(), 50.0);
    QVERIFY(!b.Bit(Reg::Inputs, Bit::PelletsSlut));
    QVERIFY(b.RunUntilState(MainState::Running, 15 * kMinute));
    QCOMPARE(b.Value(Reg::LarmRegister), 0);
}

void TestBurnerModel::maxTemperatureAlarm() {
    Burner b;
    b.model.Advance(12 * kMinute);
    QVERIFY(b.model.Temperature() > 450);
    b.model.Handle(Write(Reg::LarmTemp, 400));
    b.model.Advance(BurnerModel::kTick);
    QCOMPARE(b.Value(Reg::LarmRegister), Bit::MaxtempLarm);
    QCOMPARE(b.model.State(), int(MainState::Alarm));
    // Once cooled below the limit, clearing lets it start again.
    b.model.Advance(15 * kMinute);
    QVERIFY(b.model.Temperature() < 400);
    b.model.Handle(Write(Reg::LarmRegister, 0));
    b.model.Advance(1.0);
    QCOMPARE(b.Value(Reg::LarmRegister), 0);
    QCOMPARE(b.model.State(), int(MainState::StartDose));
}

void TestBurnerModel::photoCellFlickersWhileFlameBurns() {
    Burner b;
    int seen = 0;
    for (int n = 0; n < 300; ++n) {
        b.model.Advance(BurnerModel::kTick);
        seen += b.Bit(Reg::Inputs, Bit::FotoCell);
    }
    QCOMPARE(seen, 0); // no flame before the hot air has had time
    b.model.Advance(15 * kMinute);
    QVERIFY(b.model.Flame());
    const int ticks = 3000;
    for (int n = 0; n < ticks; ++n) {
        b.model.Advance(BurnerModel::kTick);
        seen += b.Bit(Reg::Inputs, Bit::FotoCell);
    }
    const double share = double(seen) / ticks;
    QVERIFY2(share > 0.78 && share < 0.97, qPrintable(QString::number(share)));
    QVERIFY(seen < ticks); // it does flicker
}

void TestBurnerModel::demandEndLeadsToAfterRun() {
    Burner b;
    b.model.Advance(15 * kMinute);
    QCOMPARE(b.model.State(), int(MainState::Running));
    b.model.SetDemand(Demand::Off);
    b.model.Advance(1.0);
    QCOMPARE(b.model.State(), int(MainState::AfterRun));
    QCOMPARE(b.Value(Reg::TermoState), int(TermoState::AfterRun));
    QVERIFY(b.Bit(Reg::Inputs, Bit::Termostat));
    QVERIFY(b.Bit(Reg::Out1, Bit::Rotor));
    QVERIFY(b.Bit(Reg::PortC, Bit::Flakt));
    QVERIFY(!b.Bit(Reg::Out1, Bit::Skruv));

    const double t8 = ScaledFromSeconds(120) * kScaledUnit;
    b.model.Advance(t8 - 3.0);
    QCOMPARE(b.model.State(), int(MainState::AfterRun));
    b.model.Advance(3.0);
    QCOMPARE(b.model.State(), int(MainState::Standby));
    QCOMPARE(b.Value(Reg::Out1), 0);
    QCOMPARE(b.Value(Reg::Out2), 0);
    QVERIFY(!b.Bit(Reg::PortC, Bit::Flakt));
    const int driftMinutes = b.Value(Reg::DriftTid);
    // Off, the burner cools toward room temperature and the drift time stands.
    b.model.Advance(20 * kMinute);
    QVERIFY2(b.model.Temperature() < 40, qPrintable(QString::number(b.model.Temperature())));
    QCOMPARE(b.Value(Reg::DriftTid), driftMinutes);
    QCOMPARE(b.Value(Reg::TermoState), int(TermoState::NoDemand));
}

void TestBurnerModel::standbyOutputsHoldWrites() {
    Burner b({}, Demand::Off);
    b.model.Advance(10.0);
    QCOMPARE(b.model.State(), int(MainState::Standby));
    QCOMPARE(b.model.Handle(Write(Reg::Out1, Bit::Skruv | Bit::Rotor)),
             std::optional<QByteArray>(" A28\r"));
    b.model.Handle(Write(Reg::Out2, Bit::Larm));
    b.model.Handle(Write(Reg::PortC, Bit::Flakt));
    const int watchdog = b.Value(Reg::PortC) & Bit::Wdog;
    b.model.Advance(BurnerModel::kTick);
    QCOMPARE(b.Value(Reg::PortC) & Bit::Wdog, watchdog ^ Bit::Wdog);
    b.model.Advance(30.0 + BurnerModel::kTick);
    QCOMPARE(b.Value(Reg::Out1), Bit::Skruv | Bit::Rotor);
    QCOMPARE(b.Value(Reg::Out2), int(Bit::Larm));
    QVERIFY(b.Bit(Reg::PortC, Bit::Flakt));
    QCOMPARE(b.model.State(), int(MainState::Standby));
    QVERIFY(b.model.PelletsKg() < 200); // the screw really runs
    QVERIFY(!b.model.Flame());          // but without hot air nothing burns

    // Out of standby the sequence drives the outputs again.
    b.model.SetDemand(Demand::On);
    b.model.Advance(1.0);
    QCOMPARE(b.model.State(), int(MainState::StartDose));
    b.model.Handle(Write(Reg::Out1, 0));
    b.model.Advance(BurnerModel::kTick);
    QVERIFY(b.Bit(Reg::Out1, Bit::Skruv));
    QVERIFY(!b.Bit(Reg::Out2, Bit::Larm));
}

void TestBurnerModel::autoDemandComesAndGoes() {
    Burner b({}, Demand::Auto);
    QList<double> changes;
    bool demand = b.model.DemandActive();
    for (double t = 0; t < 4 * 60 * kMinute; t += 1.0) {
        b.model.Advance(1.0);
        if (b.model.DemandActive() != demand) {
            demand = !demand;
            changes << b.model.Time();
        }
    }
    QVERIFY2(changes.size() >= 6, qPrintable(QString::number(changes.size())));
    QVERIFY(changes.constFirst() < 10.0); // soon after start, so there is something to see
    for (int n = 1; n < changes.size(); ++n) {
        const double length = changes[n] - changes[n - 1];
        const bool wasOn = n % 2 == 1;
        if (wasOn)
            QVERIFY2(length >= 20 * kMinute && length <= 40 * kMinute,
                     qPrintable(QString::number(length)));
        else
            QVERIFY2(length >= 3 * kMinute && length <= 8 * kMinute,
                     qPrintable(QString::number(length)));
    }
}

void TestBurnerModel::sameSeedSameRunWhateverTheSteps() {
    ModelSettings settings;
    settings.seed = 7;
    Burner fine(settings);
    Burner coarse(settings);
    for (int n = 0; n < 20 * 60 * 20; ++n)
        fine.model.Advance(0.05);
    for (int n = 0; n < 20; ++n)
        coarse.model.Advance(kMinute);
    QCOMPARE(fine.model.Time(), coarse.model.Time());
    QCOMPARE(fine.model.Temperature(), coarse.model.Temperature());
    for (const RegisterInfo& info : Registers::All())
        QCOMPARE(fine.Value(info.code), coarse.Value(info.code));

    settings.seed = 8;
    Burner other(settings);
    other.model.Advance(20 * kMinute);
    QVERIFY(other.model.Temperature() != fine.model.Temperature());
}
