// The per-user store, as the edit control's persistence reads and writes it: any store
// file reads without failing beyond the system's error texts, and a value written reads
// back as it was, bytes and all.
#include "fuzz/support/Fuzz.h"
#include "platform/registry/Registry.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    SetRegistryFileNameForTesting(fuzz::ScratchPath("registry"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::string key = input.ConsumeRandomLengthString(32);
    const std::string name = input.ConsumeRandomLengthString(16);
    const std::string value = input.ConsumeRandomLengthString(64);
    fuzz::WriteScratchFile("registry", input.ConsumeRemainingBytesAsString());

    TRegistry reader;
    if (reader.OpenKey(key, false) && reader.ValueExists(name)) {
        try {
            reader.ReadString(name);
        } catch (const ERegistryException&) {
            // "Invalid data type for '%s'": a value of another type.
        }
    }

    TRegistry writer;
    writer.OpenKey(key, true);
    writer.WriteString(name, value);
    fuzz::Require(writer.ReadString(name) == value, "a value written reads back as it was");
    return 0;
}
