#include "testsupport.h"
#include "tst_chart.h"
#include "tst_seriesdata.h"

int main(int argc, char** argv) {
    return RunTests<TestChart, TestSeriesData>(argc, argv);
}
