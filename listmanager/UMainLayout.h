#pragma once

#include "platform/toolkit/TAlign.h"

#include <QRect>

#include <span>

namespace pellicor {

// A control of the main window at a fixed place: its bounds in its parent's client area
// (inside the parent's border) and the edges of the parent it keeps its distances to.
struct TPlacedControl {
    const char* name;
    QRect bounds;
    TAnchors anchors = akLeft | akTop;
};

// Every control that the main window places by bounds, by name; the window takes each
// place from here.
std::span<const TPlacedControl> MainWindowPlacedControls();

}  // namespace pellicor
