#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The longest line a log shows: a longer one goes on in a line of its own every this many
// characters. A line of tens of thousands of characters takes a text view a large part of a
// second to lay out, and a peer that never sends a line break would make each chunk read
// (up to 64 KiB) one such line.
constexpr size_t kMaxLogLineLength = 1024;

// Cuts one entry of a log (text a peer sent, with line breaks of its own or not) into the
// lines a log shows for it, as a text view counts them: CR LF, a lone CR and LF each end a
// line. The entry ends its last line, so a line break at its end starts no other line and
// an empty entry is one empty line. A line longer than maxLength characters goes on in a
// line of its own every maxLength characters: every byte is kept. Appends the lines to
// `lines`, each followed by LF, and gives how many they are. Each log counts, holds and
// trims exactly the lines it shows.
size_t AppendLogLines(std::string& lines, std::string_view entry,
                      size_t maxLength = kMaxLogLineLength);
