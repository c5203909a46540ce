#include "platform/registry/Registry.h"
#include "platform/file/InputFile.h"
#include "platform/file/ReplaceFile.h"
#include "platform/file/FileSystem.h"
#include "simulators/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { SetRegistryFileNameForTesting(dir.file("sub/registry")); }
    void TearDown() override { SetRegistryFileNameForTesting({}); }
    TempDir dir;
};

}  // namespace

// Keys are created on demand (folder included), found again without case, and nested
// below the current key; a missing key is not created without leave.
TEST_F(RegistryTest, KeysOpenCreateAndCompareWithoutCase)
{
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey("Software\\Tavrin", false));
    EXPECT_TRUE(reg.OpenKey("Software\\Tavrin", true));
    EXPECT_TRUE(FileExists(dir.file("sub/registry")));
    EXPECT_TRUE(reg.OpenKey("Edits", true));
    EXPECT_EQ(reg.CurrentPath(), "Software\\Tavrin\\Edits");

    TRegistry other;
    EXPECT_TRUE(other.OpenKey("\\SOFTWARE\\tavrin\\", false));
    EXPECT_TRUE(other.OpenKey("EDITS", false));
    EXPECT_TRUE(other.OpenKey("", false));  // stays where it is
    EXPECT_EQ(other.CurrentPath(), "SOFTWARE\\tavrin\\EDITS");
}

// Values come back byte for byte, line breaks, tabs and percent signs included, under a
// name of any case; a rewrite replaces, a missing value reads empty.
TEST_F(RegistryTest, StringValuesRoundTrip)
{
    const std::string odd = "a\tb\r\nc %41 \xE4\x80";
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("K", true));
        reg.WriteString("Name", "first");
        reg.WriteString("Name", odd);
        reg.WriteString("", "default value");
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("k", false));
    EXPECT_TRUE(reg.ValueExists("NAME"));
    EXPECT_EQ(reg.ReadString("name"), odd);
    EXPECT_EQ(reg.ReadString(""), "default value");
    EXPECT_FALSE(reg.ValueExists("Other"));
    EXPECT_EQ(reg.ReadString("Other"), "");
    TRegistry root;
    EXPECT_FALSE(root.ValueExists("Name"));  // values belong to their key only
}

// A value of another type than a string is refused with the system's text.
TEST_F(RegistryTest, OtherTypeIsInvalid)
{
    SetRegistryFileNameForTesting(dir.file("registry"));
    WriteFileReplacing(dir.file("registry"), "K\tK\nV\tK\tNum\tREG_DWORD\t5\n");
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("K", false));
    EXPECT_TRUE(reg.ValueExists("Num"));
    try {
        reg.ReadString("Num");
        FAIL();
    } catch (const ERegistryException& e) {
        EXPECT_STREQ(e.what(), "Invalid data type for 'Num'");
    }
}

// A store that cannot be written (its folder is a plain file) reports which key or
// value failed.
TEST_F(RegistryTest, UnwritableStoreFails)
{
    WriteFileReplacing(dir.file("plain"), "");
    SetRegistryFileNameForTesting(dir.file("plain/registry"));
    TRegistry reg;
    try {
        reg.OpenKey("A\\B", true);
        FAIL();
    } catch (const ERegistryException& e) {
        EXPECT_STREQ(e.what(), "Failed to create key A\\B");
    }
    try {
        reg.WriteString("V", "x");
        FAIL();
    } catch (const ERegistryException& e) {
        EXPECT_STREQ(e.what(), "Failed to set data for 'V'");
    }
}

// A store that is there but cannot be read (here: beyond the bound of every read) reads as
// empty, but no change replaces it with the one new entry.
TEST_F(RegistryTest, AStoreThatCannotBeReadIsNotReplaced)
{
    const std::string store = dir.file("registry");
    SetRegistryFileNameForTesting(store);
    WriteFileReplacing(store, "K\tK\n");
    ASSERT_EQ(::truncate(store.c_str(), kMaxReadBytes + 1), 0);
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey("K", false));
    EXPECT_THROW(reg.OpenKey("K", true), ERegistryException);
    EXPECT_THROW(reg.WriteString("V", "x"), ERegistryException);
    EXPECT_EQ(std::filesystem::file_size(store), kMaxReadBytes + 1);
}

// A store file far larger than any store of this program is not parsed: it reads as empty,
// and a change fails rather than replace it with the one entry written.
TEST_F(RegistryTest, OversizedStoreIsNeitherParsedNorReplaced)
{
    SetRegistryFileNameForTesting(dir.file("registry"));
    const std::string store = "K\tK\nV\tK\tName\tREG_SZ\tkept\n" + std::string(1 << 20, '\n');
    WriteFileReplacing(dir.file("registry"), store);
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey("K", false));
    EXPECT_FALSE(reg.ValueExists("Name"));
    EXPECT_EQ(reg.ReadString("Name"), "");
    EXPECT_THROW(reg.OpenKey("K", true), ERegistryException);
    EXPECT_THROW(reg.WriteString("Name", "new"), ERegistryException);
    EXPECT_EQ(ReadFileBytes(dir.file("registry")), store);
}
