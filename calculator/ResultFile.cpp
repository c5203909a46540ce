#include "calculator/ResultFile.h"

namespace quantivo {

std::string ResultFileText(const TResultTable& table)
{
    std::vector<int> columns;
    for (int c = 0; c < static_cast<int>(table.captions.size()); ++c)
        if (c == 0 || table.widths[c] > 0)
            columns.push_back(c);

    std::string text;
    auto appendLine = [&](auto&& field) {
        for (size_t i = 0; i < columns.size(); ++i) {
            if (i > 0)
                text += ';';
            text += field(columns[i]);
        }
        text += "\r\n";
    };
    appendLine([&](int c) { return table.captions[c]; });
    for (int row = 0; row < table.rowCount; ++row)
        appendLine([&](int c) { return table.cellText(row, c); });
    return text;
}

}  // namespace quantivo
