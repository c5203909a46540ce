#pragma once

#include <string>

// The telnet command bytes as text, for tests that compose or check what goes over a
// terminal connection.
namespace telnet_bytes {
inline const std::string IAC = "\xFF";
inline const std::string DONT = "\xFE";
inline const std::string DO = "\xFD";
inline const std::string WONT = "\xFC";
inline const std::string WILL = "\xFB";
inline const std::string SB = "\xFA";
inline const std::string SE = "\xF0";
inline const std::string EOR = "\xEF";

// IAC, the verb and the option.
std::string Op(const std::string& verb, int option);
}  // namespace telnet_bytes
