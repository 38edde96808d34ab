#pragma once

#include <QObject>

class TestRegisters : public QObject {
    Q_OBJECT

private slots:
    void reads_data();
    void reads();
    void writes_data();
    void writes();
    void modelValuesAreFormattedAsTheyAreHeld_data();
    void modelValuesAreFormattedAsTheyAreHeld();
    void unknownCodesGetNoAnswer_data();
    void unknownCodesGetNoAnswer();
    void versionDecidesIntegratorPoint_data();
    void versionDecidesIntegratorPoint();
    void scaledTimes_data();
    void scaledTimes();
};
