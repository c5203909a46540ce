#include "platform/text/Errors.h"
#include "platform/file/InputFile.h"
#include "platform/file/ReplaceFile.h"
#include "platform/versionres/VersionNode.h"
#include "platform/versionres/VersionReader.h"
#include "platform/versionres/VersionSource.h"
#include "tests/platform/versionres/ElfImage.h"
#include "tests/support/ForeignNames.h"
#include "simulators/TempDir.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <random>
#include <sys/resource.h>
#include <vector>

using namespace versionres;

namespace {

const char kPellicorSource[] = TAVRIN_RESOURCES_DIR "/Pellicor.version";
const char kTable[] = "\\StringFileInfo\\041304E4\\";

std::string PellicorBlock()
{
    return SerializeVersionNode(ParseVersionSource(ReadFileBytes(kPellicorSource)));
}

std::span<const uint8_t> Bytes(const std::string& s)
{
    return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

uint32_t WordAt(std::span<const uint8_t> b, std::size_t at)
{
    return b[at] | (b[at + 1] << 8);
}

uint32_t DwordAt(std::span<const uint8_t> b, std::size_t at)
{
    return WordAt(b, at) | (WordAt(b, at + 2) << 16);
}

std::string Text(const std::string& block, const std::string& path)
{
    return VerQueryText(Bytes(block), path).value_or("<none>");
}

// The size and the block as the reader finds them in a file.
std::string ReadBlock(const std::string& fileName)
{
    std::string block(GetFileVersionInfoSize(fileName), '\0');
    if (block.empty())
        return block;
    std::span<uint8_t> buffer(reinterpret_cast<uint8_t*>(block.data()), block.size());
    if (!GetFileVersionInfo(fileName, buffer))
        return "<unreadable>";
    return block;
}

}  // namespace

TEST(VersionBlock, SourceGivesTheStandardLayout)
{
    const std::string block = PellicorBlock();
    EXPECT_EQ(block.size() % 2, 0u);
    EXPECT_EQ(WordAt(Bytes(block), 0), block.size());

    EXPECT_EQ(Text(block, std::string(kTable) + "ProductName"), "Tavrin List");
    EXPECT_EQ(Text(block, std::string(kTable) + "FileDescription"), "Tavrin List");
    EXPECT_EQ(Text(block, std::string(kTable) + "FileVersion"), "1.13.0.0");
    EXPECT_EQ(Text(block, std::string(kTable) + "ProductVersion"), "1.13");
    // Keys compare without case; a key that is not there gives nothing.
    EXPECT_EQ(Text(block, "\\stringfileinfo\\041304e4\\PRODUCTNAME"), "Tavrin List");
    EXPECT_EQ(Text(block, std::string(kTable) + "CompanyName"), "<none>");
    EXPECT_EQ(Text(block, "\\StringFileInfo\\040904E4\\ProductName"), "<none>");

    const auto translation = VerQueryValue(Bytes(block), "\\VarFileInfo\\Translation");
    ASSERT_TRUE(translation);
    EXPECT_EQ(std::vector<uint8_t>(translation->begin(), translation->end()),
              (std::vector<uint8_t>{0x13, 0x04, 0xE4, 0x04}));

    const auto fixed = VerQueryValue(Bytes(block), "\\");
    ASSERT_TRUE(fixed);
    ASSERT_EQ(fixed->size(), 52u);
    EXPECT_EQ(DwordAt(*fixed, 0), 0xFEEF04BDu);
    EXPECT_EQ(DwordAt(*fixed, 8), 0x0001000Du);   // file version 1.13
    EXPECT_EQ(DwordAt(*fixed, 12), 0u);           // .0.0
    EXPECT_EQ(DwordAt(*fixed, 16), 0x0001000Du);  // product version 1.13(.0.0)
}

TEST(VersionBlock, TextIsWindows1252BothWays)
{
    const std::string block = SerializeVersionNode(ParseVersionSource(
        "Translation=0413 04E4\nFileVersion=1\nProductVersion=1\nProductName=Caf\xE9 \x80\n"));
    EXPECT_EQ(Text(block, std::string(kTable) + "ProductName"), "Caf\xE9 \x80");
}

TEST(VersionBlock, BadSourcesNameTheLine)
{
    const std::string base = "Translation=0413 04E4\nFileVersion=1.0\nProductVersion=1.0\n";
    EXPECT_NO_THROW(ParseVersionSource(base + "# comment\n\n"));
    for (const std::string& bad : {
             std::string("Translation=0413\nFileVersion=1\nProductVersion=1\n"),
             std::string("Translation=0413 04E4\nFileVersion=1.2.3.4.5\nProductVersion=1\n"),
             std::string("Translation=0413 04E4\nFileVersion=70000\nProductVersion=1\n"),
             std::string("Translation=0413 04E4\nProductVersion=1\n"),
             base + "ProductName\n",
             base + "=x\n",
         }) {
        EXPECT_THROW(ParseVersionSource(bad), EError) << bad;
    }
    // The lengths are 16 bits wide.
    EXPECT_THROW(
        SerializeVersionNode(ParseVersionSource(base + "Comments=" + std::string(40000, 'x'))),
        EError);
    try {
        ParseVersionSource(base + "ProductName\n");
    } catch (const EError& e) {
        EXPECT_STREQ(e.what(), "Version source line 4: Key=Value expected");
    }
}

TEST(VersionBlock, LenientWhereWritersDiffer)
{
    // A text value counted in bytes rather than characters claims twice its size: it is
    // cut at its node's end. A value without its terminator ends with the value.
    VersionNode root{
        "VS_VERSION_INFO", false, "", {{"A", true, "abc", {}}, {"B", true, "xyz", {}}}};
    std::string block = SerializeVersionNode(root);
    const std::size_t a = block.find(std::string("A\0", 2));
    ASSERT_NE(a, std::string::npos);
    block[a - 4] = 8;  // wValueLength of "A": 8 "characters", 16 bytes, more than it holds
    EXPECT_EQ(Text(block, "\\A"), "abc");
    const std::size_t b = block.find(std::string("B\0", 2));
    block[b - 4] = 3;  // "xyz" without the terminator
    EXPECT_EQ(Text(block, "\\B"), "xyz");
}

TEST(VersionFile, FoundInElfFilesOfEitherClassAndByteOrder)
{
    const std::string block = PellicorBlock();
    for (const ElfImageOptions options :
         {ElfImageOptions{true, false}, ElfImageOptions{false, false}, ElfImageOptions{true, true},
          ElfImageOptions{false, true}}) {
        const std::string file = WriteTestFile(MakeElfImage(
            {{".text", "code"}, {kVersionSectionName, block}, {".data", "x"}}, options));
        EXPECT_EQ(GetFileVersionInfoSize(file), block.size());
        EXPECT_EQ(ReadBlock(file), block);
    }
}

TEST(VersionFile, ProgramFileCarriesItsBlock)
{
    // This test program carries the calculator's block (see CMakeLists.txt).
    const std::string block = ReadBlock(QCoreApplication::applicationFilePath().toStdString());
    EXPECT_EQ(Text(block, std::string(kTable) + "ProductName"), "Tavrin Calculator");
    EXPECT_EQ(Text(block, std::string(kTable) + "ProductVersion"), "1.7");
    EXPECT_EQ(Text(block, std::string(kTable) + "FileVersion"), "1.7.0.0");
}

TEST(VersionFile, FilesWithoutBlockHaveSizeZero)
{
    const std::string block = PellicorBlock();
    EXPECT_EQ(GetFileVersionInfoSize(WriteTestFile(MakeElfImage({{".text", "code"}}))), 0u);
    EXPECT_EQ(GetFileVersionInfoSize(WriteTestFile("MZ not an ELF file")), 0u);
    EXPECT_EQ(GetFileVersionInfoSize(WriteTestFile("")), 0u);
    EXPECT_EQ(GetFileVersionInfoSize(WriteTestFile("\x7F"
                                                   "ELF")),
              0u);
    EXPECT_EQ(GetFileVersionInfoSize("/nonexistent/Pellicor"), 0u);
    // A name that only begins like the section's is another section.
    EXPECT_EQ(GetFileVersionInfoSize(
                  WriteTestFile(MakeElfImage({{std::string(kVersionSectionName) + "2", block}}))),
              0u);

    // A section whose bytes would lie past the file's end, and a section table beyond it.
    const std::string whole = MakeElfImage({{kVersionSectionName, block}});
    const auto tableAt = static_cast<std::size_t>(static_cast<unsigned char>(whole[0x28]) |
                                                  (static_cast<unsigned char>(whole[0x29]) << 8));
    std::string huge = whole;
    huge[tableAt + 64 + 0x20 + 3] = 0x10;
    EXPECT_EQ(GetFileVersionInfoSize(WriteTestFile(huge)), 0u);
    std::string moved = whole;
    moved[0x2F] = 0x7F;
    EXPECT_EQ(GetFileVersionInfoSize(WriteTestFile(moved)), 0u);
}

// The program file is opened as every outside file is: under a name in any language, and
// only when it is a regular file (a FIFO would hold the about box for ever).
TEST(VersionFile, OpenedAsEveryOutsideFile)
{
    TempDir dir;
    const std::string block = PellicorBlock();
    for (std::string_view piece : kForeignNames) {
        const std::string folder = dir.file("prog_" + std::string(piece));
        std::filesystem::create_directory(folder);
        WriteFileReplacing(folder + "/Pellicor", MakeElfImage({{kVersionSectionName, block}}));
        EXPECT_EQ(ReadBlock(folder + "/Pellicor"), block) << folder;
    }
    // A section that claims more than any read may take is none.
    std::string huge = MakeElfImage({{kVersionSectionName, block}});
    std::string size(8, '\0');
    for (std::size_t i = 0; i < 8; ++i)
        size[i] = static_cast<char>((block.size() >> (8 * i)) & 0xFF);
    const std::size_t sizeField = huge.find(size);
    ASSERT_NE(sizeField, std::string::npos);
    for (std::size_t i = 0; i < 8; ++i)
        huge[sizeField + i] = static_cast<char>(((kMaxReadBytes + 1) >> (8 * i)) & 0xFF);
    WriteFileReplacing(dir.file("huge"), huge);
    ASSERT_EQ(::truncate(dir.file("huge").c_str(), 2 * kMaxReadBytes), 0);
    EXPECT_EQ(GetFileVersionInfoSize(dir.file("huge")), 0u);

    const std::string fifo = dir.file("Quantivo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    EXPECT_EQ(GetFileVersionInfoSize(fifo), 0u);
    std::vector<uint8_t> buffer(block.size());
    EXPECT_FALSE(GetFileVersionInfo(fifo, buffer));
}

// A file may claim sections of any size. A version section longer than a block can be (its
// length is 16 bits) is read as far as a block reaches, and the section table and the
// section names are searched in place: names of 240 MiB, within the bound of every read,
// cost no 240 MiB.
TEST(VersionFile, ReadsNoMoreThanABlockCanNeed)
{
    const std::string block = PellicorBlock();
    const std::string padded =
        WriteTestFile(MakeElfImage({{kVersionSectionName, block + std::string(0x20000, '\0')}}));
    EXPECT_EQ(GetFileVersionInfoSize(padded), 0xFFFFu);
    EXPECT_EQ(ReadBlock(padded).substr(0, block.size()), block);

    // The names section (the last entry of the table) moved to the end of the file and
    // stretched over a sparse file.
    std::string image = MakeElfImage({{kVersionSectionName, block}});
    const auto tableAt = static_cast<std::size_t>(static_cast<unsigned char>(image[0x28]) |
                                                  (static_cast<unsigned char>(image[0x29]) << 8));
    const std::size_t namesEntry = tableAt + 2 * 64;
    const uint64_t namesAt = image.size();
    const uint64_t namesSize = uint64_t{240} << 20;
    for (std::size_t i = 0; i < 8; ++i) {
        image[namesEntry + 0x18 + i] = static_cast<char>(namesAt >> (8 * i));
        image[namesEntry + 0x20 + i] = static_cast<char>(namesSize >> (8 * i));
    }
    const std::string stretched = WriteTestFile(image);
    ASSERT_EQ(::truncate(stretched.c_str(), static_cast<off_t>(namesAt + namesSize)), 0);
    const auto peakKiB = [] {
        rusage usage{};
        ::getrusage(RUSAGE_SELF, &usage);
        return usage.ru_maxrss;
    };
    const long before = peakKiB();
    EXPECT_EQ(GetFileVersionInfoSize(stretched), 0u);
    EXPECT_LT(peakKiB() - before, 64 * 1024) << "KiB more at the peak";
}

TEST(VersionFile, UnreadableBlockIsReportedByGet)
{
    std::string block = PellicorBlock();
    block[0] = static_cast<char>(0xFF);  // outer length beyond the section
    block[1] = static_cast<char>(0xFF);
    const std::string file = WriteTestFile(MakeElfImage({{kVersionSectionName, block}}));
    EXPECT_EQ(GetFileVersionInfoSize(file), block.size());
    EXPECT_EQ(ReadBlock(file), "<unreadable>");

    std::string otherRoot = PellicorBlock();
    otherRoot[6] = 'X';  // the outer key is not VS_VERSION_INFO
    EXPECT_EQ(ReadBlock(WriteTestFile(MakeElfImage({{kVersionSectionName, otherRoot}}))),
              "<unreadable>");
}

// A block cut short, and a file cut short around it, read as none. (Flipped bits and any
// other bytes: fuzz_platform_versionres.)
TEST(VersionBlock, CutBlocksAndFilesReadAsNone)
{
    const std::string block = PellicorBlock();
    for (std::size_t size = 0; size < block.size(); ++size) {
        SCOPED_TRACE(size);
        // An exact-size buffer, so that the sanitizer build catches any read past it.
        const std::vector<uint8_t> cut(block.begin(), block.begin() + static_cast<long>(size));
        for (const std::string& path :
             {std::string("\\"), std::string("\\VarFileInfo\\Translation"),
              std::string(kTable) + "ProductName"}) {
            EXPECT_FALSE(VerQueryValue(cut, path).has_value()) << path;
        }
    }

    const std::string file = MakeElfImage({{".text", "code"}, {kVersionSectionName, block}});
    std::mt19937 random(7);
    for (std::size_t size = 0; size < file.size(); size += 1 + random() % 64) {
        SCOPED_TRACE(size);
        EXPECT_EQ(GetFileVersionInfoSize(WriteTestFile(file.substr(0, size))), 0u);
    }
}

// The programs' own files, where this tree builds them.
TEST(VersionFile, ProgramFiles)
{
    const std::vector<std::array<std::string, 3>> programs = {
#ifdef TAVRIN_PELLICOR_FILE
        {TAVRIN_PELLICOR_FILE, "Tavrin List", "1.13"},
#endif
#ifdef TAVRIN_QUANTIVO_FILE
        {TAVRIN_QUANTIVO_FILE, "Tavrin Calculator", "1.7"},
#endif
    };
    if (programs.empty())
        GTEST_SKIP() << "no program is built in this tree";
    for (const auto& [file, name, version] : programs) {
        const std::string block = ReadBlock(file);
        EXPECT_EQ(Text(block, std::string(kTable) + "ProductName"), name) << file;
        EXPECT_EQ(Text(block, std::string(kTable) + "ProductVersion"), version) << file;
    }
}
