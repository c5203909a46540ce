#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// The version-information functions of the system, over the version block that the build
// places in the program file's section kVersionSectionName (see cmake/VersionBlock.cmake).
namespace versionres {

inline constexpr char kVersionSectionName[] = ".tavrin_version";

// Size of the file's version block in bytes (at most 65535, the largest a block's 16-bit
// length gives); 0 when the file has none or cannot be read (a section beyond the bound of
// every read, kMaxReadBytes, included).
uint32_t GetFileVersionInfoSize(const std::string& fileName);

// Fills buffer with the file's version block (as much as fits). False when the block
// cannot be read or its outer node is not a version block that fits the bytes read.
bool GetFileVersionInfo(const std::string& fileName, std::span<uint8_t> buffer);

// The value under a path of keys separated by "\" ("\" alone is the root's value, the
// fixed part; "\VarFileInfo\Translation"; "\StringFileInfo\041304E4\ProductName").
// Keys compare without case of a-z. Nothing when the path is not in the block. Nodes whose
// lengths do not fit their parent end the walk there; no byte outside block is read.
std::optional<std::span<const uint8_t>> VerQueryValue(std::span<const uint8_t> block,
                                                      std::string_view path);

// A text value as Windows-1252, up to its terminating zero character (or the value's end).
std::optional<std::string> VerQueryText(std::span<const uint8_t> block, std::string_view path);

}  // namespace versionres
