#include "matchlist/Settings.h"

#include "matchlist/ISettingsHost.h"
#include "matchlist/Wiegand.h"
#include "netsetup/DeviceRows.h"
#include "platform/inifile/IniFile.h"
#include "platform/toolkit/TListView.h"

#include <array>

namespace {

const std::string kOptions = "options";
const std::string kWiegand = "wiegand";
const std::string kHostList = "hostlist";

struct CharSetting {
    const char* key;
    int32_t def;
};
constexpr CharSetting kDelimiter{"delimiter", ';'};
constexpr CharSetting kQuoteChar{"quotechar", '"'};

struct WiegandSetting {
    TWiegandControl control;
    const char* key;
    int32_t def;
    bool boolean;
};

const std::array<WiegandSetting, 5>& WiegandSettings()
{
    static const TWiegandFormat defaults;
    static const std::array<WiegandSetting, 5> settings{{
        {TWiegandControl::Len, "bitlen", defaults.bitLength, false},
        {TWiegandControl::FCEnable, "fc_enable", defaults.fcEnabled, true},
        {TWiegandControl::FCLen, "fc_len", defaults.fcLength, false},
        {TWiegandControl::FCVal, "fc_val", defaults.fcValue, false},
        {TWiegandControl::AddParity, "parity_enable", defaults.parity, true},
    }};
    return settings;
}

// A character code from 1 to 255; anything else, stored by hand, is unreadable, and so
// are CR and LF, which would break every saved line that needs them in two.
char ReadChar(const TIniFile& ini, const CharSetting& setting)
{
    const int32_t code = ini.ReadInteger(kOptions, setting.key, setting.def);
    const bool readable = code >= 1 && code <= 255 && code != '\r' && code != '\n';
    return static_cast<char>(readable ? code : setting.def);
}

void WriteChar(TIniFile& ini, const CharSetting& setting, char c)
{
    ini.WriteInteger(kOptions, setting.key, static_cast<unsigned char>(c));
}

// Booleans are stored as 1 and 0 and read as true when not 0.
int32_t Normalised(const WiegandSetting& setting, int32_t value)
{
    return setting.boolean ? value != 0 : value;
}

void LoadWiegand(ISettingsHost& host, const TIniFile& ini, const WiegandSetting& setting)
{
    host.SetWiegandValue(setting.control,
                         Normalised(setting, ini.ReadInteger(kWiegand, setting.key, setting.def)));
}

void LoadSteps(ISettingsHost& host, const TIniFile& ini)
{
    host.SetListDelimiter(ReadChar(ini, kDelimiter));
    host.SetListQuoteChar(ReadChar(ini, kQuoteChar));

    // Parity, the last, is set after a facility code without bits has been switched off.
    const auto& wiegand = WiegandSettings();
    for (auto setting = wiegand.begin(); setting != wiegand.end() - 1; ++setting)
        LoadWiegand(host, ini, *setting);
    if (host.WiegandValue(TWiegandControl::FCLen) <= 0)
        host.SetWiegandValue(TWiegandControl::FCEnable, 0);
    LoadWiegand(host, ini, wiegand.back());

    TListView& hosts = host.HostList();
    for (const std::string& name : ini.ReadSection(kHostList))
        AddHost(hosts, name, ini.ReadString(kHostList, name, ""));
}

}  // namespace

void LoadSettings(ISettingsHost& host, const std::string& fileName)
{
    const TIniFile ini(fileName);
    try {
        ini.CheckReadable();
        LoadSteps(host, ini);
    } catch (...) {
        host.SetModified(false);
        throw;
    }
    host.SetModified(false);
}

void SaveSettings(ISettingsHost& host, const std::string& fileName)
{
    TIniFile ini(fileName);
    ini.BeginUpdate();
    WriteChar(ini, kDelimiter, host.ListDelimiter());
    WriteChar(ini, kQuoteChar, host.ListQuoteChar());
    for (const WiegandSetting& setting : WiegandSettings())
        ini.WriteInteger(kWiegand, setting.key,
                         Normalised(setting, host.WiegandValue(setting.control)));

    ini.EraseSection("platelist");
    ini.EraseSection(kHostList);
    ini.AddSection(kHostList);
    const TListView& hosts = host.HostList();
    for (int row = 0; row < hosts.Count(); ++row) {
        const std::string ip = GetColumnText(hosts, row, kDeviceIpColumn);
        const std::string name = GetColumnText(hosts, row, kDeviceHostnameColumn);
        ini.WriteString(kHostList, name.empty() ? ip : name, ip);
    }
    ini.EndUpdate();
}
