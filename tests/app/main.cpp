#include "testsupport.h"
#include "tst_application.h"

int main(int argc, char** argv) {
    // The application object under test is the one the test runs in.
    TGlodrikApplication application(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}
