#include "testsupport.h"
#include "tst_logfile.h"
#include "tst_parameterfile.h"

int main(int argc, char** argv) {
    return RunTests<TestLogFile, TestParameterFile>(argc, argv);
}
