#pragma once

#include <QString>

// Port numbers COM1 to COM50 and the devices they stand for.
//
// On Linux a number n is resolved, in this order:
//  1. a symbolic link named "COMn" in the link folder, pointing at a device;
//     this is how the simulator, socat or a user offers a port;
//  2. the fixed table: COM1-COM4 are /dev/ttyS0-3, COM5-COM20 /dev/ttyUSB0-15,
//     COM21-COM36 /dev/ttyACM0-15; COM37-COM50 exist only through links.
// On Windows n is the device "COMn".

constexpr int kFirstComNumber = 1;
constexpr int kLastComNumber = 50;

// $XDG_RUNTIME_DIR/glodrik, or /tmp/glodrik-<uid> where XDG_RUNTIME_DIR is unset.
QString ComLinkFolder();

// The path of the link for number n in the link folder (whether it exists or not).
QString ComLinkPath(int comNumber);

// The device that number n stands for; empty for a number outside 1..50, or
// one in 37..50 without a link.
QString ComDevicePath(int comNumber);
