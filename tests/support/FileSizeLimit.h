#pragma once

#include <csignal>
#include <sys/resource.h>

// Makes every write past `bytes` into any file of this process fail (EFBIG), which stops
// a write half-way even as root, where permissions stop nothing. Restored at scope end.
class FileSizeLimit final {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    struct sigaction oldAction_ {};
};
