#include "tests/support/MountedImage.h"

#include "platform/file/FileDescriptor.h"
#include "tests/support/ChildTest.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <filesystem>
#include <fcntl.h>
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

MountedImage::MountedImage(const std::string& type, int megabytes, const std::string& options)
{
    const std::string image = images_.file(type + ".img");
    std::filesystem::create_directory(path());
    // No mount made here reaches the test program's namespace, nor the system's.
    if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr))
        failure_ = "no mount namespace of its own: " + std::string(std::strerror(errno));
    else if (!Run("truncate -s " + std::to_string(megabytes) + "M " + image) ||
             !Run("mkfs." + type + " -q " + options + " " + image))
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

void MountedImage::FillUpTo(unsigned long long free) const
{
    const std::string filler = path() + "/filler";
    {
        // In ever smaller pieces, so that the last few blocks are taken too.
        const FileDescriptor out(::open(filler.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
        const std::string block(65536, 'f');
        for (std::size_t piece = block.size(); piece >= 512; piece /= 2)
            while (::write(out.get(), block.data(), piece) == static_cast<ssize_t>(piece)) {
            }
    }
    ::sync();
    // A copy-on-write file system frees room by whole extents, and only once it commits.
    for (auto size = std::filesystem::file_size(filler); size > 0 && FreeBytes() < free;) {
        size -= std::min<unsigned long long>(size, free - FreeBytes());
        std::filesystem::resize_file(filler, size);
        ::sync();
    }
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
