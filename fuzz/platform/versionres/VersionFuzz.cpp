// A program file's version block as the about box reads it. An input starting with an
// even byte is a file: the section is found in any ELF file and read into no more memory
// than a block can need. One starting with an odd byte is a block, walked for a path of
// the input and for the values the about box shows, with no byte read outside it.
#include "about/VersInfo.h"
#include "fuzz/support/Fuzz.h"
#include "platform/text/Errors.h"
#include "platform/versionres/VersionReader.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace {

TVersionInfo* info = nullptr;

void ReadFile(const std::string& bytes)
{
    const std::string file = fuzz::WriteScratchFile("program", bytes);
    fuzz::Require(versionres::GetFileVersionInfoSize(file) <= 0xFFFF,
                  "a version block is 65535 bytes at most");
    try {
        info->LoadFile(file);
    } catch (const EError&) {
        // "Cannot retrieve Version Information for %s": a block that does not read.
        return;
    }
    for (int index = 1; index <= 8; ++index)
        info->GetKeyByIndex(index);
}

void WalkBlock(FuzzedDataProvider& input)
{
    const std::string path = input.ConsumeRandomLengthString(48);
    const std::vector<uint8_t> block = input.ConsumeRemainingBytes<uint8_t>();
    for (const std::string_view query :
         {std::string_view(path), std::string_view("\\"),
          std::string_view("\\VarFileInfo\\Translation"),
          std::string_view("\\StringFileInfo\\041304E4\\ProductVersion")}) {
        if (const auto value = versionres::VerQueryValue(block, query))
            fuzz::Require(value->empty() ||
                              (value->data() >= block.data() &&
                               value->data() + value->size() <= block.data() + block.size()),
                          "a value lies inside its block");
        versionres::VerQueryText(block, query);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::StartApplication();
    info = new TVersionInfo(nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    if (input.ConsumeIntegral<uint8_t>() % 2 == 0)
        ReadFile(input.ConsumeRemainingBytesAsString());
    else
        WalkBlock(input);
    return 0;
}
