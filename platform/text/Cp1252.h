#pragma once

#include <QString>
#include <string>
#include <string_view>

// All system text is single-byte Windows-1252 in std::string. These are the only
// conversions to and from what a widget shows.
QString ToQString(std::string_view cp1252);
// Characters without a Windows-1252 code become '?'.
std::string ToCp1252(const QString& text);

// One character each way; UnicodeToCp1252 gives -1 for a character without a code.
char16_t Cp1252ToUnicode(unsigned char code);
int UnicodeToCp1252(char16_t ch);
