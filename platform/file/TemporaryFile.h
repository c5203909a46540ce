#pragma once

#include "platform/file/FileDescriptor.h"

#include <string>
#include <sys/types.h>

// A new file open for writing, of the given mode (less the umask), under a name nobody else
// picks: prefix, then ".~<process id>.<count>", then suffix. -1 (with errno) where the
// folder takes none.
int CreateUniqueFile(const std::string& prefix, const std::string& suffix, mode_t mode,
                     std::string& name);

// The new content's file beside the target (a short name of its own: a name as long as
// the target's would not fit the system's bound on names), removed again on every path out
// unless it was renamed into place. Where it replaces a file it is made readable by its
// owner only, so nobody else may open it before it has the old file's permissions; a new
// file is made as any other program makes one (umask, the folder's default ACL).
class TemporaryFile final {
public:
    TemporaryFile(const std::string& target, bool replaces);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // 0 or the system's reason why the file could not be created.
    int Error() const { return error_; }
    FileDescriptor& Descriptor() { return fd_; }
    // 0 or the system's reason.
    int RenameTo(const std::string& target);

private:
    std::string name_;  // set while fd_ is made
    FileDescriptor fd_;
    int error_ = 0;
    bool renamed_ = false;
};
