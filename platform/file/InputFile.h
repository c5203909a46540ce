#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Files are bytes: no conversion, no byte-order mark. File names are the file system's
// bytes (platform/text/FileName.h).

// Every read of a file stops here: a bigger file is refused like one that cannot be opened.
inline constexpr std::uint64_t kMaxReadBytes = std::uint64_t{256} << 20;

// A regular file open for reading. A FIFO, device or folder is refused before it is
// opened, and the open itself never waits, so no such name can hold or flood the program.
// Raises EFOpenError "Cannot open file "%s". %s" with the system's reason.
class TInputFile final {
public:
    explicit TInputFile(const std::string& fileName);
    ~TInputFile();
    TInputFile(const TInputFile&) = delete;
    TInputFile& operator=(const TInputFile&) = delete;

    std::uint64_t Size() const { return size_; }
    // The bytes at offset; nothing when they do not all lie in the file or exceed the bound.
    std::optional<std::string> ReadAt(std::uint64_t offset, std::uint64_t size) const;
    // The whole file; past maxBytes (never more than kMaxReadBytes) the reason is "File too
    // large".
    std::string ReadAll(std::uint64_t maxBytes = kMaxReadBytes) const;

private:
    std::string fileName_;
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

// Reads the whole open file into bytes: 0, or the system's reason it could not (EFBIG past
// maxBytes, never more than kMaxReadBytes). The one read loop of every reader.
int ReadDescriptor(int fd, std::string& bytes, std::uint64_t maxBytes = kMaxReadBytes);

// The whole file (TInputFile::ReadAll).
std::string ReadFileBytes(const std::string& fileName, std::uint64_t maxBytes = kMaxReadBytes);
