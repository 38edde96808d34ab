#pragma once

#include "tlinkparts.h"

#include <cstdint>

class TTransaction;

// One poll step at a time: the first point from the cursor with a pending
// read-once or write request is served; only when nothing is pending is the
// next continuously scanned point read. After a disconnect the step closes
// the port.
class TPollScheduler {
public:
    TPollScheduler(const TLinkParts& parts, TTransaction& transaction)
        : FParts(parts), FTransaction(transaction) {}

    void ScanNext();

    // Where the next search begins; never reset, taken modulo the list's count.
    std::int32_t ScanIndex = 0;

private:
    TLinkParts FParts;
    TTransaction& FTransaction;
};
