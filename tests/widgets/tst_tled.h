#pragma once

#include <QObject>

class TestLed : public QObject {
    Q_OBJECT

private slots:
    void newLampDefaults();
    void switchingSetsFillColour_data();
    void switchingSetsFillColour();
    void colourChangeShowsAtNextSwitch();
    void colourValues_data();
    void colourValues();
    void systemColourFollowsPalette();
    void paintsFigure_data();
    void paintsFigure();
    void mouseDown_data();
    void mouseDown();
    void otherButtonsRaiseNothing();
};
