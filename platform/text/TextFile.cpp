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

// Closes on every path out; the write path closes by hand to see close's own error.
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

std::string ErrorText(int error)
{
    return std::strerror(error);
}

[[noreturn]] void ThrowOpenError(const std::string& fileName, int error)
{
    throw EFOpenError(FileMessage("Cannot open file \"%s\". %s", {fileName, ErrorText(error)}));
}

[[noreturn]] void ThrowCreateError(const std::string& fileName, int error)
{
    throw EFCreateError(FileMessage("Cannot create file \"%s\". %s", {fileName, ErrorText(error)}));
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

std::string ReadFileBytes(const std::string& fileName)
{
    FileDescriptor fd(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0)
        ThrowOpenError(fileName, errno);
    std::string bytes;
    struct stat info {};
    if (::fstat(fd.get(), &info) == 0 && info.st_size > 0)
        bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ThrowOpenError(fileName, errno);  // a folder opens but does not read
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
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
        ThrowCreateError(fileName, errno);
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
        ThrowCreateError(fileName, error);
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
