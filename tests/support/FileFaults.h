#pragma once

#include <cstdint>
#include <functional>

// Puts failing stand-ins in the place of the writers' system calls (platform/file/FileCalls)
// for the scope's length: the failures a test machine never has, at the byte a test names.
class FileFaults final {
public:
    FileFaults();
    ~FileFaults();
    FileFaults(const FileFaults&) = delete;
    FileFaults& operator=(const FileFaults&) = delete;

    // Counting every byte written from now on, a write that would pass byte `at` stops
    // there (a short write); the next `times` writes then fail with `error` (0: none fails).
    void FailWritesAt(std::uint64_t at, int error, int times = 1);
    // The next `times` reservations of a file's length fail with `error`.
    void FailReservations(int error, int times = 1);
    // Called with the file's descriptor just before the first byte is written.
    std::function<void(int fd)> beforeFirstWrite;
    int Reservations() const;
};
