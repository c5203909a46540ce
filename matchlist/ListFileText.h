#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The list-file text: one line per plate entry (plate, id-number joined with the
// separator and quote character), then one line per special entry in force; every line
// ends with CR LF.

// The special entries in the order they are written: No Match, No Read, No Plate.
inline constexpr std::array<std::string_view, 3> kSpecialKeywords{"NOMATCH", "NOREAD", "NOPLATE"};

struct TSpecialEntry {
    bool checked = false;
    std::string idText;
};
using TSpecialEntries = std::array<TSpecialEntry, 3>;  // indexed like kSpecialKeywords

struct TPlateRow {
    std::string plate;
    std::string idText;

    bool operator==(const TPlateRow&) const = default;
};

// A field is quoted when it holds a character of code 1 to 32, the quote character or
// the separator; inside quotes the quote character is doubled. A field ends at a NUL.
std::string JoinFields(const std::vector<std::string>& fields, char delimiter, char quote);

// Blanks (codes 1 to 32) separate fields as well as the separator does. A quoted field
// without its closing quote character runs to the end of the line. A NUL ends the line.
std::vector<std::string> SplitFields(std::string_view line, char delimiter, char quote);

// rowAt(i) gives plate row i (0 to rowCount - 1) in the list's current order, so the
// rows are read where they live and never copied as a whole.
std::string BuildListFileText(int rowCount, const std::function<TPlateRow(int row)>& rowAt,
                              const TSpecialEntries& specials, char delimiter, char quote);

// The entries a load adds, in file order, from line firstLine (1-based; below 1 counts
// as 1) on: the first two fields of every line whose plate and id-number (checked
// against maxId) are valid. Special keywords come back as plates; the caller routes them.
std::vector<TPlateRow> ParseListFileText(std::string_view bytes, int firstLine, char delimiter,
                                         char quote, int64_t maxId);
