#pragma once

class TListView;

// Keeps a column of an owner-drawn list wide enough for the numbers it shows, which the
// list writes unclipped, ListRowDelegate::kTextIndent pixels into their column: the column
// is never narrower than its widest number plus that indent on either side in the list's
// font, so a number never runs into the next column's text. It grows as rows come or
// change and takes any greater width it is given; a hidden column stays hidden.
void KeepNumberColumnWide(TListView& list, int column);
