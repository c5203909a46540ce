#include "calculator/ViewSettings.h"

#include "platform/inifile/IniFile.h"
#include "platform/text/Format.h"

namespace quantivo {

namespace {

const char* const SettingsSection = "settings";
const char* const ModeKey = "mode";
const char* const LV1Section = "wg26";
const char* const LV2Section = "wg64";

template <size_t N>
void ReadWidths(const TIniFile& ini, const char* section, std::array<int32_t, N>& widths)
{
    for (size_t i = 0; i < N; ++i)
        widths[i] = ini.ReadInteger(section, Format("colwidth%d", i), widths[i]);
}

template <size_t N>
void WriteWidths(TIniFile& ini, const char* section, const std::array<int32_t, N>& widths)
{
    for (size_t i = 0; i < N; ++i)
        ini.WriteInteger(section, Format("colwidth%d", i), widths[i]);
}

}  // namespace

TViewSettings ReadViewSettings(const std::string& fileName)
{
    const TIniFile ini(fileName);
    TViewSettings settings;
    settings.mode = ini.ReadInteger(SettingsSection, ModeKey, settings.mode);
    ReadWidths(ini, LV1Section, settings.lv1Widths);
    ReadWidths(ini, LV2Section, settings.lv2Widths);
    return settings;
}

void WriteViewSettings(const std::string& fileName, const TViewSettings& settings)
{
    TIniFile ini(fileName);
    ini.WriteInteger(SettingsSection, ModeKey, settings.mode);
    WriteWidths(ini, LV1Section, settings.lv1Widths);
    WriteWidths(ini, LV2Section, settings.lv2Widths);
}

}  // namespace quantivo
