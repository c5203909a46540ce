#pragma once

#include <functional>
#include <vector>

// The order in which count rows stand after a stable sort by compare (negative: the
// first row goes before the second). A merge sort that only ever compares two rows, so
// a compare that is not consistent (a wrapping 32-bit difference, say) gives some order
// but never reads outside the rows. Returns: position i holds the old row order[i].
std::vector<int> SortedOrder(int count, const std::function<int(int, int)>& compare);
