#pragma once

#include <QObject>

class TestBurnerModel : public QObject {
    Q_OBJECT

private slots:
    void demandLeadsThroughStartToRunning();
    void setPointDecidesRunningTemperature_data();
    void setPointDecidesRunningTemperature();
    void setPointWrittenWhileRunning();
    void feedPulsesFollowPulsAndPeriod_data();
    void feedPulsesFollowPulsAndPeriod();
    void failedStartsRaiseStartProblemAlarm_data();
    void failedStartsRaiseStartProblemAlarm();
    void unmaskedAlarmDoesNotStop();
    void pelletsOutStopsUntilCleared();
    void maxTemperatureAlarm();
    void photoCellFlickersWhileFlameBurns();
    void demandEndLeadsToAfterRun();
    void standbyOutputsHoldWrites();
    void autoDemandComesAndGoes();
    void sameSeedSameRunWhateverTheSteps();
};
