#include "platform/file/TemporaryFile.h"

#include "platform/file/FileSystem.h"
#include "platform/text/Format.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

int CreateUniqueFile(const std::string& prefix, const std::string& suffix, std::string& name)
{
    static std::atomic<unsigned> counter{0};
    int fd = -1;
    do {
        name = Format("%s.~%d.%u%s", prefix, static_cast<int>(::getpid()), counter++, suffix);
        // Nobody else may open it while it is made: who else may comes with the old file's
        // permissions, before the first byte.
        fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    } while (fd < 0 && errno == EEXIST);
    return fd;
}

TemporaryFile::TemporaryFile(const std::string& target)
    : fd_(CreateUniqueFile(FolderOf(target) + "/", ".tmp", name_))
{
    error_ = fd_.get() < 0 ? errno : 0;
}

TemporaryFile::~TemporaryFile()
{
    if (!error_ && !renamed_)
        ::unlink(name_.c_str());
}

int TemporaryFile::RenameTo(const std::string& target)
{
    renamed_ = ::rename(name_.c_str(), target.c_str()) == 0;
    return renamed_ ? 0 : errno;
}
