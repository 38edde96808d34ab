#pragma once

#include "threadlist.h"
#include "tzuio.h"

#include <QByteArray>
#include <QObject>

// Every point of the process image, in the order added. Hands its change
// hook to each point it receives, is the sequence the poll walks, and decodes
// reply texts into the matching points without raising any event.
class TZuIOList : public QObject {
    Q_OBJECT

public:
    explicit TZuIOList(QObject* Owner);
    ~TZuIOList() override;

    // Appends the point unless it is already listed, then gives it the list's
    // hook as it is now: later changes of the hook do not reach it.
    void AddIO(TZuIO* point);

    // Decodes one reply text: the code character and its payload, as the
    // transaction collected it after the reply's last blank.
    void UnpackMsg(const QByteArray& text);

    TZuIO::TIOChangeEvent OnIOChange;
    TThreadList<TZuIO> Items;
};

// The value of one to four hexadecimal digits (either case); none for an
// empty text or any other character.
std::optional<int> HexWord(QByteArrayView digits);
