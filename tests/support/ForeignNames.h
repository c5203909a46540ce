#pragma once

#include <array>
#include <string_view>

// Pieces of file and folder names in the file system's encoding (UTF-8), which the
// programs must carry unchanged: a Latin letter with a diacritic, a character that
// Windows-1252 keeps in 80-9F, Cyrillic (no Windows-1252 code), CJK, and a blank.
inline constexpr std::array<std::string_view, 5> kForeignNames{
    "Daten_\xC3\xA4", "Preis_\xE2\x82\xAC", "\xD1\x81\xD0\xBF\xD0\xB8\xD1\x81\xD0\xBE\xD0\xBA",
    "\xE5\x90\x8D\xE5\x8D\x95", "my list"};

// Latin-1 letters (E4, FF) as older systems and USB sticks write them in names: bytes that
// are no UTF-8, which no text type carries unchanged.
inline constexpr std::string_view kInvalidUtf8Name = "Daten_\xE4\xFF";
