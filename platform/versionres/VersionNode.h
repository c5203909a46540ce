#pragma once

#include <string>
#include <vector>

namespace versionres {

// One node of a version block in the standard version-information layout:
//   WORD wLength; WORD wValueLength; WORD wType; WCHAR szKey[]; padding to 32 bits;
//   value; padding to 32 bits; children, each starting on a 32-bit boundary.
// A text value (wType 1) is stored as UTF-16 with its terminator and wValueLength counts
// its 16-bit characters; a binary value (wType 0) is counted in bytes.
struct VersionNode {
    std::string key;  // Windows-1252
    bool isText = false;
    std::string value;  // text: Windows-1252; binary: the bytes as stored
    std::vector<VersionNode> children;
};

// The node's bytes, little-endian. Raises EError when the node outgrows the 16-bit length.
std::string SerializeVersionNode(const VersionNode& node);

}  // namespace versionres
