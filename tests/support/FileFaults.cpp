#include "tests/support/FileFaults.h"

#include "platform/file/FileCalls.h"

#include <cerrno>
#include <climits>
#include <utility>

namespace {

struct TFaults {
    FileFaults* owner = nullptr;
    std::uint64_t written = 0;
    std::uint64_t failAt = UINT64_MAX;
    int writeError = 0;
    int writeFailures = 0;
    int reservationError = 0;
    int reservationFailures = 0;
    int reservations = 0;
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

}  // namespace

FileFaults::FileFaults()
{
    Faults() = TFaults{this};
    FileCalls().pwrite = FaultyWrite;
    FileCalls().fallocate = FaultyReservation;
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

int FileFaults::Reservations() const
{
    return Faults().reservations;
}
