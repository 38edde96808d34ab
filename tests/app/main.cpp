#include "testsupport.h"
#include "tst_application.h"
#include "tst_connection.h"
#include "tst_filedialogs.h"
#include "tst_formmain.h"
#include "tst_logcommands.h"
#include "tst_updatecommand.h"

int main(int argc, char** argv) {
    // The application object under test is the one the tests run in.
    TGlodrikApplication application(argc, argv);
    int status = 0;
    status |= RunTest<TestApplication>(argc, argv);
    status |= RunTest<TestFileDialogs>(argc, argv);
    status |= RunTest<TestFormMain>(argc, argv);
    status |= RunTest<TestConnection>(argc, argv);
    status |= RunTest<TestUpdateCommand>(argc, argv);
    status |= RunTest<TestLogCommands>(argc, argv);
    return status;
}
