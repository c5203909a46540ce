#include "TelnetBytes.h"

std::string telnet_bytes::Op(const std::string& verb, int option)
{
    return IAC + verb + static_cast<char>(option);
}
