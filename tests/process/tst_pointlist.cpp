#include "tst_pointlist.h"

#include "testsupport.h"
#include "tled.h"
#include "tzubit.h"
#include "tzuiolist.h"

#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include <map>

namespace {

// A small process image: a byte point "C" with eight lamps, words "a" and
// "A", a signed word "j" and the text point "V", each with an edit box.
struct ListFixture {
    ListFixture() : list(&window) {
        list.OnIOChange = [this](TZuIO*) { ++changes; };
        Add("Inputs", 'C', IOType::sByte);
        Add("Temperatur", 'a', IOType::sWord);
        Add("Out1", 'A', IOType::sWord);
        Add("IntegratorIntern", 'j', IOType::SignsWord);
        Add("Version", 'V', IOType::sString);
        for (int n = 0; n < 8; ++n) {
            auto* bit = new TZuBit(points['C'], QStringLiteral("Bit%1").arg(n), n);
            bit->SetLed(new TLed(&window));
            points['C']->AddBit(bit);
            const TZuBit::TBitChangeEvent toPoint = bit->OnBitChange;
            bit->OnBitChange = [this, toPoint](TZuBit* s, int b, int v) {
                ++bitChanges;
                toPoint(s, b, v);
            };
            bits.append(bit);
        }
    }

    void Add(const char* title, char code, IOType type) {
        auto* edit = new QLineEdit(&window);
        edit->setText(QStringLiteral("..."));
        auto* point = new TZuIO(&window, QString::fromLatin1(title), code, type, IODir::In, edit);
        list.AddIO(point);
        points[code] = point;
    }

    QWidget window;
    TZuIOList list;
    std::map<char, TZuIO*> points;
    QList<TZuBit*> bits;
    int changes = 0;
    int bitChanges = 0;
};

} // namespace

// Each row: reply text; then for the points touched, code -> value and shown
// text. Points not named keep their start value 0 and text "...".
void TestPointList::unpackMsg_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("codes");
    QTest::addColumn<QList<int>>("values");
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("empty") << QByteArray() << QByteArray() << QList<int>{} << QStringList{};
    QTest::newRow("byte 5A") << QByteArray("C5A") << QByteArray("C") << QList<int>{90}
                             << QStringList{"90"};
    QTest::newRow("word 0293") << QByteArray("a0293") << QByteArray("a") << QList<int>{659}
                               << QStringList{"659"};
    QTest::newRow("signed FFF6") << QByteArray("jFFF6") << QByteArray("j") << QList<int>{65526}
                                 << QStringList{"-10"};
    QTest::newRow("fifth digit ignored")
        << QByteArray("a12345") << QByteArray("a") << QList<int>{4660} << QStringList{"4660"};
    QTest::newRow("one digit") << QByteArray("a7") << QByteArray("a") << QList<int>{7}
                               << QStringList{"7"};
    QTest::newRow("lower-case digits")
        << QByteArray("a5a") << QByteArray("a") << QList<int>{90} << QStringList{"90"};
    QTest::newRow("upper-case code is another point")
        << QByteArray("A5A") << QByteArray("A") << QList<int>{90} << QStringList{"90"};
    QTest::newRow("code alone") << QByteArray("C") << QByteArray() << QList<int>{} << QStringList{};
    QTest::newRow("non-hex digit")
        << QByteArray("C1G") << QByteArray() << QList<int>{} << QStringList{};
    QTest::newRow("sign is not a digit")
        << QByteArray("a-1") << QByteArray() << QList<int>{} << QStringList{};
    QTest::newRow("hex prefix is not a digit")
        << QByteArray("ax12") << QByteArray() << QList<int>{} << QStringList{};
    QTest::newRow("unknown code") << QByteArray("Z12") << QByteArray() << QList<int>{}
                                  << QStringList{};
    QTest::newRow("text point") << QByteArray("VKolvo1.07") << QByteArray("V") << QList<int>{0}
                                << QStringList{"Kolvo1.07"};
    QTest::newRow("text point, nothing after")
        << QByteArray("V") << QByteArray("V") << QList<int>{0} << QStringList{""};
    QTest::newRow("text point, code page")
        << QByteArray("V\xe5\xe4\xf6") << QByteArray("V") << QList<int>{0}
        << QStringList{QString::fromUtf8("åäö")};
}

void TestPointList::unpackMsg() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, codes);
    QFETCH(QList<int>, values);
    QFETCH(QStringList, shown);

    ListFixture f;
    f.points['V']->UpdateWithNoEvent(3); // so that the text point's 0 is a change
    f.points['V']->Edit()->setText(QStringLiteral("..."));
    f.list.UnpackMsg(text);
    for (const auto& [code, point] : f.points) {
        const qsizetype at = codes.indexOf(code);
        const int startValue = code == 'V' ? 3 : 0;
        QCOMPARE(point->Value(), at < 0 ? startValue : values[at]);
        QCOMPARE(point->Edit()->text(), at < 0 ? QStringLiteral("...") : shown[at]);
    }
    const int inputs = f.points['C']->Value();
    for (int n = 0; n < 8; ++n)
        QCOMPARE(f.bits[n]->Value(), (inputs >> n) & 1);
    QCOMPARE(f.changes, 0);
    QCOMPARE(f.bitChanges, 0);
    for (const auto& [code, point] : f.points)
        QCOMPARE(point->WriteRequest, false);
}

void TestPointList::everyMatchingPointIsDecoded() {
    ListFixture f;
    auto* twin =
        new TZuIO(&f.window, QStringLiteral("Tvilling"), 'a', IOType::sByte, IODir::In, nullptr);
    f.list.AddIO(twin);
    f.list.UnpackMsg("a0102");
    QCOMPARE(f.points['a']->Value(), 0x102);
    QCOMPARE(twin->Value(), 0x102);
}

void TestPointList::removedPointIsNotDecoded() {
    ListFixture f;
    TZuIO* j = f.points['j'];
    f.list.UnpackMsg("j0005");
    QVERIFY(f.list.Items.Remove(j));
    f.list.UnpackMsg("jFFF6");
    QCOMPARE(j->Value(), 5);
    QCOMPARE(j->Edit()->text(), QStringLiteral("5"));
    // Added again, it is last and decoded again.
    f.list.AddIO(j);
    QCOMPARE(f.list.Items.Snapshot().last(), j);
    QCOMPARE(f.list.Items.Count(), 5);
    f.list.UnpackMsg("jFFF6");
    QCOMPARE(j->Edit()->text(), QStringLiteral("-10"));
}

void TestPointList::pointWithWaitingWriteKeepsItsValue() {
    ListFixture f;
    TZuIO* c = f.points['C'];
    c->SetValue(0x5A); // the user's value, its write waiting
    c->WriteRequest = true;
    f.list.UnpackMsg("C07"); // the controller still has the old value
    QCOMPARE(c->Value(), 0x5A);
    c->WriteRequest = false; // written
    f.list.UnpackMsg("C07");
    QCOMPARE(c->Value(), 7);
}

void TestPointList::addTwiceKeepsFirstPositionAndRenewsHook() {
    ListFixture f;
    TZuIO* first = f.points['C'];
    int renewed = 0;
    f.list.OnIOChange = [&](TZuIO*) { ++renewed; };
    f.list.AddIO(first);
    const QList<TZuIO*> items = f.list.Items.Snapshot();
    QCOMPARE(items.size(), 5);
    QCOMPARE(items.first(), first);
    QCOMPARE(items.count(first), 1);
    first->SetValue(1);
    QCOMPARE(renewed, 1);
    QCOMPARE(f.changes, 0);
}

void TestPointList::hookIsCopiedWhenAdded() {
    ListFixture f;
    f.list.OnIOChange = nullptr;
    f.points['a']->SetValue(9);
    QCOMPARE(f.changes, 1); // the old hook stayed with the point
    auto* late =
        new TZuIO(&f.window, QStringLiteral("Sen"), 'q', IOType::sWord, IODir::In, nullptr);
    f.list.AddIO(late);
    late->SetValue(3);
    QCOMPARE(f.changes, 1);
}

// A poll step holds the list while the reply is decoded, and handlers run
// inside it lock the list again; the same thread must get through.
void TestPointList::locksAreReentrant() {
    ListFixture f;
    int seenCount = -1;
    f.points['a']->OnIOChange = [&](TZuIO*) {
        TThreadList<TZuIO>::Locked again(f.list.Items);
        seenCount = int(again->size());
        f.list.UnpackMsg("C01");
    };
    {
        TThreadList<TZuIO>::Locked items(f.list.Items);
        f.list.UnpackMsg("C5A");
        f.points['a']->SetValue(1);
    }
    QCOMPARE(seenCount, 5);
    QCOMPARE(f.points['C']->Value(), 1);
    QCOMPARE(f.bits[0]->Value(), 1);
    QCOMPARE(f.bits[1]->Value(), 0);
}

void TestPointList::hexWord_data() {
    QTest::addColumn<QByteArray>("digits");
    QTest::addColumn<int>("value"); // -1: refused
    QTest::newRow("empty") << QByteArray() << -1;
    QTest::newRow("FFFF") << QByteArray("FFFF") << 65535;
    QTest::newRow("ffff") << QByteArray("ffff") << 65535;
    QTest::newRow("0") << QByteArray("0") << 0;
    QTest::newRow("five digits") << QByteArray("12345") << -1;
    QTest::newRow("blank") << QByteArray(" 1") << -1;
    QTest::newRow("NUL") << QByteArray("1\0", 2) << -1;
    QTest::newRow("high byte") << QByteArray("\xc6") << -1;
}

void TestPointList::hexWord() {
    QFETCH(QByteArray, digits);
    QFETCH(int, value);
    const std::optional<int> parsed = HexWord(digits);
    QCOMPARE(parsed.value_or(-1), value);
}
