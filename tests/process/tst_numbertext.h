#pragma once

#include <QObject>

class TestNumberText : public QObject {
    Q_OBJECT

private slots:
    void formats_data();
    void formats();
    void parses_data();
    void parses();
    void formattedNumbersReadBack_data();
    void formattedNumbersReadBack();
    void ansiText();
};
