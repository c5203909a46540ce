#include "platform/file/InputFile.h"

#include "platform/file/FileDescriptor.h"
#include "platform/file/FileErrors.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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

std::string TInputFile::ReadAll(std::uint64_t maxBytes) const
{
    if (size_ > std::min(maxBytes, kMaxReadBytes))
        ThrowOpenError(fileName_, ErrorText(EFBIG));
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(size_));
    if (const int error = ReadDescriptor(fd_, bytes, maxBytes))
        ThrowOpenError(fileName_, ErrorText(error));
    return bytes;
}

int ReadDescriptor(int fd, std::string& bytes, std::uint64_t maxBytes)
{
    maxBytes = std::min(maxBytes, kMaxReadBytes);
    bytes.clear();
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, static_cast<off_t>(bytes.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return 0;
        // A file that grows while it is read, or tells no size, stops at the bound too.
        if (bytes.size() + static_cast<std::size_t>(n) > maxBytes)
            return EFBIG;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

std::string ReadFileBytes(const std::string& fileName, std::uint64_t maxBytes)
{
    return TInputFile(fileName).ReadAll(maxBytes);
}
