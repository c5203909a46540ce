#pragma once

#include <string>
#include <string_view>

// Trimming drops the characters 0 to 32 at either end.
std::string Trim(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);

// Case folding touches a-z / A-Z only; every other byte stays as it is.
char UpperAsciiChar(char c);
char LowerAsciiChar(char c);
std::string UpperCaseAscii(std::string_view text);
std::string LowerCaseAscii(std::string_view text);
// <0, 0, >0 like strcmp after folding a-z to upper case.
int CompareTextAscii(std::string_view a, std::string_view b);
bool SameTextAscii(std::string_view a, std::string_view b);
