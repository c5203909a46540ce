#include "platform/versionres/VersionReader.h"

#include "platform/text/Cp1252.h"
#include "platform/text/Errors.h"
#include "platform/text/TextCase.h"
#include "platform/file/InputFile.h"
#include "platform/text/Utf16.h"
#include "platform/versionres/ElfSection.h"

#include <algorithm>

namespace versionres {
namespace {

constexpr std::size_t kHeaderSize = 6;
constexpr uint64_t kMaxBlockSize = 0xFFFF;
constexpr uint16_t kTextType = 1;
constexpr char kRootKey[] = "VS_VERSION_INFO";

std::size_t Align32(std::size_t offset)
{
    return (offset + 3) & ~std::size_t{3};
}

uint16_t WordAt(std::span<const uint8_t> block, std::size_t at)
{
    return static_cast<uint16_t>(block[at] | (block[at + 1] << 8));
}

std::string Utf16ToCp1252(std::span<const uint8_t> bytes)
{
    return ToCp1252(FromUtf16Le(bytes));
}

// One node, checked against the bytes its parent gives it: [begin, limit).
struct Node {
    std::string key;
    std::span<const uint8_t> value;
    bool isText = false;
    std::size_t childrenBegin = 0;
    std::size_t end = 0;
};

std::optional<Node> ReadNode(std::span<const uint8_t> block, std::size_t begin, std::size_t limit)
{
    if (begin > limit || limit - begin < kHeaderSize)
        return std::nullopt;
    const std::size_t length = WordAt(block, begin);
    if (length < kHeaderSize || length > limit - begin)
        return std::nullopt;
    Node node;
    node.end = begin + length;
    node.isText = WordAt(block, begin + 4) == kTextType;

    std::size_t keyEnd = begin + kHeaderSize;
    while (true) {
        if (keyEnd + 2 > node.end)
            return std::nullopt;  // key without terminator
        keyEnd += 2;
        if (WordAt(block, keyEnd - 2) == 0)
            break;
    }
    node.key = Utf16ToCp1252(block.subspan(begin + kHeaderSize, keyEnd - begin - kHeaderSize));

    // Writers disagree on whether a text value counts characters or bytes: a value that
    // claims more than its node holds is cut at the node's end.
    const std::size_t valueBegin = std::min(Align32(keyEnd), node.end);
    const std::size_t claimed = WordAt(block, begin + 2) * (node.isText ? 2u : 1u);
    const std::size_t valueSize = std::min(claimed, node.end - valueBegin);
    node.value = block.subspan(valueBegin, valueSize);
    node.childrenBegin = Align32(valueBegin + valueSize);
    return node;
}

std::optional<Node> FindChild(std::span<const uint8_t> block, const Node& parent,
                              std::string_view key)
{
    std::size_t at = parent.childrenBegin;
    while (at < parent.end) {
        const std::optional<Node> child = ReadNode(block, at, parent.end);
        if (!child)
            return std::nullopt;
        if (SameTextAscii(child->key, key))
            return child;
        at = Align32(child->end);
    }
    return std::nullopt;
}

std::optional<Node> FindNode(std::span<const uint8_t> block, std::string_view path)
{
    std::optional<Node> node = ReadNode(block, 0, block.size());
    while (node && !path.empty()) {
        const std::size_t sep = path.find('\\');
        const std::string_view key = path.substr(0, sep);
        path = sep == std::string_view::npos ? std::string_view() : path.substr(sep + 1);
        if (!key.empty())
            node = FindChild(block, *node, key);
    }
    return node;
}

}  // namespace

uint32_t GetFileVersionInfoSize(const std::string& fileName)
{
    try {
        const std::optional<FileRange> section =
            FindElfSection(TInputFile(fileName), kVersionSectionName);
        if (!section || section->size > kMaxReadBytes)
            return 0;
        // A block's length is 16 bits: a longer section holds nothing more of it, and the
        // caller allocates what this says.
        return static_cast<uint32_t>(std::min(section->size, kMaxBlockSize));
    } catch (const EError&) {
        return 0;
    }
}

bool GetFileVersionInfo(const std::string& fileName, std::span<uint8_t> buffer)
{
    try {
        const TInputFile file(fileName);
        const std::optional<FileRange> section = FindElfSection(file, kVersionSectionName);
        if (!section)
            return false;
        const std::size_t wanted = std::min<uint64_t>(section->size, buffer.size());
        const std::optional<std::string> bytes = file.ReadAt(section->offset, wanted);
        if (!bytes)
            return false;
        std::copy(bytes->begin(), bytes->end(), buffer.begin());
        const std::optional<Node> root = ReadNode(buffer.first(wanted), 0, wanted);
        return root && root->key == kRootKey;
    } catch (const EError&) {
        return false;
    }
}

std::optional<std::span<const uint8_t>> VerQueryValue(std::span<const uint8_t> block,
                                                      std::string_view path)
{
    const std::optional<Node> node = FindNode(block, path);
    if (!node)
        return std::nullopt;
    return node->value;
}

std::optional<std::string> VerQueryText(std::span<const uint8_t> block, std::string_view path)
{
    const std::optional<std::span<const uint8_t>> value = VerQueryValue(block, path);
    if (!value)
        return std::nullopt;
    return Utf16ToCp1252(*value);
}

}  // namespace versionres
