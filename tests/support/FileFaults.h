#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>

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
    // The file system of `device` tells that an ordinary user may fill freeBlocks more blocks
    // of blockSize bytes, and that it is of the kind `type` (statfs's f_type); the others
    // tell what they have.
    void FakeFileSystem(dev_t device, std::uint64_t freeBlocks, std::uint64_t blockSize, long type);
    // Called with the file's descriptor just before the first byte is written.
    std::function<void(int fd)> beforeFirstWrite;
    int Reservations() const;
};

// An environment variable set for the scope's length. HOME and TMPDIR name where an in-place
// write keeps its copy of the old bytes when that copy does not fit beside the file: a test
// chooses so where the copy lands, and leaves none in the home folder of whoever runs it.
class ScopedVariable final {
public:
    ScopedVariable(const char* name, const std::string& value);
    ~ScopedVariable();
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};
