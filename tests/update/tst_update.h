#pragma once

#include <QObject>

class TestUpdate : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void splitsLines_data();
    void splitsLines();
    void recordFilter_data();
    void recordFilter();
    void loadShowsNameAndCount();
    void unreadableFileRaises();
    void sendLine_data();
    void sendLine();
    void lineEndAfterStatusFailsNextLine();
    void percentagesOf412Lines();
    void noSendableLineOpensNothing();
    void avbrytDuringRun();
    void avbrytTwiceClosesAfterTheRun();
    void portThatCannotOpenBreaksTheRunOff();
    void finalMessages_data();
    void finalMessages();
    void dialogStartState();
    void closedDialogFreesItself();
};
