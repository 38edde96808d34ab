#pragma once

#include "tprocessimage.h"

#include <QLineEdit>
#include <QList>

// The controller's whole process image without a window, recording every
// change event it raises.
struct FuzzImage {
    FuzzImage()
        : image(
              &owner, [this](TZuIO* point) { changed << point; },
              [](const char*) -> QLineEdit* { return nullptr; },
              [](const char*) -> TLed* { return nullptr; }) {}
    QObject owner;
    QList<TZuIO*> changed;
    TProcessImage image;
};
