#include "testsupport.h"
#include "tst_comport.h"
#include "tst_comselectform.h"
#include "tst_eventtimer.h"
#include "tst_scheduler.h"
#include "tst_transaction.h"

int main(int argc, char** argv) {
    return RunTests<TestEventTimer, TestComSelectForm, TestComPort, TestTransaction, TestScheduler>(
        argc, argv);
}
