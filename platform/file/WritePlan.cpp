#include "platform/file/WritePlan.h"

#include "platform/file/FileErrors.h"
#include "platform/file/FileSystem.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

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

}  // namespace

int AccessRefusal(const std::string& name, int access)
{
    struct stat info {};
    if (::stat(name.c_str(), &info) != 0)
        return errno;
    if (::faccessat(AT_FDCWD, name.c_str(), access, AT_EACCESS) != 0)
        return errno;
    return ::geteuid() == 0 && (info.st_mode & 0222) == 0 ? EACCES : 0;
}

TFileWritePlan PlanFileWrite(const std::string& fileName)
{
    TFileWritePlan plan;
    plan.target = LinkTarget(fileName);
    plan.exists = ::stat(plan.target.c_str(), &plan.old) == 0;
    if (!plan.exists && errno != ENOENT)
        ThrowCreateError(fileName, ErrorText(errno));
    // A folder renamed or removed meanwhile, or one the person may not write.
    const int folderRefusal = AccessRefusal(FolderOf(plan.target), W_OK);
    plan.folderTakesFiles = folderRefusal == 0;
    if (!plan.exists) {
        if (folderRefusal)
            ThrowCreateError(fileName, ErrorText(folderRefusal));
        return plan;
    }
    if (!S_ISREG(plan.old.st_mode))
        ThrowCreateError(fileName, NotRegularReason(plan.old.st_mode));
    // The old file is read as well: its permissions go to the replacement, and in place its
    // old bytes are kept to be given back.
    if (const int refusal = AccessRefusal(plan.target, R_OK | W_OK))
        ThrowCreateError(fileName, ErrorText(refusal));
    // A rename would part the file from its other names, which would keep the old bytes. A
    // replacement made by anybody but root belongs to them, so a file of another user keeps
    // its owner only in place (a sticky folder refuses that rename anyway).
    const uid_t user = ::geteuid();
    plan.inPlace =
        plan.old.st_nlink > 1 || !plan.folderTakesFiles || (user != 0 && user != plan.old.st_uid);
    return plan;
}

int FileSizeRefusal(std::uint64_t length)
{
    rlimit limit{};
    return ::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
                   length > limit.rlim_cur
               ? EFBIG
               : 0;
}
