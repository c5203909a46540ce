#pragma once

#include <cstdint>
#include <string>

class TFormIP;
class TLantronixConfig;

// The dotted subnet mask of a setup record's host-bit count; a count of 0 or above 32 is
// taken from the class of ip's first octet (A 24, B 16, C 8, anything else 32).
std::string HostBitsToMask(uint8_t hostBits, const std::string& ip);

// The setup record's host-bit count of a dotted mask: the zero bits at its low end when
// they are 24 or fewer, otherwise 0 (derived from the address class).
uint8_t MaskToHostBits(const std::string& mask);

// Devices > Assign IP on one device row. The module's setup record is read from the
// hostname (the ip-address when the hostname is empty); when it can be read, the dialog
// shows the row's address with the record's mask and gateway and the changed record is
// written back (FD), and a write the module does not confirm is reported as Initialize
// config reports it; otherwise the dialog asks for the address (and the MAC when the row
// has none) and the module is named by its MAC in an IP-SETUP broadcast.
void AssignIP(TFormIP& form, TLantronixConfig& config, const std::string& hostname,
              const std::string& ip, const std::string& mac);
