#include "platform/versionres/VersionNode.h"

#include "platform/text/Cp1252.h"
#include "platform/text/Errors.h"

#include <cstdint>

namespace versionres {
namespace {

void PutWord(std::string& out, std::size_t at, std::size_t value)
{
    out[at] = static_cast<char>(value & 0xFF);
    out[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

void AppendUtf16(std::string& out, const std::string& cp1252)
{
    for (char c : cp1252) {
        const char16_t ch = Cp1252ToUnicode(static_cast<unsigned char>(c));
        out += static_cast<char>(ch & 0xFF);
        out += static_cast<char>(ch >> 8);
    }
    out.append(2, '\0');
}

void PadTo32Bits(std::string& out)
{
    out.append((4 - out.size() % 4) % 4, '\0');
}

}  // namespace

std::string SerializeVersionNode(const VersionNode& node)
{
    std::string out(6, '\0');
    AppendUtf16(out, node.key);
    PadTo32Bits(out);

    std::size_t valueLength = 0;
    if (node.isText && !node.value.empty()) {
        AppendUtf16(out, node.value);
        valueLength = node.value.size() + 1;
    } else if (!node.isText) {
        out += node.value;
        valueLength = node.value.size();
    }
    for (const VersionNode& child : node.children) {
        PadTo32Bits(out);
        out += SerializeVersionNode(child);
    }
    if (out.size() > UINT16_MAX || valueLength > UINT16_MAX)
        throw EError("Version block too large at \"" + node.key + "\"");
    PutWord(out, 0, out.size());
    PutWord(out, 2, valueLength);
    PutWord(out, 4, node.isText ? 1 : 0);
    return out;
}

}  // namespace versionres
