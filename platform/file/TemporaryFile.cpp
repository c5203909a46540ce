#include "platform/file/TemporaryFile.h"

#include "platform/file/FileSystem.h"
#include "platform/text/Format.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

int CreateUniqueFile(const std::string& prefix, const std::string& suffix, mode_t mode,
                     std::string& name)
{
    static std::atomic<unsigned> counter{0};
    int fd = -1;
    do {
        name = Format("%s.~%d.%u%s", prefix, static_cast<int>(::getpid()), counter++, suffix);
        fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EEXIST);
    return fd;
}

TemporaryFile::TemporaryFile(const std::string& target, bool replaces)
    : fd_(CreateUniqueFile(FolderOf(target) + "/", ".tmp", replaces ? 0600 : 0666, name_))
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
