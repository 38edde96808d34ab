#pragma once

#include <QObject>

class TestComSelectForm : public QObject {
    Q_OBJECT

private slots:
    void layoutAndTexts();
    void listsExistingPortsInOrder();
    void emptyListSelectsNothing();
    void testOpenDecidesWhatIsListed();
};
