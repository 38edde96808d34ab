#include "testsupport.h"
#include "tst_comport.h"
#include "tst_comselectform.h"
#include "tst_eventtimer.h"

int main(int argc, char** argv) {
    return RunTests<TestEventTimer, TestComSelectForm, TestComPort>(argc, argv);
}
