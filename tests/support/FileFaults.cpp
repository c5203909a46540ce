#include "tests/support/FileFaults.h"

#include "platform/file/FileCalls.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace {

struct TFakeFileSystem {
    dev_t device = 0;
    std::uint64_t freeBlocks = 0;
    std::uint64_t blockSize = 0;
    long type = 0;
};

struct TFaults {
    FileFaults* owner = nullptr;
    std::uint64_t written = 0;
    std::uint64_t failAt = UINT64_MAX;
    int writeError = 0;
    int writeFailures = 0;
    int reservationError = 0;
    int reservationFailures = 0;
    int reservations = 0;
    std::vector<TFakeFileSystem> fileSystems;
};

TFaults& Faults()
{
    static TFaults faults;
    return faults;
}

ssize_t FaultyWrite(int fd, const void* data, size_t size, off_t offset)
{
    TFaults& f = Faults();
    if (f.written == 0 && f.owner->beforeFirstWrite)
        std::exchange(f.owner->beforeFirstWrite, nullptr)(fd);
    if (f.written >= f.failAt && f.writeFailures > 0) {
        --f.writeFailures;
        errno = f.writeError;
        return -1;
    }
    if (f.written < f.failAt && f.written + size > f.failAt)
        size = static_cast<size_t>(f.failAt - f.written);
    const ssize_t n = ::pwrite(fd, data, size, offset);
    if (n > 0)
        f.written += static_cast<std::uint64_t>(n);
    return n;
}

int FaultyReservation(int fd, off_t offset, off_t length)
{
    TFaults& f = Faults();
    ++f.reservations;
    if (f.reservationFailures > 0) {
        --f.reservationFailures;
        // As a reservation that stopped part-way: the file may have grown meanwhile.
        if (f.reservationError != EINTR)
            ::posix_fallocate(fd, offset, length / 2);
        return f.reservationError;
    }
    return ::posix_fallocate(fd, offset, length);
}

// The room and kind that the file system of fd tells, as a test has made it up (statvfs and
// statfs name these fields alike, and only statfs has a kind).
template <typename Info> int FakeRoom(int fd, Info* info, int result)
{
    struct stat file {};
    for (const TFakeFileSystem& fake : Faults().fileSystems)
        if (result == 0 && ::fstat(fd, &file) == 0 && fake.device == file.st_dev) {
            info->f_bavail = fake.freeBlocks;
            info->f_frsize = info->f_bsize = static_cast<decltype(info->f_bsize)>(fake.blockSize);
            if constexpr (requires { info->f_type; })
                info->f_type = fake.type;
        }
    return result;
}

}  // namespace

FileFaults::FileFaults()
{
    Faults() = TFaults{};
    Faults().owner = this;
    FileCalls().pwrite = FaultyWrite;
    FileCalls().fallocate = FaultyReservation;
    FileCalls().fstatvfs = [](int fd, struct statvfs* info) {
        return FakeRoom(fd, info, ::fstatvfs(fd, info));
    };
    FileCalls().fstatfs = [](int fd, struct statfs* info) {
        return FakeRoom(fd, info, ::fstatfs(fd, info));
    };
}

FileFaults::~FileFaults()
{
    FileCalls() = TFileCalls{};
    Faults() = TFaults{};
}

void FileFaults::FailWritesAt(std::uint64_t at, int error, int times)
{
    Faults().failAt = at;
    Faults().writeError = error;
    Faults().writeFailures = error ? times : 0;
}

void FileFaults::FailReservations(int error, int times)
{
    Faults().reservationError = error;
    Faults().reservationFailures = times;
}

void FileFaults::FakeFileSystem(dev_t device, std::uint64_t freeBlocks, std::uint64_t blockSize,
                                long type)
{
    Faults().fileSystems.push_back({device, freeBlocks, blockSize, type});
}

int FileFaults::Reservations() const
{
    return Faults().reservations;
}

ScopedVariable::ScopedVariable(const char* name, const std::string& value) : name_(name)
{
    if (const char* old = std::getenv(name))
        old_ = old;
    ::setenv(name, value.c_str(), 1);
}

ScopedVariable::~ScopedVariable()
{
    if (old_)
        ::setenv(name_, old_->c_str(), 1);
    else
        ::unsetenv(name_);
}
