#pragma once

#include <QObject>

class TestComPort : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void defaults();
    void writesAndReadsInOrder();
    void charactersWaitBetweenCalls();
    void emptyStringSendsNothing();
    void openEmptiesBuffersAndFlushDiscards();
    void closedPortOperationsFail_data();
    void closedPortOperationsFail();
    void autoOpenOpensOnFirstUse();
    void missingDeviceIsBadId_data();
    void missingDeviceIsBadId();
    void promptCancelledThenChosen();
    void portHeldByAnotherProgram();
    void newNumberReopensOpenPort();
};
