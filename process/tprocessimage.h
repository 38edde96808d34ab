#pragma once

#include "pointtable.h"
#include "tzubit.h"
#include "tzuio.h"
#include "tzuiolist.h"

#include <QList>
#include <QObject>

#include <functional>

class QLineEdit;
class TLed;

// The whole process image of the controller: the point list and every
// point and bit of the register map, bound to the window's edit boxes and
// lamps. Points and the list belong to the owner (the main window); bits to
// their point. References to every point and bit are kept here for the
// commands that address them directly.
class TProcessImage {
public:
    using TEditLookup = std::function<QLineEdit*(const char* name)>;
    using TLedLookup = std::function<TLed*(const char* name)>;

    // Builds everything in table order. The list's hook is set before the
    // first point is added, so every point gets it.
    TProcessImage(QObject* Owner, TZuIO::TIOChangeEvent onIOChange, const TEditLookup& edits,
                  const TLedLookup& leds);

    TZuIOList* IOList() const { return FIOList; }
    // In table order.
    const QList<TZuIO*>& Points() const { return FPoints; }
    const QList<TZuBit*>& AllBits() const { return FBits; }

    // The point of a title, or of a code character; nullptr when there is none.
    TZuIO* Point(const QString& title) const;
    TZuIO* PointOfCode(char code) const;
    // The bit `bit` of the point with that title.
    TZuBit* Bit(const QString& pointTitle, int bit) const;

    // Older controller programs lack "IntegratorIntern": ticked removes it
    // from the list (no longer polled or decoded), unticked adds it again at
    // the end, where it was created.
    void SetOlderVersion(bool older);

    // Turns the scan of the switched points on or off ("Visa i realtid").
    void SetSwitchedScan(bool on);

private:
    TZuIOList* FIOList;
    QList<TZuIO*> FPoints;
    QList<TZuBit*> FBits;
    QList<TZuIO*> FSwitched;
};
