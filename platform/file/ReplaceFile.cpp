#include "platform/file/ReplaceFile.h"

#include "platform/file/FileDescriptor.h"
#include "platform/file/FileErrors.h"
#include "platform/text/Errors.h"
#include "platform/text/Format.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool WriteAll(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The file (written from its start) ends where bytes end, is on disk and closed.
void WriteAndClose(FileDescriptor& fd, const std::string& bytes)
{
    const bool written = WriteAll(fd.get(), bytes) &&
                         ::ftruncate(fd.get(), static_cast<off_t>(bytes.size())) == 0 &&
                         ::fsync(fd.get()) == 0;
    const bool closed = ::close(fd.release()) == 0;
    if (!written || !closed)
        throw EFCreateError("Stream write error");
}

std::string FolderOf(const std::string& fileName)
{
    const std::size_t slash = fileName.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : fileName.substr(0, slash);
}

// The file a name finally stands for: symbolic links are followed (a relative one from the
// folder it sits in), so the replacement lands on the file the link names and the link
// stays a link. A loop is left to fail with the system's own reason.
std::string LinkTarget(std::string fileName)
{
    for (int links = 0; links < 40; ++links) {
        struct stat info {};
        if (::lstat(fileName.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return fileName;
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(fileName.c_str(), target.data(), target.size());
        if (n <= 0 || static_cast<std::size_t>(n) == target.size())
            return fileName;
        target.resize(static_cast<std::size_t>(n));
        fileName = target.front() == '/' ? target : FolderOf(fileName) + "/" + target;
    }
    return fileName;
}

// 0 when the process may write the file or folder as an in-place write would find it,
// else the system's reason. Root may write anything; a file that its person has made
// read-only for everybody is still honoured as read-only.
int WriteRefusal(const std::string& name, const struct stat& info)
{
    if (::faccessat(AT_FDCWD, name.c_str(), W_OK, AT_EACCESS) != 0)
        return errno;
    return ::geteuid() == 0 && (info.st_mode & 0222) == 0 ? EACCES : 0;
}

bool FolderTakesNoTemporary(const std::string& target)
{
    const std::string folder = FolderOf(target);
    struct stat info {};
    return ::stat(folder.c_str(), &info) == 0 && WriteRefusal(folder, info) != 0;
}

// The replacement takes the old file's owner (where the process may give it away, else at
// least its group) before its mode, since a change of owner clears the set-id bits. Where
// neither may be kept the replacement belongs to the process, as a file it created would:
// deliberately no error, since the person running the program can still read and write it.
// A mode that does not take would open the file to others than the person chose: refused.
void KeepOwnerAndMode(const std::string& fileName, int fd, const struct stat& old)
{
    [[maybe_unused]] const bool ownerKept = ::fchown(fd, old.st_uid, old.st_gid) == 0 ||
                                            ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) == 0;
    if (::fchmod(fd, old.st_mode & 07777) != 0)
        ThrowCreateError(fileName, ErrorText(errno));
}

// 0 when the file is sure to take length bytes from its start, else the system's reason.
// The file-size limit stops a write anywhere past it, inside the old length too, and a full
// disk stops one that grows the file: both are known before a byte is written.
int ReserveLength(int fd, std::size_t length)
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
        length > limit.rlim_cur)
        return EFBIG;
    return length == 0 ? 0 : ::posix_fallocate(fd, 0, static_cast<off_t>(length));
}

// Written over the old bytes of the same file. Its new length is reserved first, so a
// refusal leaves the old bytes as they were.
void WriteInPlace(const std::string& fileName, const std::string& target, const std::string& bytes)
{
    FileDescriptor fd(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0)
        ThrowCreateError(fileName, ErrorText(errno));
    struct stat old {};
    if (::fstat(fd.get(), &old) != 0 || !S_ISREG(old.st_mode))
        ThrowCreateError(fileName, kNotRegular);
    if (const int refusal = ReserveLength(fd.get(), bytes.size())) {
        // A reservation that stopped part-way may have grown the file by zeros after the
        // old bytes: it gets its old length back where it can (the old bytes are there
        // either way, so a failure here adds nothing to the refusal).
        struct stat now {};
        if (::fstat(fd.get(), &now) == 0 && now.st_size != old.st_size) {
            [[maybe_unused]] const bool restored = ::ftruncate(fd.get(), old.st_size) == 0;
        }
        ThrowCreateError(fileName, ErrorText(refusal));
    }
    WriteAndClose(fd, bytes);
}

// A new file in the folder under a short name nobody else picks (a name as long as the
// target's would not fit the system's bound on names); -1 (with errno) when the folder
// takes none.
int CreateIn(const std::string& folder, std::string& name)
{
    static std::atomic<unsigned> counter{0};
    int fd = -1;
    do {
        name = Format("%s/.~%d.%u.tmp", folder, static_cast<int>(::getpid()), counter++);
        fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EEXIST);
    return fd;
}

// The new content's file beside the target, removed again on every path out unless it
// was renamed into place.
class TemporaryFile final {
public:
    explicit TemporaryFile(const std::string& target) : fd_(CreateIn(FolderOf(target), name_))
    {
        error_ = fd_.get() < 0 ? errno : 0;
    }
    ~TemporaryFile()
    {
        if (!error_ && !renamed_)
            ::unlink(name_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // 0 or the system's reason why the file could not be created.
    int Error() const { return error_; }
    FileDescriptor& Descriptor() { return fd_; }
    // 0 or the system's reason.
    int RenameTo(const std::string& target)
    {
        renamed_ = ::rename(name_.c_str(), target.c_str()) == 0;
        return renamed_ ? 0 : errno;
    }

private:
    std::string name_;  // set while fd_ is made
    FileDescriptor fd_;
    int error_ = 0;
    bool renamed_ = false;
};

}  // namespace

void WriteFileReplacing(const std::string& fileName, const std::string& bytes)
{
    const std::string target = LinkTarget(fileName);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT)
        ThrowCreateError(fileName, ErrorText(errno));
    if (exists) {
        if (!S_ISREG(old.st_mode))
            ThrowCreateError(fileName, NotRegularReason(old.st_mode));
        if (const int refusal = WriteRefusal(target, old))
            ThrowCreateError(fileName, ErrorText(refusal));
        // A rename would part the file from its other names, which would keep the old bytes.
        if (old.st_nlink > 1 || FolderTakesNoTemporary(target))
            return WriteInPlace(fileName, target, bytes);
    }
    TemporaryFile temporary(target);
    if (temporary.Error())
        ThrowCreateError(fileName, ErrorText(temporary.Error()));
    if (exists)
        KeepOwnerAndMode(fileName, temporary.Descriptor().get(), old);
    WriteAndClose(temporary.Descriptor(), bytes);
    if (const int error = temporary.RenameTo(target))
        ThrowCreateError(fileName, ErrorText(error));
}
