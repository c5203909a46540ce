#include "netsetup/AssignIP.h"

#include "netsetup/LantronixConfig.h"
#include "netsetup/UIP.h"
#include "platform/text/Format.h"
#include "platform/ui/Ui.h"

#include <cctype>

namespace {

// The first octet as the class rule reads it: the leading decimal number, 0 when the text
// does not begin with a digit.
int LeadingNumber(const std::string& text)
{
    int value = 0;
    for (const char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            break;
        value = value * 10 + (c - '0');
        if (value > 255)
            return 256;  // any value above 255 falls in the same class
    }
    return value;
}

uint32_t FromBytes(const std::array<uint8_t, 4>& bytes)
{
    return static_cast<uint32_t>(bytes[0]) << 24 | static_cast<uint32_t>(bytes[1]) << 16 |
           static_cast<uint32_t>(bytes[2]) << 8 | bytes[3];
}

void PutBytes(TSetupRecord& record, size_t offset, const std::array<uint8_t, 4>& bytes)
{
    std::copy(bytes.begin(), bytes.end(), record.begin() + static_cast<std::ptrdiff_t>(offset));
}

}  // namespace

std::string HostBitsToMask(uint8_t hostBits, const std::string& ip)
{
    int bits = hostBits;
    if (bits == 0 || bits > 32) {
        const int first = LeadingNumber(ip);
        if (first >= 1 && first <= 126)
            bits = 24;
        else if (first >= 128 && first <= 191)
            bits = 16;
        else if (first >= 192 && first <= 223)
            bits = 8;
        else
            bits = 32;
    }
    // A shift by 32 places is undefined in C++; the mask is then 0.
    const uint32_t mask = bits >= 32 ? 0 : 0xFFFFFFFFu << bits;
    return Format("%d.%d.%d.%d", mask >> 24, (mask >> 16) & 0xFF, (mask >> 8) & 0xFF, mask & 0xFF);
}

uint8_t MaskToHostBits(const std::string& mask)
{
    const uint32_t value = FromBytes(TLantronixConfig::IPTextToBytes(mask));
    int zeros = 0;
    while (zeros < 32 && (value & (1u << zeros)) == 0)
        ++zeros;
    return static_cast<uint8_t>(zeros <= 24 ? zeros : 0);
}

void AssignIP(TFormIP& form, TLantronixConfig& config, const std::string& hostname,
              const std::string& ip, const std::string& mac)
{
    const std::string target = hostname.empty() ? ip : hostname;
    std::string newIp = ip;
    TSetupRecord record{};
    if (!config.GetSetupRecord(target, record)) {
        std::string mask;
        std::string gateway;
        std::string newMac = mac;
        if (form.ShowAssignIPDialog(true, newIp, mask, gateway, newMac))
            config.SendIPSetup(newIp, newMac);
        return;
    }

    // A MAC of any text keeps the MAC boxes hidden: the record's path needs none.
    std::string newMac = "xx-xx-xx-xx-xx-xx";
    std::string mask = HostBitsToMask(record[setup_record::kHostBits], ip);
    const size_t gw = setup_record::kGateway;
    std::string gateway =
        Format("%d.%d.%d.%d", record[gw], record[gw + 1], record[gw + 2], record[gw + 3]);
    if (!form.ShowAssignIPDialog(record[setup_record::kAddress] == 0, newIp, mask, gateway, newMac))
        return;
    // The boxes are read as decimal numbers, so "000.0.0.0" asks for automatic assignment
    // as "0.0.0.0" does.
    const auto address = TLantronixConfig::IPTextToBytes(newIp);
    if (address == std::array<uint8_t, 4>{0, 0, 0, 0}) {
        PutBytes(record, setup_record::kAddress, address);
        record[setup_record::kHostBits] = 0;
        PutBytes(record, gw, {0, 0, 0, 0});
    } else {
        PutBytes(record, setup_record::kAddress, address);
        record[setup_record::kHostBits] = MaskToHostBits(mask);
        PutBytes(record, gw, TLantronixConfig::IPTextToBytes(gateway));
    }
    if (config.SetSetupRecord(target, record, true))
        ui::ShowMessage(ui::MsgKind::Information, "OK, setup done (device reboots)");
    else
        ShowSetupFailed(target);
}
