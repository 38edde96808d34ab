#include "testsupport.h"
#include "tst_update.h"

int main(int argc, char** argv) {
    return RunTests<TestUpdate>(argc, argv);
}
