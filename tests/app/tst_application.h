#pragma once

#include "tglodrikapplication.h"

#include <QObject>

class TestApplication : public QObject {
    Q_OBJECT

private slots:
    void errorBoxText_data();
    void errorBoxText();
    void guardedHandlerShowsErrorAndProgramGoesOn();
    void exceptionLeavingAnEventHandlerIsShown();
};
