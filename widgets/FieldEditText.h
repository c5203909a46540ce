#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Text routines of the edit control. Text is Windows-1252; the locale's separators are
// read at each use.

// Classes of DetectTextType.
inline constexpr uint8_t ttInteger = 0;      // digits and "-" only
inline constexpr uint8_t ttNumber = 1;       // a number with separators
inline constexpr uint8_t ttOther = 2;        // anything else, the empty text included
inline constexpr uint8_t ttHexadecimal = 5;  // hexadecimal digits and "-", a letter among them

char LowerChar(char ch);
std::string MixedCase(std::string_view s);
uint8_t DetectTextType(std::string_view s);
std::string StripThousandSeparators(std::string_view s);
int HexDigitValue(char ch);
// Only the last eight characters count; wraps like unsigned 32-bit arithmetic.
int32_t HexToInt(std::string_view s);

// The lenient integer reading of the edit's IntegerValue: the value read up to the first
// character that does not belong; a minus sign counts only when the whole text reads.
int32_t ValInt(std::string_view s);

// The locale-aware one-character upper and lower case forms (first character of the
// case form; a character without a Windows-1252 form stays).
char UpperCaseChar(char ch);
char LowerCaseChar(char ch);
std::string UpperCaseLocale(std::string_view s);
std::string LowerCaseLocale(std::string_view s);

// Text to floating value with the locale's separators; unreadable text gives 0.
double TextToFloatValue(std::string_view s);
// Fixed decimals with the locale's decimal separator, and with its thousand separators
// when thousands is set ("%.Nn" / "%.Nf").
std::string FormatFixed(double value, int decimals, bool thousands);
// Shortest general form, up to 15 significant digits ("%g").
std::string FormatGeneral(double value);
