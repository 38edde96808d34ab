#include "testsupport.h"
#include "tst_tled.h"

int main(int argc, char** argv) {
    return RunTests<TestLed>(argc, argv);
}
