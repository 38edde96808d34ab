#pragma once

#include <QObject>

class TestSeriesData : public QObject {
    Q_OBJECT

private slots:
    void fewPointsAreDrawnAsTheyAre();
    void outlineKeepsEveryExtreme_data();
    void outlineKeepsEveryExtreme();
    void clearStartsAgain();
};
