#pragma once

#include <QObject>

class TestChart : public QObject {
    Q_OBJECT

private slots:
    void seriesHoldIndexedPoints();
    void appendsAreRedrawnOncePerPass();
    void bottomAxisFollowsPointsUntilUserZooms();
    void undoZoomRestoresFixedRanges();
    void bandsLieInTheirShareOfThePlot();
    void bandsScrollTogether();
    void outerAxisStandsOutByShareOfPlotWidth();
    void printsOnePageWithSideMargins();
    void copiesChartAtScreenSize();
};
