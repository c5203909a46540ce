#include "platform/versionres/ElfSection.h"

#include "platform/file/InputFile.h"

namespace versionres {
namespace {

constexpr unsigned kClass32 = 1;
constexpr unsigned kClass64 = 2;
constexpr unsigned kDataLittle = 1;
constexpr unsigned kDataBig = 2;
constexpr uint32_t kSectionNoBits = 8;

// Reads fixed-width integers of the file's byte order from a buffer it has checked.
class Fields final {
public:
    Fields(const std::string& bytes, bool bigEndian) : bytes_(bytes), bigEndian_(bigEndian) {}

    uint64_t Get(std::size_t at, std::size_t width) const
    {
        uint64_t value = 0;
        for (std::size_t i = 0; i < width; ++i) {
            const auto byte =
                static_cast<unsigned char>(bytes_[at + (bigEndian_ ? i : width - 1 - i)]);
            value = (value << 8) | byte;
        }
        return value;
    }

private:
    const std::string& bytes_;
    bool bigEndian_;
};

// The offsets of the fields used, per ELF class.
struct Layout {
    std::size_t headerSize, shoff, shentsize, shnum, shstrndx, addrWidth;
    std::size_t minEntry, shName, shType, shOffset, shSize;
};
constexpr Layout kLayout32{52, 0x20, 0x2E, 0x30, 0x32, 4, 40, 0x00, 0x04, 0x10, 0x14};
constexpr Layout kLayout64{64, 0x28, 0x3A, 0x3C, 0x3E, 8, 64, 0x00, 0x04, 0x18, 0x20};

struct Entry {
    uint64_t name;
    uint64_t type;
    FileRange range;
};

bool Contains(uint64_t fileSize, uint64_t offset, uint64_t size)
{
    return offset <= fileSize && size <= fileSize - offset;
}

}  // namespace

std::optional<FileRange> FindElfSection(const TInputFile& file, const std::string& name)
{
    const uint64_t fileSize = file.Size();

    const auto ident = file.ReadAt(0, 16);
    if (!ident || ident->compare(0, 4,
                                 "\x7F"
                                 "ELF") != 0)
        return std::nullopt;
    const auto elfClass = static_cast<unsigned char>((*ident)[4]);
    const auto data = static_cast<unsigned char>((*ident)[5]);
    if ((elfClass != kClass32 && elfClass != kClass64) || (data != kDataLittle && data != kDataBig))
        return std::nullopt;
    const Layout& l = elfClass == kClass64 ? kLayout64 : kLayout32;
    const bool bigEndian = data == kDataBig;

    const auto header = file.ReadAt(0, l.headerSize);
    if (!header)
        return std::nullopt;
    const Fields h(*header, bigEndian);
    const uint64_t shoff = h.Get(l.shoff, l.addrWidth);
    const uint64_t entrySize = h.Get(l.shentsize, 2);
    const uint64_t count = h.Get(l.shnum, 2);
    const uint64_t namesIndex = h.Get(l.shstrndx, 2);
    if (entrySize < l.minEntry || count == 0 || namesIndex >= count)
        return std::nullopt;

    // The table and the names are searched in place, an entry and a name at a time: a
    // file may claim either to be as long as any read may be.
    if (!Contains(fileSize, shoff, entrySize * count))
        return std::nullopt;
    auto entry = [&](uint64_t index) -> std::optional<Entry> {
        const auto bytes = file.ReadAt(shoff + index * entrySize, l.minEntry);
        if (!bytes)
            return std::nullopt;
        const Fields e(*bytes, bigEndian);
        return Entry{e.Get(l.shName, 4), e.Get(l.shType, 4),
                     FileRange{e.Get(l.shOffset, l.addrWidth), e.Get(l.shSize, l.addrWidth)}};
    };

    const std::optional<Entry> namesEntry = entry(namesIndex);
    if (!namesEntry || !Contains(fileSize, namesEntry->range.offset, namesEntry->range.size))
        return std::nullopt;
    const FileRange names = namesEntry->range;
    // The name must end with its terminator inside the names section.
    const std::string wanted(name.c_str(), name.size() + 1);

    for (uint64_t i = 0; i < count; ++i) {
        const std::optional<Entry> section = entry(i);
        if (!section)
            return std::nullopt;
        if (section->type == kSectionNoBits ||
            !Contains(names.size, section->name, wanted.size()) ||
            file.ReadAt(names.offset + section->name, wanted.size()) != wanted)
            continue;
        if (!Contains(fileSize, section->range.offset, section->range.size))
            return std::nullopt;
        return section->range;
    }
    return std::nullopt;
}

}  // namespace versionres
