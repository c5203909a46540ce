#include "platform/file/PermissionCopy.h"

#include "platform/file/FileDescriptor.h"

#include <acl/libacl.h>
#include <attr/libattr.h>
#include <fcntl.h>
#include <unistd.h>

bool CarryPermissions(const std::string& oldFile, const struct stat& old, int fd)
{
    // Read through a descriptor of the old file itself, so the name cannot be swapped for
    // another file meanwhile (a FIFO does not hold the open).
    const FileDescriptor source(
        ::open(oldFile.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat now {};
    if (source.get() < 0 || ::fstat(source.get(), &now) != 0 || now.st_dev != old.st_dev ||
        now.st_ino != old.st_ino)
        return false;
    // No message handler: a failure is answered by writing in place, not reported.
    return ::attr_copy_fd(oldFile.c_str(), source.get(), nullptr, fd, nullptr, nullptr) == 0 &&
           ::perm_copy_fd(oldFile.c_str(), source.get(), nullptr, fd, nullptr) == 0 &&
           ::fchown(fd, old.st_uid, old.st_gid) == 0 && ::fchmod(fd, old.st_mode & 07777) == 0;
}

bool GiveModeBack(int fd, mode_t mode)
{
    struct stat now {};
    return ::fstat(fd, &now) == 0 &&
           ((now.st_mode & 07777) == (mode & 07777) || ::fchmod(fd, mode & 07777) == 0);
}
