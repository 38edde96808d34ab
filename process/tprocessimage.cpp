#include "tprocessimage.h"

#include "tled.h"

#include <QLineEdit>

TProcessImage::TProcessImage(QObject* Owner, TZuIO::TIOChangeEvent onIOChange,
                             const TEditLookup& edits, const TLedLookup& leds)
    : FIOList(new TZuIOList(Owner)) {
    FIOList->OnIOChange = std::move(onIOChange);
    for (const PointRow& row : kPointTable) {
        QLineEdit* edit = row.Edit ? edits(row.Edit) : nullptr;
        auto* point = new TZuIO(Owner, QString::fromUtf8(row.Title), row.MsgCode, row.Type,
                                row.Direction, edit);
        if (row.Scale != 1.0)
            point->Scale = row.Scale;
        if (row.Scan == ScanMode::On)
            point->AutoScan = true;
        if (row.Scan == ScanMode::Switched)
            FSwitched.append(point);
        FIOList->AddIO(point);
        FPoints.append(point);

        for (const BitRow& bitRow : kBitTable) {
            if (qstrcmp(bitRow.Point, row.Title) != 0)
                continue;
            auto* bit = new TZuBit(point, QString::fromUtf8(bitRow.IOName), bitRow.Bit);
            bit->SetLed(leds(bitRow.Led));
            point->AddBit(bit);
            FBits.append(bit);
        }
    }
}

TZuIO* TProcessImage::Point(const QString& title) const {
    for (TZuIO* point : FPoints) {
        if (point->Title() == title)
            return point;
    }
    return nullptr;
}

TZuIO* TProcessImage::PointOfCode(char code) const {
    for (TZuIO* point : FPoints) {
        if (point->MsgCode() == code)
            return point;
    }
    return nullptr;
}

TZuBit* TProcessImage::Bit(const QString& pointTitle, int bit) const {
    TZuIO* point = Point(pointTitle);
    if (!point)
        return nullptr;
    for (TZuBit* candidate : point->Bits.Snapshot()) {
        if (candidate->Bit() == bit)
            return candidate;
    }
    return nullptr;
}

void TProcessImage::SetOlderVersion(bool older) {
    TZuIO* integrator = Point(QStringLiteral("IntegratorIntern"));
    if (older)
        FIOList->Items.Remove(integrator);
    else
        FIOList->AddIO(integrator);
}

void TProcessImage::SetSwitchedScan(bool on) {
    TThreadList<TZuIO>::Locked items(FIOList->Items);
    for (TZuIO* point : FSwitched)
        point->AutoScan = on;
}
