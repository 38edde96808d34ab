#include "testsupport.h"
#include "tst_simulatorbootloader.h"
#include "tst_simulatorlink.h"
#include "tst_simulatorwindow.h"

int main(int argc, char** argv) {
    return RunTests<TestSimulatorLink, TestSimulatorWindow, TestSimulatorBootLoader>(argc, argv);
}
