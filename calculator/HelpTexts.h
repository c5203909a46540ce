#pragma once

namespace quantivo {

// The texts of Help > How to calculate, one per page (Windows-1252, '\r' line breaks).
extern const char* const WG26HelpText;
extern const char* const WG64HelpText;

}  // namespace quantivo
