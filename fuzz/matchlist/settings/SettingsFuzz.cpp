// Tavrin List's settings file read into the real main window (separator, quote character,
// Wiegand format, device rows), and what the window then saves: it loads to the same
// separator, quote character and format.
#include "fuzz/support/Fuzz.h"
#include "listmanager/UMain.h"
#include "matchlist/Settings.h"
#include "platform/file/ProgramPath.h"
#include "platform/toolkit/TListView.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

pellicor::TFormMain* window = nullptr;

struct Loaded {
    char delimiter;
    char quote;
    std::array<int32_t, 5> wiegand;
    bool operator==(const Loaded&) const = default;
};

Loaded Load(const std::string& fileName)
{
    window->HostList().Clear();
    LoadSettings(*window, fileName);
    fuzz::Require(!window->Modified, "a load leaves the list unmodified");
    Loaded loaded{window->ListDelimiter(), window->ListQuoteChar(), {}};
    for (int control = 0; control < 5; ++control)
        loaded.wiegand[static_cast<std::size_t>(control)] =
            window->WiegandValue(static_cast<TWiegandControl>(control));
    return loaded;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::StartApplication();
    SetProgramFileNameForTesting(fuzz::ScratchPath("Pellicor"));
    window = new pellicor::TFormMain;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string read = fuzz::WriteScratchFile(
        "read.ini", std::string_view(reinterpret_cast<const char*>(data), size));
    const Loaded first = Load(read);
    const std::string saved = fuzz::ScratchPath("saved.ini");
    fuzz::WriteScratchFile("saved.ini", "");
    SaveSettings(*window, saved);
    fuzz::Require(Load(saved) == first, "saved settings load as they were");
    return 0;
}
