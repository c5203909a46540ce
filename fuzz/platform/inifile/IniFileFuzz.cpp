// An initialisation file (the settings of both programs, the edit control's persistence)
// read through the profile functions, and one value written into it: lines nobody changed
// are written back byte for byte, every key listed exists, and a value written is found.
#include "fuzz/support/Fuzz.h"
#include "platform/inifile/IniDocument.h"
#include "platform/inifile/IniFile.h"
#include "platform/text/TextCase.h"
#include "platform/file/InputFile.h"
#include "platform/text/TextLines.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using fuzz::Require;

namespace {

// A name that the file keeps as one section or key name: all on one line, something left
// after trimming, and nothing that a read would take for a header, a comment or a value.
bool Storable(const std::string& name, const char* forbidden)
{
    const std::string trimmed = Trim(name);
    return name.find_first_of("\r\n") == std::string::npos && !trimmed.empty() &&
           trimmed[0] != ';' && trimmed[0] != '[' &&
           trimmed.find_first_of(forbidden) == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString(16);
    const std::string key = input.ConsumeRandomLengthString(16);
    const std::string value = input.ConsumeRandomLengthString(64);
    const std::string bytes = input.ConsumeRemainingBytesAsString();

    std::string lines;
    for (const std::string_view line : TTextLines(bytes)) {
        lines += line;
        lines += "\r\n";
    }
    Require(TIniDocument(bytes).Bytes() == lines,
            "lines nobody changed are written back byte for byte");

    TIniFile ini(fuzz::WriteScratchFile("fuzz.ini", bytes));
    for (const std::string& listed : ini.ReadSection(section))
        Require(ini.ValueExists(section, listed), "every key listed exists");
    Require(ini.ReadString(section, key, "").size() <= 2047,
            "a read gives 2047 characters at most");
    ini.ReadInteger(section, key, 0);
    ini.ReadSectionValues(section);

    if (!Storable(section, "]") || !Storable(key, "=") ||
        value.find_first_of("\r\n") != std::string::npos)
        return 0;
    ini.WriteString(section, key, value);
    Require(TIniDocument(ReadFileBytes(ini.FileName())).Value(section, key) == Trim(value),
            "a value written is found");
    return 0;
}
