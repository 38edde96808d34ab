#include "tst_requestparser.h"

#include "requestparser.h"

#include <QTest>

namespace {

// A frame as short text: "R C", "W a 0123", or "-" for a frame that is no request.
QString Describe(const Frame& frame) {
    if (!frame.request)
        return QStringLiteral("-");
    const Request& r = *frame.request;
    if (r.kind == RequestKind::Read)
        return QStringLiteral("R %1").arg(QLatin1Char(r.code));
    return QStringLiteral("W %1 %2")
        .arg(QLatin1Char(r.code))
        .arg(QString::number(r.value, 16).toUpper().rightJustified(4, QLatin1Char('0')));
}

QStringList DescribeAll(const std::vector<Frame>& frames) {
    QStringList list;
    for (const Frame& frame : frames)
        list << Describe(frame);
    return list;
}

} // namespace

void TestRequestParser::frames_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("frames");

    QTest::newRow("read") << QByteArray(" RC\r") << QStringList{"R C"};
    QTest::newRow("write byte") << QByteArray(" WA1F\r") << QStringList{"W A 001F"};
    QTest::newRow("write word") << QByteArray(" Wa0123\r") << QStringList{"W a 0123"};
    QTest::newRow("one digit") << QByteArray(" WA5\r") << QStringList{"W A 0005"};
    QTest::newRow("lower-case hex") << QByteArray(" Wa0f0a\r") << QStringList{"W a 0F0A"};
    QTest::newRow("code that is a digit") << QByteArray(" W1ABCD\r") << QStringList{"W 1 ABCD"};
    QTest::newRow("code that is a hex letter") << QByteArray(" Wa1\r") << QStringList{"W a 0001"};
    QTest::newRow("two frames in one piece")
        << QByteArray(" RC\r RA\r") << QStringList{"R C", "R A"};
    QTest::newRow("text before the first space") << QByteArray("xyz RC\r") << QStringList{"R C"};
    QTest::newRow("space restarts a read") << QByteArray(" RC RA\r") << QStringList{"R A"};
    QTest::newRow("space restarts a write") << QByteArray(" Wa01 RX\r") << QStringList{"R X"};
    QTest::newRow("CR LF") << QByteArray(" RC\r\n RA\r\n") << QStringList{"R C", "R A"};
    QTest::newRow("CR outside a frame") << QByteArray("\r\r RC\r") << QStringList{"R C"};
    QTest::newRow("unfinished") << QByteArray(" RC") << QStringList{};
    QTest::newRow("space then CR") << QByteArray(" \r") << QStringList{"-"};
    QTest::newRow("read without code") << QByteArray(" R\r") << QStringList{"-"};
    QTest::newRow("read with two codes") << QByteArray(" RCC\r") << QStringList{"-"};
    QTest::newRow("write without digits") << QByteArray(" WA\r") << QStringList{"-"};
    QTest::newRow("five digits") << QByteArray(" Wa01234\r") << QStringList{"-"};
    QTest::newRow("invalid hex") << QByteArray(" WaG1\r") << QStringList{"-"};
    QTest::newRow("sign in value") << QByteArray(" Wa-1\r") << QStringList{"-"};
    QTest::newRow("lower-case command") << QByteArray(" rc\r") << QStringList{"-"};
    QTest::newRow("other command") << QByteArray(" XC\r") << QStringList{"-"};
    QTest::newRow("LF inside") << QByteArray(" R\nC\r") << QStringList{"-"};
    QTest::newRow("control code") << QByteArray(" R\x01\r") << QStringList{"-"};
    QTest::newRow("overlong, then a good one")
        << QByteArray(" R" + QByteArray(100, 'C') + "\r RC\r") << QStringList{"-", "R C"};
    QTest::newRow("garbage between frames")
        << QByteArray(" RC\r#+*\n RA\r") << QStringList{"R C", "R A"};
}

void TestRequestParser::frames() {
    QFETCH(QByteArray, input);
    QFETCH(QStringList, frames);
    RequestParser parser;
    QCOMPARE(DescribeAll(parser.Feed(input)), frames);
}

void TestRequestParser::chunkingDoesNotMatter_data() {
    frames_data();
}

void TestRequestParser::chunkingDoesNotMatter() {
    QFETCH(QByteArray, input);
    QFETCH(QStringList, frames);
    // The same stream in pieces of every size from one byte up gives the same frames.
    for (int piece = 1; piece <= 4; ++piece) {
        RequestParser parser;
        std::vector<Frame> all;
        for (qsizetype at = 0; at < input.size(); at += piece) {
            for (Frame& frame : parser.Feed(QByteArrayView(input).sliced(
                     at, std::min<qsizetype>(piece, input.size() - at))))
                all.push_back(std::move(frame));
        }
        QCOMPARE(DescribeAll(all), frames);
    }
}

void TestRequestParser::frameTextIsWhatOpenedAndClosedIt() {
    RequestParser parser;
    const std::vector<Frame> frames = parser.Feed(QByteArray("ab Wa01 RX\r Wq12\r"));
    QCOMPARE(int(frames.size()), 2);
    QCOMPARE(frames[0].text, QByteArray(" RX\r"));
    QCOMPARE(frames[1].text, QByteArray(" Wq12\r"));
    // Reset forgets a frame half received.
    parser.Feed(QByteArray(" RC"));
    parser.Reset();
    QVERIFY(parser.Feed(QByteArray("\r")).empty());
}
