#include "platform/file/InPlaceWrite.h"

#include "platform/file/FileCalls.h"
#include "platform/file/FileDescriptor.h"
#include "platform/file/FileErrors.h"
#include "platform/file/FileSystem.h"
#include "platform/file/InputFile.h"
#include "platform/file/TemporaryFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <sys/sendfile.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

namespace {

// 0 when the file system has room for length bytes written anew, else ENOSPC. A
// copy-on-write file system puts overwritten bytes in new blocks, so the whole new length
// must be free, not only what it adds. The room counted is what an ordinary user may fill:
// a copy-on-write file system counts far more blocks free than its data may take.
int SpaceRefusal(int fd, std::uint64_t length)
{
    struct statvfs info {};
    if (::fstatvfs(fd, &info) != 0)
        return errno;
    return std::uint64_t{info.f_bavail} * info.f_frsize < length ? ENOSPC : 0;
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

// Copies the old file's size bytes from its start into the new file copy, on disk.
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

// A whole copy of the old bytes where one survives the program: beside the file where the
// folder takes files, else in the home folder, else in the temporary folder. Its name, or
// none (with the system's reason) where none takes it.
std::string KeepCopy(const TFileWritePlan& plan, int from, off_t size, int& error)
{
    std::vector<std::string> folders;
    if (plan.folderTakesFiles)
        folders.push_back(FolderOf(plan.target));
    for (const char* variable : {"HOME", "TMPDIR"})
        if (const char* folder = std::getenv(variable); folder && *folder)
            folders.emplace_back(folder);
    folders.emplace_back("/tmp");
    // Named after the file, within the system's bound on names.
    const std::string leaf = plan.target.substr(plan.target.rfind('/') + 1).substr(0, 200);
    error = 0;
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

}  // namespace

void WriteInPlace(const std::string& fileName, const TFileWritePlan& plan, const std::string& bytes)
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
    // The old bytes too must fit the limit: they are copied, and may have to be written back.
    const std::uint64_t longest = std::max<std::uint64_t>(bytes.size(), oldBytes.size());
    int refusal = FileSizeRefusal(longest);
    if (!refusal)
        refusal = SpaceRefusal(fd.get(), bytes.size());
    if (refusal)
        ThrowCreateError(fileName, ErrorText(refusal));
    const std::string copy = KeepCopy(plan, fd.get(), static_cast<off_t>(oldBytes.size()), refusal);
    if (copy.empty())
        ThrowCreateError(fileName, ErrorText(refusal));
    if ((refusal = Reserve(fd.get(), bytes.size()))) {
        // A reservation that stopped part-way may have grown the file by zeros after the old
        // bytes; the old bytes are there either way.
        [[maybe_unused]] const bool restored =
            ::ftruncate(fd.get(), static_cast<off_t>(oldBytes.size())) == 0;
        ::unlink(copy.c_str());
        ThrowCreateError(fileName, ErrorText(refusal));
    }
    if (!WriteWholeFile(fd.get(), bytes)) {
        if (!WriteWholeFile(fd.get(), oldBytes))
            ThrowDamagedError(fileName, copy);
        ::unlink(copy.c_str());
        ThrowWriteError();
    }
    ::unlink(copy.c_str());
    if (::close(fd.release()) != 0)
        ThrowWriteError();
}
