#pragma once

#include <functional>
#include <string>
#include <vector>

namespace quantivo {

// What a result file is written from: the list's columns and its rows in display order.
struct TResultTable {
    std::vector<std::string> captions;
    std::vector<int> widths;
    int rowCount = 0;
    std::function<std::string(int row, int column)> cellText;
};

// The header line and one line per row, each ended by CR LF, fields joined by ';' and
// never quoted. Column 0 is always written; the other columns only while their width is
// above 0.
std::string ResultFileText(const TResultTable& table);

}  // namespace quantivo
