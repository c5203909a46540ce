#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

// Cuts one entry of a log (text a peer sent, with line breaks of its own or not) into the
// lines a log shows for it, as a text view counts them: CR LF, a lone CR and LF each end a
// line. The entry ends its last line, so a line break at its end starts no other line and
// an empty entry is one empty line. A line longer than maxLength characters (0: no bound)
// goes on in a line of its own every maxLength characters: every byte is kept. Each log
// counts, holds and trims exactly the lines it shows.
void ForEachLogLine(std::string_view entry, size_t maxLength,
                    const std::function<void(std::string_view line)>& take);
