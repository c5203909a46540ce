#include "platform/file/InPlaceWrite.h"

#include "platform/file/FileCalls.h"
#include "platform/file/FileDescriptor.h"
#include "platform/file/FileErrors.h"
#include "platform/file/FileSystem.h"
#include "platform/file/InputFile.h"
#include "platform/file/PermissionCopy.h"
#include "platform/file/TemporaryFile.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <sys/sendfile.h>
#include <unistd.h>
#include <vector>

namespace {

// The kinds of file system (statfs's f_type) that write every changed block anew, copied on
// write or logged: an overwrite there needs as much free room as it writes, and a reservation
// promises nothing for the blocks the file has already.
constexpr std::array<std::uint32_t, 5> kCopyOnWrite{
    0x9123683E,  // btrfs
    0xCA451A4E,  // bcachefs
    0x2FC12FC1,  // ZFS
    0x3434,      // NILFS2
    0xF2F52010,  // F2FS, which writes out of place unless told otherwise
};

// A file system's room, in its blocks: counted so, free room never overflows. The room
// counted is what an ordinary user may fill: a copy-on-write file system counts far more
// blocks free than its data may take.
struct TRoom {
    dev_t device = 0;
    std::uint64_t freeBlocks = 0;
    std::uint64_t blockSize = 1;
    bool copyOnWrite = false;

    std::uint64_t Blocks(std::uint64_t bytes) const
    {
        return bytes / blockSize + (bytes % blockSize != 0);
    }
};

// The room of the file system that fd (a file or folder) lies on; 0 or the system's reason.
int RoomOf(int fd, TRoom& room)
{
    struct stat info {};
    struct statvfs space {};
    struct statfs kind {};
    if (::fstat(fd, &info) != 0 || FileCalls().fstatvfs(fd, &space) != 0 ||
        FileCalls().fstatfs(fd, &kind) != 0)
        return errno;
    room.device = info.st_dev;
    room.freeBlocks = space.f_bavail;
    room.blockSize = std::max<std::uint64_t>(space.f_frsize, 1);
    room.copyOnWrite = std::find(kCopyOnWrite.begin(), kCopyOnWrite.end(),
                                 static_cast<std::uint32_t>(kind.f_type)) != kCopyOnWrite.end();
    return 0;
}

// The blocks that length bytes written over the old file put on its file system: all of them
// where blocks are copied on write, else those the file grows by.
std::uint64_t WriteBlocks(const TRoom& room, const struct stat& old, std::uint64_t length)
{
    const std::uint64_t blocks = room.Blocks(length);
    if (room.copyOnWrite)
        return blocks;
    const std::uint64_t held = static_cast<std::uint64_t>(old.st_blocks) * 512 / room.blockSize;
    return blocks > held ? blocks - held : 0;
}

// The bytes of the old file that its copy holds: all of them, unless the old file is above
// the file-size limit, which no file of this process may pass. Then the copy holds those the
// new content covers: the write gives back no more than those (WriteNewContent).
std::uint64_t CopyLength(std::uint64_t oldLength, std::uint64_t length)
{
    return FileSizeRefusal(oldLength) ? std::min(oldLength, length) : oldLength;
}

// The folders that take the copy of the old bytes, in order, each with room for it (and for
// the write itself where it lies on the file's file system): beside the file where its
// folder takes files, then the home folder, then the temporary folder. None, with the reason
// in refusal, where the file's file system has no room for the write or no folder takes the
// copy. fd is the file's, open or as a path.
std::vector<std::string> FoldersForCopy(const TFileWritePlan& plan, int fd, const struct stat& old,
                                        std::uint64_t length, int& refusal)
{
    TRoom own;
    if ((refusal = RoomOf(fd, own)))
        return {};
    const std::uint64_t need = WriteBlocks(own, old, length);
    refusal = ENOSPC;
    if (own.freeBlocks < need)
        return {};
    std::vector<std::string> candidates;
    if (plan.folderTakesFiles)
        candidates.push_back(FolderOf(plan.target));
    const char* home = std::getenv("HOME");
    const char* temporary = std::getenv("TMPDIR");
    for (const char* folder : {home, temporary && *temporary ? temporary : "/tmp"})
        if (folder && *folder && AccessRefusal(folder, W_OK | X_OK) == 0)
            candidates.emplace_back(folder);
    const std::uint64_t copyLength = CopyLength(static_cast<std::uint64_t>(old.st_size), length);
    std::vector<std::string> folders;
    for (const std::string& folder : candidates) {
        const FileDescriptor at(::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        TRoom room;
        if (at.get() < 0 || RoomOf(at.get(), room) != 0)
            continue;
        const std::uint64_t blocks =
            room.Blocks(copyLength) + (room.device == own.device ? need : 0);
        if (room.freeBlocks >= blocks)
            folders.push_back(folder);
    }
    if (!folders.empty())
        refusal = 0;
    return folders;
}

// The new length from the file's start, reserved; an interruption asks again.
int Reserve(int fd, std::size_t length)
{
    if (length == 0)
        return 0;
    int error = EINTR;
    while (error == EINTR)
        error = FileCalls().fallocate(fd, 0, static_cast<off_t>(length));
    return error;
}

// Copies the old file's first size bytes into the new file copy, on disk.
bool CopyBytes(int from, int copy, off_t size)
{
    off_t offset = 0;
    while (offset < size) {
        const ssize_t n = ::sendfile(copy, from, &offset, static_cast<std::size_t>(size - offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
    }
    return ::fsync(copy) == 0;
}

// A copy of the old file's first `size` bytes, where one survives the program: in the first
// of the folders that takes it. Its name, or none (with the system's reason) where none does.
std::string KeepCopy(const TFileWritePlan& plan, const std::vector<std::string>& folders, int from,
                     off_t size, int& error)
{
    // Named after the file, within the system's bound on names.
    const std::string leaf = plan.target.substr(plan.target.rfind('/') + 1).substr(0, 200);
    for (const std::string& folder : folders) {
        std::string name;
        FileDescriptor copy(CreateUniqueFile(folder + "/" + leaf, ".old", 0600, name));
        if (copy.get() < 0) {
            error = errno;
            continue;
        }
        // Readable by the file's owner (where the process may give it away) and nobody else.
        [[maybe_unused]] const bool owned =
            ::fchown(copy.get(), plan.old.st_uid, plan.old.st_gid) == 0;
        if (CopyBytes(from, copy.get(), size) && ::close(copy.release()) == 0)
            return name;
        error = errno ? errno : EIO;
        ::unlink(name.c_str());
    }
    return "";
}

// Writes bytes over the file's start, then cuts off the old bytes past them, each step on
// disk before the next: until the cut, every old byte past the new length is still there.
// truncated tells whether the cut was made.
bool WriteNewContent(int fd, const std::string& bytes, std::uint64_t oldLength, bool& truncated)
{
    truncated = false;
    if (WriteAllAt(fd, bytes, 0) != 0 || ::fsync(fd) != 0)
        return false;
    if (bytes.size() >= oldLength)
        return true;
    if (::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0)
        return false;
    truncated = true;
    return ::fsync(fd) == 0;
}

// Gives the old bytes back over what WriteNewContent covered (past the new length only where
// it cut them off) and the old length. Nothing is ever written past the file-size limit: an
// old file above it is given back only within the new length, which is below the limit, and
// its bytes past the new length are there as long as the cut was not made; where it was, they
// cannot be given back, and false comes back.
bool GiveOldContentBack(int fd, const std::string& old, std::uint64_t length, bool truncated)
{
    if (truncated && FileSizeRefusal(old.size()))
        return false;
    const std::size_t back = truncated ? old.size() : std::min<std::size_t>(old.size(), length);
    return WriteAllAt(fd, std::string_view(old).substr(0, back), 0) == 0 &&
           (length <= old.size() || ::ftruncate(fd, static_cast<off_t>(old.size())) == 0) &&
           ::fsync(fd) == 0;
}

}  // namespace

int InPlaceRoomRefusal(const TFileWritePlan& plan, std::uint64_t length)
{
    const FileDescriptor fd(::open(plan.target.c_str(), O_PATH | O_CLOEXEC));
    if (fd.get() < 0)
        return errno;
    int refusal = 0;
    FoldersForCopy(plan, fd.get(), plan.old, length, refusal);
    return refusal;
}

void WriteInPlace(const std::string& fileName, const TFileWritePlan& plan, const std::string& bytes,
                  TKeptCopy* kept)
{
    // Read and write: the old bytes are read through it, and where the file system has no
    // fallocate the C library reserves the length by reading and writing the file.
    FileDescriptor fd(::open(plan.target.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0)
        ThrowCreateError(fileName, ErrorText(errno));
    struct stat old {};
    if (::fstat(fd.get(), &old) != 0 || !S_ISREG(old.st_mode))
        ThrowCreateError(fileName, kNotRegular);
    std::string oldBytes;
    if (const int error = ReadDescriptor(fd.get(), oldBytes))
        ThrowCreateError(fileName, ErrorText(error));
    int refusal = 0;
    const std::vector<std::string> folders =
        FoldersForCopy(plan, fd.get(), old, bytes.size(), refusal);
    const std::uint64_t copyLength = CopyLength(oldBytes.size(), bytes.size());
    const TKeptCopy copy{KeepCopy(plan, folders, fd.get(), static_cast<off_t>(copyLength), refusal),
                         copyLength, copyLength == oldBytes.size()};
    if (copy.name.empty())
        ThrowCreateError(fileName, ErrorText(refusal));
    if ((refusal = Reserve(fd.get(), bytes.size()))) {
        // A reservation that stopped part-way may have grown the file by zeros after the old
        // bytes; the old bytes are there either way.
        [[maybe_unused]] const bool restored =
            ::ftruncate(fd.get(), static_cast<off_t>(oldBytes.size())) == 0;
        ::unlink(copy.name.c_str());
        ThrowCreateError(fileName, ErrorText(refusal));
    }
    bool truncated = false;
    const bool written = WriteNewContent(fd.get(), bytes, oldBytes.size(), truncated);
    const bool whole = written || GiveOldContentBack(fd.get(), oldBytes, bytes.size(), truncated);
    // The write has the system clear the set-id bits where the process lacks CAP_FSETID; the
    // owner gives them back (for anybody else the system refuses, and nothing changes).
    [[maybe_unused]] const bool modeKept = GiveModeBack(fd.get(), old.st_mode);
    if (!whole) {
        if (kept)
            *kept = copy;
        ThrowDamagedError(fileName, copy);
    }
    ::unlink(copy.name.c_str());
    if (!written || ::close(fd.release()) != 0)
        ThrowWriteError();
}
