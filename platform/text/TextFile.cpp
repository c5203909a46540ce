#include "platform/text/TextFile.h"

#include "platform/text/Errors.h"
#include "platform/text/FileName.h"
#include "platform/text/Format.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Closes on every path out; the write paths close by hand to see close's own error.
class FileDescriptor final {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    int release()
    {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

const char* const kNotRegular = "Not a regular file";

std::string ErrorText(int error)
{
    return std::strerror(error);
}

std::string NotRegularReason(mode_t mode)
{
    return S_ISDIR(mode) ? ErrorText(EISDIR) : kNotRegular;
}

[[noreturn]] void ThrowOpenError(const std::string& fileName, const std::string& reason)
{
    throw EFOpenError(FileMessage("Cannot open file \"%s\". %s", {fileName, reason}));
}

[[noreturn]] void ThrowCreateError(const std::string& fileName, const std::string& reason)
{
    throw EFCreateError(FileMessage("Cannot create file \"%s\". %s", {fileName, reason}));
}

int OpenRegularFile(const std::string& fileName, struct stat& info)
{
    // Looked at before it is opened: opening a FIFO or a device may already wait or act.
    if (::stat(fileName.c_str(), &info) != 0)
        ThrowOpenError(fileName, ErrorText(errno));
    if (!S_ISREG(info.st_mode))
        ThrowOpenError(fileName, NotRegularReason(info.st_mode));
    FileDescriptor fd(::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0)
        ThrowOpenError(fileName, ErrorText(errno));
    // The name may have been given to something else in the meantime.
    if (::fstat(fd.get(), &info) != 0)
        ThrowOpenError(fileName, ErrorText(errno));
    if (!S_ISREG(info.st_mode))
        ThrowOpenError(fileName, NotRegularReason(info.st_mode));
    return fd.release();
}

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

// A name beside the target that no other writer of this process or another one picks.
std::string TemporaryName(const std::string& fileName)
{
    static std::atomic<unsigned> counter{0};
    return Format("%s.~%d.%u.tmp", fileName, static_cast<int>(::getpid()), counter++);
}

std::vector<std::string> Split(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

}  // namespace

TInputFile::TInputFile(const std::string& fileName) : fileName_(fileName)
{
    struct stat info {};
    fd_ = OpenRegularFile(fileName, info);
    size_ = static_cast<std::uint64_t>(info.st_size);
}

TInputFile::~TInputFile()
{
    ::close(fd_);
}

std::optional<std::string> TInputFile::ReadAt(std::uint64_t offset, std::uint64_t size) const
{
    if (size > kMaxReadBytes || offset > size_ || size > size_ - offset)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pread(fd_, bytes.data() + done, bytes.size() - done,
                                  static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return std::nullopt;
        done += static_cast<std::size_t>(n);
    }
    return bytes;
}

std::string TInputFile::ReadAll() const
{
    if (size_ > kMaxReadBytes)
        ThrowOpenError(fileName_, ErrorText(EFBIG));
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(size_));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::pread(fd_, buffer, sizeof buffer, static_cast<off_t>(bytes.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ThrowOpenError(fileName_, ErrorText(errno));
        if (n == 0)
            return bytes;
        // A file that grows while it is read, or tells no size, stops at the bound too.
        if (bytes.size() + static_cast<std::size_t>(n) > kMaxReadBytes)
            ThrowOpenError(fileName_, ErrorText(EFBIG));
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

std::string ReadFileBytes(const std::string& fileName)
{
    return TInputFile(fileName).ReadAll();
}

void WriteFileReplacing(const std::string& fileName, const std::string& bytes)
{
    std::string tempName;
    int fdNumber = -1;
    do {
        tempName = TemporaryName(fileName);
        fdNumber = ::open(tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    } while (fdNumber < 0 && errno == EEXIST);
    if (fdNumber < 0)
        ThrowCreateError(fileName, ErrorText(errno));
    FileDescriptor fd(fdNumber);

    // The replacement keeps the old file's permissions.
    struct stat old {};
    if (::stat(fileName.c_str(), &old) == 0)
        ::fchmod(fd.get(), old.st_mode & 07777);

    const bool written = WriteAll(fd.get(), bytes) && ::fsync(fd.get()) == 0;
    const bool closed = ::close(fd.release()) == 0;
    if (!written || !closed) {
        ::unlink(tempName.c_str());
        throw EFCreateError("Stream write error");
    }
    if (::rename(tempName.c_str(), fileName.c_str()) != 0) {
        const int error = errno;
        ::unlink(tempName.c_str());
        ThrowCreateError(fileName, ErrorText(error));
    }
}

std::vector<std::string> SplitLines(const std::string& bytes)
{
    return Split(std::string_view(bytes).substr(0, bytes.find('\0')));
}

std::vector<std::string> SplitLinesKeepingNul(const std::string& bytes)
{
    return Split(bytes);
}

bool FileExists(const std::string& fileName)
{
    struct stat info {};
    return ::stat(fileName.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

std::string ChangeFileExt(const std::string& fileName, const std::string& extension)
{
    const std::size_t slash = fileName.rfind('/');
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return fileName + extension;
    return fileName.substr(0, dot) + extension;
}
