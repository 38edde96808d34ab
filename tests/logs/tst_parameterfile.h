#pragma once

#include <QObject>

class TestParameterFile : public QObject {
    Q_OBJECT

private slots:
    void iniValues_data();
    void iniValues();
    void parseInteger_data();
    void parseInteger();
    void loadParameters_data();
    void loadParameters();
    void snapshotLoadsBack_data();
    void snapshotLoadsBack();
    void everyTimerValueReadsBack_data();
    void everyTimerValueReadsBack();
    void parameterFilePath_data();
    void parameterFilePath();
};
