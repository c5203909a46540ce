#pragma once

class TListView;

// Keeps a column of an owner-drawn list as wide as the numbers it shows need, which the
// list writes unclipped, ListRowDelegate::kTextIndent pixels into their column: the column
// is as wide as its widest number plus that indent on either side in the list's font, so a
// number never runs into the next column's text, and never narrower than the width it was
// last given (its width when this starts, or one the person or the program set since). It
// follows the rows as they come, change and go, so it narrows again when the long numbers
// are gone; a hidden column stays hidden.
void KeepNumberColumnWide(TListView& list, int column);
