#include "testsupport.h"
#include "tst_bootloader.h"
#include "tst_burnermodel.h"
#include "tst_lineparts.h"
#include "tst_registers.h"
#include "tst_requestparser.h"
#include "tst_simprogram.h"

int main(int argc, char** argv) {
    return RunTests<TestRequestParser, TestRegisters, TestBurnerModel, TestBootLoader,
                    TestLineParts, TestSimProgram>(argc, argv);
}
