#pragma once

#include "platform/file/FileDescriptor.h"

#include <string>

// A new file open for writing, readable and writable by its owner only, under a name
// nobody else picks: prefix, then ".~<process id>.<count>", then suffix. -1 (with errno)
// where the folder takes none.
int CreateUniqueFile(const std::string& prefix, const std::string& suffix, std::string& name);

// The new content's file beside the target (a short name of its own: a name as long as
// the target's would not fit the system's bound on names), removed again on every path out
// unless it was renamed into place.
class TemporaryFile final {
public:
    explicit TemporaryFile(const std::string& target);
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
