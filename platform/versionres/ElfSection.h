#pragma once

#include <cstdint>
#include <optional>
#include <string>

class TInputFile;

namespace versionres {

// Where a named section's bytes lie in a file.
struct FileRange {
    uint64_t offset = 0;
    uint64_t size = 0;
};

// Finds the section in an ELF file (32- or 64-bit, either byte order). Nothing when the
// file cannot be read, is no ELF file, has no such section, or any header, name or the
// section's bytes lie outside the file.
std::optional<FileRange> FindElfSection(const TInputFile& file, const std::string& name);

}  // namespace versionres
