#include "testsupport.h"
#include "tst_simulatorlink.h"

int main(int argc, char** argv) {
    return RunTests<TestSimulatorLink>(argc, argv);
}
