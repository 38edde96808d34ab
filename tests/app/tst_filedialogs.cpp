#include "tst_filedialogs.h"

#include "tfiledialogs.h"

#include <QTest>

void TestFileDialogs::qtFilter_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("qt");
    QTest::newRow("one pair") << "Hexfiles (*.Hex)|*.Hex"
                              << "Hexfiles (*.Hex) (*.Hex)";
    QTest::newRow("log files") << "*.Log|*.Log|*Seq|*.Seq|AllFiles *.*|*.*"
                               << "*.Log (*.Log);;*Seq (*.Seq);;AllFiles *.* (*.*)";
    QTest::newRow("several patterns") << "Text|*.txt;*.Txt"
                                      << "Text (*.txt *.Txt)";
    QTest::newRow("odd part left over") << "Text|*.txt|Rest"
                                        << "Text (*.txt)";
    QTest::newRow("empty") << ""
                           << "";
}

void TestFileDialogs::qtFilter() {
    QFETCH(QString, filter);
    QFETCH(QString, qt);
    QCOMPARE(TFileDialog::QtFilter(filter), qt);
}
