#pragma once

#include <QIcon>
#include <QImage>

// The program's icon: a flame over a pellet burner on a dark rounded square.
// One drawing serves the window, the About box and the icon files the
// desktop finds after installation.

// The icon drawn at `size` x `size` pixels, transparent around the square.
QImage ProgramIconImage(int size);

// The icon at the sizes desktops ask for (16 to 256 pixels).
QIcon ProgramIcon();

// The sizes the icon is installed at, in pixels.
inline constexpr int kProgramIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
