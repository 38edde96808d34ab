#include "tst_filedialogs.h"

#include "tfiledialogs.h"

#include <QTest>

void TestFileDialogs::qtFilter_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("qt");
    QTest::newRow("patterns already shown") << "Hexfiles (*.Hex)|*.Hex"
                                            << "Hexfiles (*.Hex)";
    QTest::newRow("patterns shown without a blank") << "Parameterfil(*.Txt)|*.Txt"
                                                    << "Parameterfil(*.Txt)";
    QTest::newRow("other patterns shown") << "Hexfiles (*.hex)|*.Hex"
                                          << "Hexfiles (*.hex) (*.Hex)";
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
