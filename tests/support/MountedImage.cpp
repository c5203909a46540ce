#include "tests/support/MountedImage.h"

#include "tests/support/ChildTest.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sched.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

// The command's own words go to the test's output: they tell why it failed.
bool Run(const std::string& command)
{
    return std::system((command + " >&2").c_str()) == 0;
}

}  // namespace

MountedImage::MountedImage(const std::string& type, int megabytes)
{
    const std::string image = images_.file(type + ".img");
    std::filesystem::create_directory(path());
    // No mount made here reaches the test program's namespace, nor the system's.
    if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr))
        failure_ = "no mount namespace of its own: " + std::string(std::strerror(errno));
    else if (!Run("truncate -s " + std::to_string(megabytes) + "M " + image) ||
             !Run("mkfs." + type + " -q " + image))
        failure_ = "mkfs." + type + " did not make a file system (is it installed?)";
    else if (!Run("mount -o loop " + image + " " + path()))
        failure_ = "the " + type + " image could not be mounted";
}

MountedImage::~MountedImage()
{
    if (failure_.empty())
        ::umount2(path().c_str(), MNT_DETACH);
}

unsigned long long MountedImage::FreeBytes() const
{
    struct statvfs info {};
    ::statvfs(path().c_str(), &info);
    return static_cast<unsigned long long>(info.f_bavail) * info.f_frsize;
}

bool RanWithOwnMounts()
{
    if (InChildTest())
        return false;
    if (::geteuid() == 0)
        RunInChildTest("", "");
    else
        [] { GTEST_SKIP() << "mounting a file-system image needs root"; }();
    return true;
}
