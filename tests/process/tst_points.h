#pragma once

#include <QObject>

class TestPoints : public QObject {
    Q_OBJECT

private slots:
    void setValue_data();
    void setValue();
    void updateWithNoEventRaisesNothing();
    void scaleValue_data();
    void scaleValue();
    void typedValues_data();
    void typedValues();
    void enterAndReturnBothConvert();
    void enterThenLeavingWritesOnce();
    void shownScaledValuesReadBackUnchanged_data();
    void shownScaledValuesReadBackUnchanged();
    void textAndBitPointsIgnoreTheBox();
    void lampClicks_data();
    void lampClicks();
    void bitsFollowByteValue();
    void bitsOfOtherTypesAreNotDriven();
    void addBitOnceAndBindsReadOnlyLamps();
    void laterPointTakesOverTheBox();
};
