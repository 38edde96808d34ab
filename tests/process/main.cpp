#include "testsupport.h"
#include "tst_numbertext.h"
#include "tst_pointlist.h"
#include "tst_points.h"

int main(int argc, char** argv) {
    return RunTests<TestNumberText, TestPoints, TestPointList>(argc, argv);
}
