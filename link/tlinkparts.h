#pragma once

class QLabel;
class QTimer;
class TApdComPort;
class TLed;
class TZuBit;
class TZuIO;
class TZuIOList;

// What the link works with, all owned by the main window: its port, the
// point list, the connection lamp (whose state is the connected flag), the
// frame and rate labels, the one-second timer, and the point "Inputs" with
// its photo-cell bit, which the reply statistics follow.
struct TLinkParts {
    TApdComPort* ComPort1 = nullptr;
    TZuIOList* IOList = nullptr;
    TLed* LedConnected = nullptr;
    QLabel* Label98 = nullptr;
    QLabel* LabelFreq = nullptr;
    QTimer* Timer1 = nullptr;
    TZuIO* Inputs = nullptr;
    TZuBit* FotoCell = nullptr;
};
