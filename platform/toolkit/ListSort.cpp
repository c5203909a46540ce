#include "platform/toolkit/ListSort.h"

#include <algorithm>
#include <numeric>

std::vector<int> SortedOrder(int count, const std::function<int(int, int)>& compare)
{
    std::vector<int> order(static_cast<size_t>(count > 0 ? count : 0));
    std::iota(order.begin(), order.end(), 0);
    std::vector<int> buffer(order.size());
    // Bottom-up: merge runs of width 1, 2, 4, ... from order into buffer, then swap.
    for (size_t width = 1; width < order.size(); width *= 2) {
        for (size_t lo = 0; lo < order.size(); lo += 2 * width) {
            const size_t mid = std::min(lo + width, order.size());
            const size_t hi = std::min(lo + 2 * width, order.size());
            size_t a = lo;
            size_t b = mid;
            size_t out = lo;
            while (a < mid && b < hi) {
                // Take from the right run only when the left row must follow it: stable.
                buffer[out++] = compare(order[a], order[b]) > 0 ? order[b++] : order[a++];
            }
            while (a < mid) {
                buffer[out++] = order[a++];
            }
            while (b < hi) {
                buffer[out++] = order[b++];
            }
        }
        order.swap(buffer);
    }
    return order;
}
