#pragma once

class QLabel;

// Makes the label's font smaller, two pixels at a time, until its word-wrapped text fits
// the label's fixed box (or the font reaches minPixelSize). A long product name would
// otherwise be cut off at the box's bottom edge.
void ShrinkFontToFit(QLabel& label, int minPixelSize);
