#include "tests/platform/versionres/ElfImage.h"

#include "platform/text/Cp1252.h"
#include "platform/file/ReplaceFile.h"

#include <QTemporaryDir>

#include <cstdint>

namespace {

class Writer final {
public:
    explicit Writer(bool bigEndian) : bigEndian_(bigEndian) {}

    void Put(std::string& out, std::size_t at, uint64_t value, std::size_t width) const
    {
        if (out.size() < at + width)
            out.resize(at + width, '\0');
        for (std::size_t i = 0; i < width; ++i) {
            const std::size_t shift = 8 * (bigEndian_ ? width - 1 - i : i);
            out[at + i] = static_cast<char>((value >> shift) & 0xFF);
        }
    }

private:
    bool bigEndian_;
};

}  // namespace

std::string MakeElfImage(const std::vector<std::pair<std::string, std::string>>& sections,
                         ElfImageOptions options)
{
    const Writer w(options.bigEndian);
    const bool is64 = options.is64;
    const std::size_t headerSize = is64 ? 64 : 52;
    const std::size_t entrySize = is64 ? 64 : 40;
    const std::size_t addrWidth = is64 ? 8 : 4;

    std::string out(headerSize, '\0');
    out.replace(0, 4,
                "\x7F"
                "ELF");
    out[4] = static_cast<char>(is64 ? 2 : 1);
    out[5] = static_cast<char>(options.bigEndian ? 2 : 1);
    out[6] = 1;

    struct Placed {
        std::size_t name, offset, size, type;
    };
    std::string names(1, '\0');
    std::vector<Placed> placed;
    for (const auto& [name, bytes] : sections) {
        placed.push_back({names.size(), out.size(), bytes.size(), 1});
        names += name + '\0';
        out += bytes;
    }
    placed.push_back({names.size(), out.size(), 0, 3});
    names += std::string(".shstrtab") + '\0';
    placed.back().size = names.size();
    out += names;
    out.resize((out.size() + 7) & ~std::size_t{7}, '\0');

    const std::size_t tableAt = out.size();
    out.resize(tableAt + entrySize * (placed.size() + 1), '\0');  // entry 0 stays null
    for (std::size_t i = 0; i < placed.size(); ++i) {
        const std::size_t at = tableAt + entrySize * (i + 1);
        w.Put(out, at, placed[i].name, 4);
        w.Put(out, at + 4, placed[i].type, 4);
        w.Put(out, at + (is64 ? 0x18 : 0x10), placed[i].offset, addrWidth);
        w.Put(out, at + (is64 ? 0x20 : 0x14), placed[i].size, addrWidth);
    }
    w.Put(out, is64 ? 0x28 : 0x20, tableAt, addrWidth);
    w.Put(out, is64 ? 0x3A : 0x2E, entrySize, 2);
    w.Put(out, is64 ? 0x3C : 0x30, placed.size() + 1, 2);
    w.Put(out, is64 ? 0x3E : 0x32, placed.size(), 2);
    return out;
}

std::string WriteTestFile(const std::string& bytes)
{
    static QTemporaryDir dir;
    static int count = 0;
    const std::string name = ToCp1252(dir.path()) + "/file" + std::to_string(++count);
    WriteFileReplacing(name, bytes);
    return name;
}
