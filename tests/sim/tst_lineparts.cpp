#include "tst_lineparts.h"

#include "faultinjector.h"
#include "pacedqueue.h"
#include "simoptions.h"
#include "transcript.h"

#include <QTest>

Q_DECLARE_METATYPE(FaultSettings)

namespace {

const QByteArray kReply(" C5A\r");

FaultSettings Faults(double drop, double late, double noise, double split, bool crlf = false) {
    FaultSettings s;
    s.dropPercent = drop;
    s.latePercent = late;
    s.noisePercent = noise;
    s.splitPercent = split;
    s.crlf = crlf;
    return s;
}

} // namespace

void TestLineParts::faultShares_data() {
    QTest::addColumn<FaultSettings>("settings");
    QTest::addColumn<double>("dropped");
    QTest::addColumn<double>("late");
    QTest::addColumn<double>("noisy");
    QTest::addColumn<double>("split");

    QTest::newRow("none") << Faults(0, 0, 0, 0) << 0.0 << 0.0 << 0.0 << 0.0;
    QTest::newRow("drop 20") << Faults(20, 0, 0, 0) << 20.0 << 0.0 << 0.0 << 0.0;
    QTest::newRow("late 30") << Faults(0, 30, 0, 0) << 0.0 << 30.0 << 0.0 << 0.0;
    QTest::newRow("noise 50") << Faults(0, 0, 50, 0) << 0.0 << 0.0 << 50.0 << 0.0;
    QTest::newRow("split 10") << Faults(0, 0, 0, 10) << 0.0 << 0.0 << 0.0 << 10.0;
    QTest::newRow("drop all") << Faults(100, 50, 50, 50) << 100.0 << 0.0 << 0.0 << 0.0;
    // Shares among the replies that are sent.
    QTest::newRow("all mixed") << Faults(10, 10, 10, 10) << 10.0 << 10.0 << 10.0 << 10.0;
}

void TestLineParts::faultShares() {
    QFETCH(FaultSettings, settings);
    QFETCH(double, dropped);
    QFETCH(double, late);
    QFETCH(double, noisy);
    QFETCH(double, split);

    FaultInjector faults(settings, 1);
    const int replies = 4000;
    int counts[4] = {};
    int sent = 0;
    for (int n = 0; n < replies; ++n) {
        const ReplyPlan plan = faults.Plan(kReply);
        if (plan.dropped) {
            QVERIFY(plan.pieces.empty());
            ++counts[0];
            continue;
        }
        ++sent;
        counts[1] += plan.pieces.front().delay > 1.0;
        counts[2] += !plan.Whole().startsWith(' ');
        counts[3] += plan.pieces.size() > 1;
    }
    const double expected[4] = {dropped, late, noisy, split};
    for (int k = 0; k < 4; ++k) {
        const double share = 100.0 * counts[k] / (k == 0 ? replies : std::max(1, sent));
        QVERIFY2(std::abs(share - expected[k]) < 3.0,
                 qPrintable(QStringLiteral("fault %1: %2 %").arg(k).arg(share)));
    }
}

void TestLineParts::faultyRepliesKeepTheirContent() {
    FaultInjector faults(Faults(0, 50, 50, 50, true), 3);
    for (int n = 0; n < 1000; ++n) {
        const ReplyPlan plan = faults.Plan(kReply);
        QVERIFY(!plan.dropped);
        const QByteArray whole = plan.Whole();
        // Noise goes before the reply only, and never frames anything.
        QVERIFY(whole.endsWith(kReply + "\n"));
        const QByteArray noise = whole.left(whole.size() - kReply.size() - 1);
        QVERIFY(noise.size() <= 5);
        QVERIFY(!noise.contains(' ') && !noise.contains('\r') && !noise.contains('\n'));
        for (char c : noise)
            QVERIFY(c > ' ' && c < 0x7F);
        // A reply is sent at once or late, in up to 3 non-empty pieces 5-50 ms apart.
        QVERIFY(plan.pieces.size() >= 1 && plan.pieces.size() <= 3);
        const double start = plan.pieces.front().delay;
        QVERIFY(start == 0.0 || start == FaultInjector::kLateDelay);
        for (size_t k = 0; k < plan.pieces.size(); ++k) {
            QVERIFY(!plan.pieces[k].bytes.isEmpty());
            if (k > 0) {
                const double gap = plan.pieces[k].delay - plan.pieces[k - 1].delay;
                QVERIFY2(gap >= 0.005 - 1e-9 && gap <= 0.050 + 1e-9,
                         qPrintable(QString::number(gap)));
            }
        }
    }
}

void TestLineParts::faultsRepeatForASeed() {
    const FaultSettings settings = Faults(20, 20, 20, 20);
    FaultInjector first(settings, 9);
    FaultInjector second(settings, 9);
    FaultInjector other(settings, 10);
    int differ = 0;
    for (int n = 0; n < 200; ++n) {
        const ReplyPlan a = first.Plan(kReply);
        const ReplyPlan b = second.Plan(kReply);
        const ReplyPlan c = other.Plan(kReply);
        QCOMPARE(a.dropped, b.dropped);
        QCOMPARE(a.Whole(), b.Whole());
        QCOMPARE(a.pieces.size(), b.pieces.size());
        differ += a.dropped != c.dropped || a.Whole() != c.Whole();
    }
    QVERIFY(differ > 0);
}

void TestLineParts::pacing_data() {
    QTest::addColumn<bool>("transmitFirst");
    QTest::addColumn<double>("firstDue");
    QTest::newRow("going out: the first character takes its time too") << true << 1.0;
    QTest::newRow("coming in: the first character has arrived") << false << 0.0;
}

void TestLineParts::pacing() {
    QFETCH(bool, transmitFirst);
    QFETCH(double, firstDue);
    const double c = PacedQueue::kCharTime19200;
    QVERIFY(std::abs(c - 0.00052) < 0.00001);
    PacedQueue queue(c, transmitFirst);
    const double t0 = 10.0;
    queue.Push(QByteArray("abcd"), t0);
    QCOMPARE(*queue.NextDue(), t0 + firstDue * c);
    QCOMPARE(queue.TakeDue(t0 - 0.001), QByteArray());
    QCOMPARE(queue.TakeDue(t0 + (firstDue + 1.5) * c), QByteArray("ab"));
    // Pushed while the line is busy: queued behind, still one character time apart.
    queue.Push(QByteArray("ef"), t0 + 2 * c);
    QCOMPARE(queue.TakeDue(t0 + (firstDue + 4.5) * c), QByteArray("cde"));
    QCOMPARE(queue.TakeDue(t0 + (firstDue + 5.5) * c), QByteArray("f"));
    QVERIFY(queue.IsEmpty());
    QVERIFY(!queue.NextDue());
    // After a pause the line starts afresh at the moment of the push.
    queue.Push(QByteArray("g"), t0 + 1.0);
    QCOMPARE(*queue.NextDue(), t0 + 1.0 + firstDue * c);

    PacedQueue unpaced(0.0, transmitFirst);
    unpaced.Push(QByteArray("xyz"), t0);
    QCOMPARE(unpaced.TakeDue(t0), QByteArray("xyz"));
}

void TestLineParts::escapes_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("request") << QByteArray(" RC\r") << QByteArray("\" RC\\r\"");
    QTest::newRow("CR LF") << QByteArray(" C5A\r\n") << QByteArray("\" C5A\\r\\n\"");
    QTest::newRow("quote and backslash") << QByteArray("a\"b\\") << QByteArray("\"a\\\"b\\\\\"");
    QTest::newRow("control and high bytes")
        << QByteArray("\x01\x7f\xff\t", 4) << QByteArray("\"\\x01\\x7F\\xFF\\t\"");
    QTest::newRow("NUL") << QByteArray(1, '\0') << QByteArray("\"\\x00\"");
    QTest::newRow("empty") << QByteArray() << QByteArray("\"\"");
}

void TestLineParts::escapes() {
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, text);
    QCOMPARE(EscapeBytes(bytes), text);
}

void TestLineParts::transcriptLine() {
    QCOMPARE(Transcript::Line(12.3456784, "RX", " RC\r"), QByteArray("12.345678 RX \" RC\\r\"\n"));
}

void TestLineParts::options_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("outcome");
    const int run = ParseResult::Run;
    const int help = ParseResult::Help;
    const int error = ParseResult::Error;

    QTest::newRow("no options") << QStringList{} << run;
    QTest::newRow("help") << QStringList{"--help"} << help;
    QTest::newRow("com 1") << QStringList{"--com", "1"} << run;
    QTest::newRow("com 50") << QStringList{"--com=50"} << run;
    QTest::newRow("com 0") << QStringList{"--com", "0"} << error;
    QTest::newRow("com 51") << QStringList{"--com", "51"} << error;
    QTest::newRow("com not a number") << QStringList{"--com", "COM3"} << error;
    QTest::newRow("com without value") << QStringList{"--com"} << error;
    QTest::newRow("percent with fraction") << QStringList{"--drop", "12.5"} << run;
    QTest::newRow("percent over 100") << QStringList{"--noise", "101"} << error;
    QTest::newRow("negative percent") << QStringList{"--split", "-1"} << error;
    QTest::newRow("speed zero") << QStringList{"--speed", "0"} << error;
    QTest::newRow("speed 60") << QStringList{"--speed", "60"} << run;
    QTest::newRow("version") << QStringList{"--version", "1.06"} << run;
    QTest::newRow("version with blank") << QStringList{"--version", "1 06"} << error;
    QTest::newRow("empty version") << QStringList{"--version", ""} << error;
    QTest::newRow("demand on") << QStringList{"--demand", "on"} << run;
    QTest::newRow("demand unknown") << QStringList{"--demand", "maybe"} << error;
    QTest::newRow("boot-loader fault") << QStringList{"--bootloader", "--bl-fail", "3"} << run;
    QTest::newRow("boot-loader fault alone") << QStringList{"--bl-fail", "3"} << error;
    QTest::newRow("record 0") << QStringList{"--bootloader", "--bl-late", "0"} << error;
    QTest::newRow("unknown option") << QStringList{"--colour"} << error;
    QTest::newRow("stray argument") << QStringList{"37"} << error;
}

void TestLineParts::options() {
    QFETCH(QStringList, arguments);
    QFETCH(int, outcome);
    SimOptions options;
    const ParseResult result = ParseOptions(QStringList{"kolvo-sim"} + arguments, options);
    QCOMPARE(int(result.outcome), outcome);
    QCOMPARE(result.text.isEmpty(), outcome == ParseResult::Run);
}

void TestLineParts::optionValues() {
    SimOptions defaults;
    QCOMPARE(int(ParseOptions({"kolvo-sim"}, defaults).outcome), int(ParseResult::Run));
    QCOMPARE(defaults.comNumber, 37);
    QCOMPARE(defaults.version, QByteArray("1.07"));
    QVERIFY(!defaults.fast && !defaults.bootLoader && !defaults.faults.crlf);
    QCOMPARE(defaults.model.demand, Demand::Auto);

    SimOptions o;
    const QStringList arguments{
        "kolvo-sim",    "--com",        "45",          "--fast", "--seed",
        "99",           "--late",       "5",           "--crlf", "--pellets-out-after",
        "30",           "--bootloader", "--bl-silent", "4",      "--bl-crlf",
        "--transcript", "/tmp/t.txt"};
    QCOMPARE(int(ParseOptions(arguments, o).outcome), int(ParseResult::Run));
    QCOMPARE(o.comNumber, 45);
    QVERIFY(o.fast);
    QCOMPARE(o.seed, 99u);
    QCOMPARE(o.model.seed, 99u);
    QCOMPARE(o.faults.latePercent, 5.0);
    QVERIFY(o.faults.crlf);
    QCOMPARE(o.model.pelletsOutAfter, 30.0);
    QCOMPARE(o.bootLoaderSettings.silentRecord, 4);
    QVERIFY(o.bootLoaderSettings.crlf);
    QCOMPARE(o.transcriptFile, QStringLiteral("/tmp/t.txt"));
}
