#include "tst_registers.h"

#include "registers.h"

#include <QTest>

void TestRegisters::reads_data() {
    QTest::addColumn<char>("code");
    QTest::addColumn<QByteArray>("reply");

    QTest::newRow("byte point, two digits") << 'K' << QByteArray(" K03\r");
    QTest::newRow("byte mask") << 'g' << QByteArray(" g1F\r");
    QTest::newRow("word point, four digits") << 'U' << QByteArray(" U02A8\r");
    QTest::newRow("scaled word") << 'M' << QByteArray(" M0098\r");
    QTest::newRow("signed word") << 'j' << QByteArray(" j0000\r");
    QTest::newRow("text") << 'V' << QByteArray(" V1.07\r");
    QTest::newRow("digit code") << '5' << QByteArray(" 50098\r");
}

void TestRegisters::reads() {
    QFETCH(char, code);
    QFETCH(QByteArray, reply);
    Registers registers;
    QCOMPARE(registers.Handle({RequestKind::Read, code, 0}), std::optional<QByteArray>(reply));
}

void TestRegisters::writes_data() {
    QTest::addColumn<char>("code");
    QTest::addColumn<int>("written");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("stored");

    QTest::newRow("byte") << 'A' << 0x1F << QByteArray(" A1F\r") << 0x1F;
    QTest::newRow("byte keeps low 8 bits") << 'A' << 0x1234 << QByteArray(" A34\r") << 0x34;
    QTest::newRow("byte from one digit") << 'L' << 0x7 << QByteArray(" L07\r") << 7;
    QTest::newRow("word") << 'U' << 0x02EE << QByteArray(" U02EE\r") << 750;
    QTest::newRow("word from two digits") << 'a' << 0x23 << QByteArray(" a0023\r") << 0x23;
    QTest::newRow("word all ones") << 'i' << 0xFFFF << QByteArray(" iFFFF\r") << 0xFFFF;
    QTest::newRow("signed negative") << 'j' << 0xFB50 << QByteArray(" jFB50\r") << -1200;
    QTest::newRow("signed positive") << 'j' << 0x04B0 << QByteArray(" j04B0\r") << 1200;
    QTest::newRow("text ignores writes") << 'V' << 0x12 << QByteArray(" V1.07\r") << 0;
}

void TestRegisters::writes() {
    QFETCH(char, code);
    QFETCH(int, written);
    QFETCH(QByteArray, reply);
    QFETCH(int, stored);
    Registers registers;
    const Request write{RequestKind::Write, code, quint16(written)};
    QCOMPARE(registers.Handle(write), std::optional<QByteArray>(reply));
    QCOMPARE(registers.Value(code), stored);
    // A read afterwards answers the same as the write did.
    QCOMPARE(registers.Handle({RequestKind::Read, code, 0}), std::optional<QByteArray>(reply));
}

void TestRegisters::modelValuesAreFormattedAsTheyAreHeld_data() {
    QTest::addColumn<char>("code");
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("reply");

    QTest::newRow("signed word below zero") << 'j' << -1 << QByteArray(" jFFFF\r");
    QTest::newRow("signed word lower limit") << 'j' << -1200 << QByteArray(" jFB50\r");
    QTest::newRow("word over 16 bits") << 'a' << 0x12345 << QByteArray(" a2345\r");
    QTest::newRow("byte over 8 bits") << 'X' << 0x10A << QByteArray(" X0A\r");
}

void TestRegisters::modelValuesAreFormattedAsTheyAreHeld() {
    QFETCH(char, code);
    QFETCH(int, value);
    QFETCH(QByteArray, reply);
    Registers registers;
    registers.Set(code, value);
    QCOMPARE(registers.Reply(code), reply);
}

void TestRegisters::unknownCodesGetNoAnswer_data() {
    QTest::addColumn<char>("code");
    for (char code : {'q', 'z', 'k', 'W', 'r', '0', '~', '#'})
        QTest::newRow(QByteArray(1, code).constData()) << code;
}

void TestRegisters::unknownCodesGetNoAnswer() {
    QFETCH(char, code);
    Registers registers;
    QVERIFY(!registers.Handle({RequestKind::Read, code, 0}));
    QVERIFY(!registers.Handle({RequestKind::Write, code, 0x12}));
    QCOMPARE(registers.Value(code), 0);
}

void TestRegisters::versionDecidesIntegratorPoint_data() {
    QTest::addColumn<QByteArray>("version");
    QTest::addColumn<bool>("knowsJ");

    QTest::newRow("1.07") << QByteArray("1.07") << true;
    QTest::newRow("1.06") << QByteArray("1.06") << false;
    QTest::newRow("1.05") << QByteArray("1.05") << false;
    QTest::newRow("0.99") << QByteArray("0.99") << false;
    QTest::newRow("1.10") << QByteArray("1.10") << true;
    QTest::newRow("2.00") << QByteArray("2.00") << true;
    QTest::newRow("1.1 is 1.10") << QByteArray("1.1") << true;
    QTest::newRow("1.0 is 1.00") << QByteArray("1.0") << false;
    QTest::newRow("not a number counts as new") << QByteArray("beta") << true;
}

void TestRegisters::versionDecidesIntegratorPoint() {
    QFETCH(QByteArray, version);
    QFETCH(bool, knowsJ);
    Registers registers(version);
    QCOMPARE(registers.Handle({RequestKind::Read, 'j', 0}).has_value(), knowsJ);
    QCOMPARE(registers.Handle({RequestKind::Write, 'j', 5}).has_value(), knowsJ);
    QCOMPARE(registers.Handle({RequestKind::Read, 'V', 0}),
             std::optional<QByteArray>(" V" + version + "\r"));
    // The points next to it are there in every version.
    QVERIFY(registers.Handle({RequestKind::Read, 'i', 0}).has_value());
}

void TestRegisters::scaledTimes_data() {
    QTest::addColumn<double>("seconds");
    QTest::addColumn<int>("raw");

    QTest::newRow("10 s") << 10.0 << 152;
    QTest::newRow("one unit") << 0.065536 << 1;
    QTest::newRow("just under one unit") << 0.065 << 0;
    QTest::newRow("180 s") << 180.0 << 2746;
    QTest::newRow("zero") << 0.0 << 0;
}

void TestRegisters::scaledTimes() {
    QFETCH(double, seconds);
    QFETCH(int, raw);
    QCOMPARE(ScaledFromSeconds(seconds), raw);
}
