#pragma once

#include <QObject>

class TestFormMain : public QObject {
    Q_OBJECT

private slots:
    void pointListInTableOrder();
    void pointDetails_data();
    void pointDetails();
    void everyPointHoldsItsBitsAndLamps();
    void lampColours_data();
    void lampColours();
    void inputLampsIgnoreClicks();
    void outputLampClickPreparesWrite_data();
    void outputLampClickPreparesWrite();
    void typedTimeIsWrittenInRawUnits();
    void olderVersionBoxRemovesAndReaddsIntegrator();
    void startUpState();
    void editBoxStates_data();
    void editBoxStates();
    void lampHintsReachTheStatusBar_data();
    void lampHintsReachTheStatusBar();
    void aboutBoxClosesOnEnter();
    void quitClosesTheWindow();
    void helpKeyOpensTopics_data();
    void helpKeyOpensTopics();
    void smallWindowScrolls();
};
