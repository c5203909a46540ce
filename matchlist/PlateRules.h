#pragma once

#include <cstdint>
#include <string_view>

// Plates are judged on a cleaned copy (characters below "0" dropped, a-z upper-cased):
// digits, A-Z and the lower-case a, e, i, o, u with diaeresis (Windows-1252) are allowed.
bool IsValidPlate(std::string_view plate);

// An id-number text, trimmed and read by the integer reading rule; 0 when unreadable.
int64_t ReadIdNumber(std::string_view idText);

// Greater than 0 and, when maxId is above 0, at most maxId.
bool IsValidIdNumber(std::string_view idText, int64_t maxId);
