// Tavrin Calculator's settings file read into the real calculator window: the page on view
// and the column widths of both lists, whatever the file holds.
#include "calculator/UMain.h"
#include "fuzz/support/Fuzz.h"
#include "platform/file/ProgramPath.h"
#include "platform/toolkit/TListView.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

quantivo::TFormMain* window = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::StartApplication();
    SetProgramFileNameForTesting(fuzz::ScratchPath("Quantivo"));
    window = new quantivo::TFormMain;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    window->LoadViewSettings(fuzz::WriteScratchFile(
        "view.ini", std::string_view(reinterpret_cast<const char*>(data), size)));
    for (const TListView* list : {window->LV1, window->LV2})
        for (int column = 0; column < list->ColumnCount(); ++column)
            fuzz::Require(list->ColumnWidth(column) >= 0 && list->ColumnWidth(column) <= 10000,
                          "a column is hidden or as wide as a screen at most");
    return 0;
}
