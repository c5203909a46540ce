#pragma once

#include "simulators/TempDir.h"

#include <string>

// A small file system of one type (ext2, btrfs ...) made in an image file and mounted in a
// mount namespace of this process's own, so that no other process sees it. Meant for a
// child test (RanWithOwnMounts): the namespace stays the child's. Where the process may
// not make or mount one, nothing is mounted and Failure() says why. options go to mkfs.
class MountedImage final {
public:
    MountedImage(const std::string& type, int megabytes, const std::string& options = "");
    ~MountedImage();
    MountedImage(const MountedImage&) = delete;
    MountedImage& operator=(const MountedImage&) = delete;

    // Empty once mounted.
    const std::string& Failure() const { return failure_; }
    // The mounted file system's top folder.
    std::string path() const { return images_.file("mounted"); }
    // The free bytes an ordinary user may fill.
    unsigned long long FreeBytes() const;
    // Fills the file system up with a file "filler", then gives back room until an ordinary
    // user may fill at least `free` bytes more (the least the file system's blocks allow).
    void FillUpTo(unsigned long long free) const;

private:
    TempDir images_;
    std::string failure_;
};

// As root, runs the current test once more in a child process (ChildTest) where it may
// mount, and returns true: the caller returns, and the child's result is the test's.
// Elsewhere the test is skipped with the reason and true comes back too; in the child, false.
bool RanWithOwnMounts();
