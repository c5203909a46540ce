#pragma once

#include <cstdint>
#include <string>
#include <sys/stat.h>

// How WriteFileReplacing will write a file, found out before a byte is written: the file
// type, whether the person may write the file or its folder, the folder still there. Raises
// the EFCreateError "Cannot create file "%s". %s" that the write itself would raise.
struct TFileWritePlan {
    // The file itself: symbolic links followed, so a link stays a link.
    std::string target;
    bool exists = false;
    // The old file, where it exists.
    struct stat old {};
    // Written over its own bytes instead of replaced through a temporary file.
    bool inPlace = false;
    // The folder takes new files (the temporary file, a copy of the old bytes).
    bool folderTakesFiles = false;
};

TFileWritePlan PlanFileWrite(const std::string& fileName);

// 0 when the process may write the file or folder (and read it, where `access` asks that
// too) as an in-place write would find it, else the system's reason. Root may write
// anything; a file or folder that its person has made read-only for everybody is still
// honoured as read-only.
int AccessRefusal(const std::string& name, int access);

// 0 when the file-size limit lets a file reach length bytes, else EFBIG: known before the
// first byte, so no write ever stops at the limit (or ends the program with SIGXFSZ).
int FileSizeRefusal(std::uint64_t length);
