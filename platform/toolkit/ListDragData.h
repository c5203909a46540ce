#pragma once

class QMimeData;
class TListView;

// The data a TListView drags: it names the list the rows come from, so that a drop
// target in the same program can tell its source even when the drag event does not.
QMimeData* MakeRowDragData(const TListView& source);
// The list that is dragging, or nullptr for data from anywhere else (another program, a
// list that no longer exists).
TListView* RowDragSource(const QMimeData* data);
