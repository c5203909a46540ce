#include "platform/file/FileCalls.h"

#include <cerrno>

TFileCalls& FileCalls()
{
    static TFileCalls calls;
    return calls;
}

int WriteAllAt(int fd, std::string_view bytes, off_t offset)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = FileCalls().pwrite(fd, bytes.data() + done, bytes.size() - done,
                                             offset + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return EIO;
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

bool WriteWholeFile(int fd, std::string_view bytes)
{
    return WriteAllAt(fd, bytes, 0) == 0 &&
           ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && ::fsync(fd) == 0;
}
