#include "platform/text/Errors.h"
#include "platform/file/InputFile.h"
#include "platform/file/ReplaceFile.h"
#include "platform/file/FileSystem.h"
#include "tests/support/ChildTest.h"
#include "tests/support/FileAccess.h"
#include "tests/support/FileFaults.h"
#include "tests/support/FileSizeLimit.h"
#include "simulators/TempDir.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

using namespace std::string_literals;
namespace fs = std::filesystem;

namespace {

struct stat StatOf(const std::string& name)
{
    struct stat info {};
    EXPECT_EQ(::lstat(name.c_str(), &info), 0) << name;
    return info;
}

std::vector<std::string> Entries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A file holding "old" with the given mode.
std::string OldFile(const std::string& name, mode_t mode)
{
    WriteFileReplacing(name, "old");
    EXPECT_EQ(::chmod(name.c_str(), mode), 0);
    return name;
}

void ExpectOpenError(const std::string& name, const std::string& reason,
                     std::uint64_t maxBytes = kMaxReadBytes)
{
    try {
        ReadFileBytes(name, maxBytes);
        ADD_FAILURE() << "no error for " << name;
    } catch (const EFOpenError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + name + "\". " + reason);
    }
}

// The write refuses, and the question asked before it gives the same answer.
void ExpectCreateError(const std::string& name, const std::string& reason)
{
    try {
        CheckFileWritable(name, 3);
        ADD_FAILURE() << "the check finds no fault with " << name;
    } catch (const EFCreateError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + name + "\". " + reason);
    }
    try {
        WriteFileReplacing(name, "new");
        ADD_FAILURE() << "no error for " << name;
    } catch (const EFCreateError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + name + "\". " + reason);
    }
}

// The write's error text, or nothing where it succeeded.
std::string WriteError(const std::string& name, const std::string& bytes)
{
    try {
        WriteFileReplacing(name, bytes);
        return "";
    } catch (const EFCreateError& e) {
        return e.what();
    }
}

std::string AllBytes()
{
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(b);
    return bytes;
}

}  // namespace

// Under a name as long as the system allows one too (255 bytes): the temporary file's name
// must fit beside it.
TEST(File, BytesComeBackExactlyAsWritten)
{
    TempDir dir;
    const std::string bytes = AllBytes() + "\r\n\0tail"s;
    for (const std::string& leaf : {"data.lst"s, std::string(246, 'n') + ".lst"}) {
        const std::string name = dir.file(leaf);
        WriteFileReplacing(name, bytes);
        EXPECT_EQ(ReadFileBytes(name), bytes);
        WriteFileReplacing(name, "");
        EXPECT_EQ(ReadFileBytes(name), "");
        EXPECT_EQ(dir.entries(), std::vector<std::string>{leaf});
        fs::remove(name);
    }
}

TEST(File, ReadFailuresNameTheFileAndTheReason)
{
    TempDir dir;
    ExpectOpenError(dir.file("missing.lst"), "No such file or directory");
    ExpectOpenError(dir.path(), "Is a directory");
}

// Nothing is opened or read before the name is known to be a regular file, so no special
// file can hold the program or fill its memory.
TEST(File, OnlyRegularFilesAreRead)
{
    TempDir dir;
    const std::string fifo = dir.file("Pellicor.lst");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    ExpectOpenError(fifo, "Not a regular file");
    fs::create_symlink("/dev/zero", dir.file("zero.lst"));
    ExpectOpenError(dir.file("zero.lst"), "Not a regular file");
}

TEST(File, ReadsStopAtTheBound)
{
    TempDir dir;
    const std::string big = dir.file("big.lst");
    WriteFileReplacing(big, "x");
    ASSERT_EQ(::truncate(big.c_str(), kMaxReadBytes + 1), 0);  // sparse: no disk, no time
    ExpectOpenError(big, "File too large");
    ExpectOpenError(big, "File too large", UINT64_MAX);

    // A reader may set a smaller bound for what its files hold.
    const std::string ten = dir.file("ten.ini");
    WriteFileReplacing(ten, "0123456789");
    EXPECT_EQ(ReadFileBytes(ten, 10), "0123456789");
    ExpectOpenError(ten, "File too large", 9);

    // The parts a reader asks for lie inside the file and the bound, or come back as none.
    const TInputFile file(big);
    EXPECT_EQ(file.Size(), kMaxReadBytes + 1);
    EXPECT_EQ(file.ReadAt(kMaxReadBytes, 1), std::string(1, '\0'));
    EXPECT_EQ(file.ReadAt(kMaxReadBytes + 1, 1), std::nullopt);
    EXPECT_EQ(file.ReadAt(0, kMaxReadBytes + 1), std::nullopt);
    EXPECT_EQ(file.ReadAt(UINT64_MAX, 2), std::nullopt);
}

// Root may write anything, yet a file that its person made read-only for everybody is
// refused for root too, exactly as an in-place write by anybody else would be.
TEST(File, AFileThePersonMayNotWriteIsRefusedAndKept)
{
    TempDir dir;
    const std::string name = OldFile(dir.file("Pellicor.lst"), 0444);
    ExpectCreateError(name, "Permission denied");
    EXPECT_EQ(ReadFileBytes(name), "old");
    EXPECT_EQ(StatOf(name).st_mode & 07777, 0444u);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"Pellicor.lst"});

    // Writable by somebody is writable for root; others ask the system.
    ASSERT_EQ(::chmod(name.c_str(), ::geteuid() == 0 ? 0464 : 0644), 0);
    WriteFileReplacing(name, "new");
    EXPECT_EQ(ReadFileBytes(name), "new");
}

TEST(File, OnlyRegularFilesAreReplaced)
{
    TempDir dir;
    const std::string fifo = dir.file("Pellicor.lst");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    ExpectCreateError(fifo, "Not a regular file");
    EXPECT_TRUE(S_ISFIFO(StatOf(fifo).st_mode));
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"Pellicor.lst"});
}

// The write lands on the file the links name, beside it, and every link stays a link; a
// file of several names (hard links) is written in place, so every name sees the new bytes.
TEST(File, LinksAreWrittenThrough)
{
    TempDir dir;
    fs::create_directory(dir.file("real"));
    const std::string target = dir.file("real/list.txt");
    WriteFileReplacing(target, "old");
    fs::create_symlink("real/list.txt", dir.file("hop"));
    fs::create_symlink("hop", dir.file("Pellicor.lst"));
    WriteFileReplacing(dir.file("Pellicor.lst"), "new");
    EXPECT_EQ(ReadFileBytes(target), "new");
    EXPECT_TRUE(fs::is_symlink(dir.file("Pellicor.lst")));
    EXPECT_TRUE(fs::is_symlink(dir.file("hop")));
    EXPECT_EQ(Entries(dir.file("real")), std::vector<std::string>{"list.txt"});

    // A link to a file not there yet makes that file.
    fs::create_symlink(dir.file("real/made.txt"), dir.file("ahead"));
    WriteFileReplacing(dir.file("ahead"), "made");
    EXPECT_TRUE(fs::is_symlink(dir.file("ahead")));
    EXPECT_EQ(ReadFileBytes(dir.file("real/made.txt")), "made");

    // Links in a ring name no file: the system's reason, and the links stay.
    fs::create_symlink("ring2", dir.file("ring1"));
    fs::create_symlink("ring1", dir.file("ring2"));
    ExpectCreateError(dir.file("ring1"), "Too many levels of symbolic links");
    EXPECT_EQ(dir.entries(),
              (std::vector<std::string>{"Pellicor.lst", "ahead", "hop", "real", "ring1", "ring2"}));

    fs::create_hard_link(target, dir.file("real/other.txt"));
    WriteFileReplacing(dir.file("Pellicor.lst"), "newer");
    EXPECT_EQ(ReadFileBytes(dir.file("real/other.txt")), "newer");
    EXPECT_EQ(StatOf(target).st_nlink, 2u);
    EXPECT_EQ(Entries(dir.file("real")),
              (std::vector<std::string>{"list.txt", "made.txt", "other.txt"}));
}

// Where the folder takes no temporary file, a file that may be written is written in
// place (the same file). Its new length is made sure of first: new content above the
// file-size limit (or a full disk) is refused before a byte changes, also where the file
// shrinks, and leaves nothing behind.
TEST(File, AFolderThatTakesNoTemporaryFileHasTheFileWrittenInPlace)
{
    if (RanAsOrdinaryUser())
        return;
    TempDir dir;
    const std::string folder = dir.file("locked");
    fs::create_directory(folder);
    const std::string name = OldFile(folder + "/Pellicor.lst", 0644);
    const ino_t inode = StatOf(name).st_ino;
    ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
    WriteFileReplacing(name, "AB12;5\r\nCD34;66\r\n");
    EXPECT_EQ(ReadFileBytes(name), "AB12;5\r\nCD34;66\r\n");
    EXPECT_EQ(StatOf(name).st_ino, inode);
    // The limit counts the new content only: an old file above it takes new content below it.
    for (const rlim_t bytes : {4, 10}) {
        FileSizeLimit limit(bytes);
        EXPECT_EQ(WriteError(name, "EF56;7\r\n"),
                  bytes < 8 ? "Cannot create file \"" + name + "\". File too large" : "");
        EXPECT_EQ(ReadFileBytes(name), bytes < 8 ? "AB12;5\r\nCD34;66\r\n" : "EF56;7\r\n");
    }
    WriteFileReplacing(name, "new");
    EXPECT_EQ(ReadFileBytes(name), "new");
    EXPECT_EQ(Entries(folder), std::vector<std::string>{"Pellicor.lst"});
}

// The owner too, where the process may give the file away (root may; a chown clears the
// set-id bits, which the mode then brings back).
TEST(File, ReplacingKeepsTheOldFilesModeAndOwner)
{
    TempDir dir;
    const bool root = ::geteuid() == 0;
    // A new file is made as any other program makes one.
    const mode_t umask = ::umask(0);
    ::umask(umask);
    WriteFileReplacing(dir.file("new.ini"), "new");
    EXPECT_EQ(StatOf(dir.file("new.ini")).st_mode & 07777, 0666 & ~umask);

    const std::string name = OldFile(dir.file("Pellicor.ini"), root ? 02640 : 0640);
    if (root) {
        ASSERT_EQ(::chown(name.c_str(), 65534, 65534), 0);
    }
    const struct stat old = StatOf(name);
    WriteFileReplacing(name, "new");
    EXPECT_EQ(ReadFileBytes(name), "new");
    EXPECT_EQ(StatOf(name).st_mode, old.st_mode);
    EXPECT_EQ(StatOf(name).st_uid, old.st_uid);
    EXPECT_EQ(StatOf(name).st_gid, old.st_gid);

    // Beyond its mode, the file's ACL (owner rw, user 1234 rw, owning group none) and its
    // extended attributes; the new bytes are never open to more than the old ones were, not
    // even before the first of them is written.
    const std::string acl = "user::rw-,user:1234:rw-,group::---,mask::rw-,other::---";
    const std::string list = dir.file("Pellicor.lst");
    WriteFileReplacing(list, "old");
    if (!SetAcl(list, acl) || !SetAttribute(list, "user.origin", "device 7"))
        GTEST_SKIP() << "the temporary folder's file system takes no ACL or user attribute";
    FileFaults faults;
    faults.beforeFirstWrite = [&](int fd) {
        const std::string open = "/proc/self/fd/" + std::to_string(fd);
        EXPECT_EQ(AclText(open), acl) << "before the first byte";
        EXPECT_EQ(Attribute(open, "user.origin"), "device 7") << "before the first byte";
    };
    WriteFileReplacing(list, "new");
    EXPECT_EQ(ReadFileBytes(list), "new");
    EXPECT_EQ(AclText(list), acl);
    EXPECT_EQ(Attribute(list, "user.origin"), "device 7");
    EXPECT_EQ(StatOf(list).st_mode & 07777, 0660u);
}

TEST(File, AFileThatCannotBeCreatedLeavesNothingBehind)
{
    TempDir dir;
    // Permissions stop nothing for root, so the failures come from the paths themselves.
    WriteFileReplacing(dir.file("plain"), "x");
    const std::string underFile = dir.file("plain/Pellicor.lst");
    EXPECT_EQ(WriteError(underFile, "data"),
              "Cannot create file \"" + underFile + "\". Not a directory");

    std::filesystem::create_directory(dir.file("folder"));
    WriteFileReplacing(dir.file("folder/inside"), "kept");
    EXPECT_THROW(WriteFileReplacing(dir.file("folder"), "data"), EFCreateError);
    EXPECT_EQ(ReadFileBytes(dir.file("folder/inside")), "kept");
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"folder", "plain"}));
}

// Whether the file is replaced through a temporary file or written in place (a file of two
// names), a write that cannot reach its end leaves the old file as it was and nothing beside
// it. A file-size limit is known before the first byte; a full disk, an I/O error or a write
// of nothing part-way is "Stream write error", and in place the old bytes and the old length
// are written back. A write that stops short only goes on where it stopped.
TEST(File, AWriteStoppedHalfWayLeavesTheOldFileAsItWas)
{
    TempDir dir;
    const std::string name = dir.file("Pellicor.lst"), other = dir.file("other.lst");
    const std::string old = "old content\r\n", longer(5000, 'x'), shorter = "new\r\n";
    const std::string created = "Cannot create file \"" + name + "\". ";
    for (const bool inPlace : {false, true}) {
        WriteFileReplacing(name, old);
        if (inPlace)
            fs::create_hard_link(name, other);
        const auto expectKept = [&](const std::string& what) {
            const std::string now = ReadFileBytes(name);
            EXPECT_TRUE(now == old)
                << what << (inPlace ? " in place: " : ": ") << now.size() << " bytes";
            const std::vector<std::string> names{"Pellicor.lst", "other.lst"};
            EXPECT_EQ(dir.entries(),
                      std::vector<std::string>(names.begin(), names.begin() + 1 + inPlace))
                << what;
        };
        {
            FileSizeLimit limit(1000);
            EXPECT_EQ(WriteError(name, longer), created + "File too large");
        }
        expectKept("file-size limit");
        for (const int error : {EIO, ENOSPC, 0}) {
            for (const std::uint64_t at :
                 {std::uint64_t{0}, std::uint64_t{3}, std::uint64_t{4999}}) {
                for (const std::string& bytes : {longer, shorter}) {
                    if (at >= bytes.size())
                        continue;
                    FileFaults faults;
                    faults.FailWritesAt(at, error);
                    if (error == 0) {
                        EXPECT_EQ(WriteError(name, bytes), "");
                        EXPECT_EQ(ReadFileBytes(name), bytes);
                        WriteFileReplacing(name, old);
                        continue;
                    }
                    EXPECT_EQ(WriteError(name, bytes), "Stream write error");
                    expectKept(std::strerror(error) + std::string(" at byte ") +
                               std::to_string(at));
                }
            }
        }
        fs::remove(other);
    }
}

// In place, the new length is reserved before the first byte (a full disk is then refused
// and the old bytes stay), an interrupted reservation is asked again, and where even the
// old bytes cannot be written back the box says so and names a whole copy of them. An old
// file above the file-size limit takes new content below it: nothing is written past the
// limit, its copy included, which then holds the old bytes the new content covers.
TEST(File, AFailedWriteInPlaceGivesTheOldBytesBack)
{
    TempDir dir;
    const std::string name = dir.file("Pellicor.lst");
    const std::string old = "AB12;5\r\nCD34;6\r\n", bytes(3000, 'n');
    WriteFileReplacing(name, old);
    fs::create_hard_link(name, dir.file("other.lst"));
    const std::vector<std::string> names{"Pellicor.lst", "other.lst"};
    {
        FileFaults faults;
        faults.FailReservations(ENOSPC);
        EXPECT_EQ(WriteError(name, bytes),
                  "Cannot create file \"" + name + "\". No space left on device");
        EXPECT_EQ(faults.Reservations(), 1);
    }
    EXPECT_EQ(ReadFileBytes(name), old);
    EXPECT_EQ(dir.entries(), names);
    {
        FileFaults faults;
        faults.FailReservations(EINTR, 2);
        EXPECT_EQ(WriteError(name, bytes), "");
        EXPECT_EQ(faults.Reservations(), 3);
    }
    EXPECT_EQ(ReadFileBytes(dir.file("other.lst")), bytes);

    // The old bytes go back over what the write covered; where even that fails, the copy stays.
    const std::string big(5000, 'b');
    for (const auto& [before, limit, kept, damaged] :
         {std::tuple{old, RLIM_INFINITY, "its old content is kept whole in "s,
                     bytes.substr(0, 1000) + std::string(2000, '\0')},
          std::tuple{big, rlim_t{4000}, "the first 3000 bytes of its old content are kept in "s,
                     bytes.substr(0, 1000) + big.substr(1000)}}) {
        WriteFileReplacing(name, before);
        for (const int times : {1, INT_MAX}) {
            std::string message;
            {
                FileSizeLimit fileSizeLimit(limit);
                FileFaults faults;
                faults.FailWritesAt(1000, EIO, times);
                message = WriteError(name, bytes);
            }
            if (times == 1) {
                EXPECT_EQ(message, "Stream write error");
                EXPECT_TRUE(ReadFileBytes(name) == before);
                EXPECT_EQ(dir.entries(), names);
                continue;
            }
            const std::vector<std::string> entries = dir.entries();
            ASSERT_EQ(entries.size(), 3u) << "a copy of the old bytes beside the file";
            const std::string copy = dir.file(entries[1]);  // Pellicor.lst.~<process>.<count>.old
            EXPECT_EQ(message, "Stream write error\r" + name + " may be damaged; " + kept + copy);
            EXPECT_TRUE(ReadFileBytes(copy) == before.substr(0, bytes.size()));
            EXPECT_TRUE(ReadFileBytes(name) == damaged);
            EXPECT_EQ(StatOf(copy).st_mode & 0777, 0600u);
            fs::remove(copy);
        }
    }
}

// Before its first byte, an in-place write counts all it puts on each file system, in the
// blocks that file system tells: where blocks are copied on write (btrfs) the whole new
// content, where they are overwritten in place (ext4) what the file grows by, and the copy
// of the old bytes where it lands there. One block less free than that is refused with the
// file as it was and nothing beside it; that much is written. A copy that does not fit
// beside the file goes to the home folder where that is another file system with room.
TEST(File, AWriteInPlaceCountsAllItPutsOnEachFileSystem)
{
    TempDir dir;
    const std::string name = dir.file("Pellicor.lst"), other = dir.file("other.lst");
    const std::vector<std::string> names{"Pellicor.lst", "other.lst"};
    const std::string old(3 * 4096 + 100, 'o'), small = "AB12;5\r\n";
    const std::string full = "Cannot create file \"" + name + "\". No space left on device";
    WriteFileReplacing(name, old);
    fs::create_hard_link(name, other);
    const ScopedVariable home("HOME", dir.path()), temporary("TMPDIR", dir.path());
    const dev_t device = StatOf(name).st_dev;
    constexpr std::uint64_t kBlock = 4096;
    constexpr long kExt4 = 0xEF53, kBtrfs = 0x9123683E;
    const auto blocks = [](std::uint64_t bytes) { return (bytes + kBlock - 1) / kBlock; };
    const auto writeWithRoom = [&](const std::string& bytes,
                                   std::vector<std::tuple<dev_t, std::uint64_t, long>> rooms) {
        FileFaults faults;
        for (const auto& [on, free, type] : rooms)
            faults.FakeFileSystem(on, free, kBlock, type);
        return WriteError(name, bytes);
    };
    for (const long type : {kExt4, kBtrfs}) {
        for (const std::string& bytes : {std::string(6 * kBlock, 'g'), small}) {
            SCOPED_TRACE((type == kBtrfs ? "btrfs, " : "ext4, ") + std::to_string(bytes.size()));
            const std::uint64_t held = StatOf(name).st_blocks * 512 / kBlock;
            const std::uint64_t own =
                type == kBtrfs ? blocks(bytes.size()) : std::max(blocks(bytes.size()), held) - held;
            const std::uint64_t need = own + blocks(old.size());
            EXPECT_EQ(writeWithRoom(bytes, {{device, need - 1, type}}), full);
            EXPECT_TRUE(ReadFileBytes(other) == old);
            EXPECT_EQ(dir.entries(), names);
            EXPECT_EQ(writeWithRoom(bytes, {{device, need, type}}), "");
            EXPECT_TRUE(ReadFileBytes(other) == bytes);
            WriteFileReplacing(name, old);
        }
    }
    // More free room than 64 bits of bytes count.
    EXPECT_EQ(writeWithRoom(small, {{device, std::uint64_t{1} << 52, kExt4}}), "");
    WriteFileReplacing(name, old);

    const TempDir elsewhere("/dev/shm");
    const dev_t homeDevice = StatOf(elsewhere.path()).st_dev;
    if (homeDevice == device)
        GTEST_SKIP() << "/dev/shm is on the temporary folder's file system: no home elsewhere";
    const ScopedVariable homeElsewhere("HOME", elsewhere.path());
    for (const std::uint64_t free : {blocks(old.size()) - 1, blocks(old.size())}) {
        EXPECT_EQ(writeWithRoom(small, {{device, 0, kExt4}, {homeDevice, free, kExt4}}),
                  free < blocks(old.size()) ? full : "");
        EXPECT_EQ(elsewhere.entries(), std::vector<std::string>{});
    }
    EXPECT_EQ(ReadFileBytes(other), small);
    EXPECT_EQ(dir.entries(), names);
}

// No signal of a session's end (log-out, closed terminal, Ctrl+C) stops a write half way:
// one that comes while a file is written, replaced or in place, is delivered once it is whole.
TEST(File, TheSignalsOfASessionsEndWaitForTheWrite)
{
    static volatile std::sig_atomic_t delivered = 0;
    const int ends[] = {SIGTERM, SIGHUP, SIGINT};
    struct sigaction note {
    }, old[3];
    note.sa_handler = [](int signo) { delivered = delivered | 1 << signo; };
    for (int k = 0; k < 3; ++k)
        ::sigaction(ends[k], &note, &old[k]);
    TempDir dir;
    const std::string name = dir.file("Pellicor.lst");
    WriteFileReplacing(name, "old");
    for (const bool inPlace : {false, true}) {
        if (inPlace)
            fs::create_hard_link(name, dir.file("other.lst"));
        delivered = 0;
        FileFaults faults;
        faults.beforeFirstWrite = [&](int) {
            for (const int signo : ends)
                ::raise(signo);
            EXPECT_EQ(delivered, 0) << "during the write" << (inPlace ? " in place" : "");
        };
        WriteFileReplacing(name, "new");
        EXPECT_EQ(delivered, 1 << SIGTERM | 1 << SIGHUP | 1 << SIGINT) << inPlace;
    }
    for (int k = 0; k < 3; ++k)
        ::sigaction(ends[k], &old[k], nullptr);
}

TEST(File, ExistenceIsForFilesNotFolders)
{
    TempDir dir;
    WriteFileReplacing(dir.file("a"), "");
    EXPECT_TRUE(FileExists(dir.file("a")));
    EXPECT_FALSE(FileExists(dir.file("b")));
    EXPECT_FALSE(FileExists(dir.path()));
}

TEST(File, TheExtensionIsWhatFollowsTheLastDotOfTheName)
{
    EXPECT_EQ(ChangeFileExt("/opt/app/Pellicor", ".ini"), "/opt/app/Pellicor.ini");
    EXPECT_EQ(ChangeFileExt("/opt/app/Pellicor.exe", ".ini"), "/opt/app/Pellicor.ini");
    EXPECT_EQ(ChangeFileExt("/opt/app.d/Pellicor", ".lst"), "/opt/app.d/Pellicor.lst");
    EXPECT_EQ(ChangeFileExt("list.tar.gz", ".lst"), "list.tar.lst");
    EXPECT_EQ(ChangeFileExt("a.b", ""), "a");
}
