#pragma once

class QWidget;

// Placement of controls as the class library does it: a control is docked to an edge of
// its parent (Align), or sits at a fixed position whose distances to the anchored edges of
// the parent are kept when the parent changes size (Anchors). Positions are in the
// parent's client area, inside its border width.
//
// Docking goes through the aligned controls by kind, top, bottom, left, right, client,
// and within a kind in the order they were aligned: the first top control is topmost,
// the first bottom control is bottommost, and so on; each takes its edge of what the
// ones before left over. Hidden controls take no room. Everything is laid out again at
// once when the parent changes size, a control is placed, resized, shown or hidden.
enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

enum TAnchorKind : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = unsigned;

// Left, top, width and height in the parent's client area; for a docked control only the
// size across its edge counts (the width of a left control, the height of a top one).
void SetBounds(QWidget* control, int left, int top, int width, int height);
void SetWidth(QWidget* control, int width);
void SetHeight(QWidget* control, int height);
void SetAlign(QWidget* control, TAlign align);
// The distances to the anchored edges are taken from where the control is now.
// akLeft | akTop (the default) keeps it where it is.
void SetAnchors(QWidget* control, TAnchors anchors);
// The parent's inner border: its client area is this much smaller on every side.
void SetBorderWidth(QWidget* parent, int width);
