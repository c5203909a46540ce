#pragma once

#include <fcntl.h>
#include <string_view>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <sys/types.h>
#include <unistd.h>

// The system calls through which the writers put bytes into a file, reserve its length and
// learn the room and kind of its file system: the system's own, unless a test puts others in
// their place to make what a test machine never has (an I/O error or a full disk at the N-th
// byte, a short write, a nearly full or copy-on-write file system).
struct TFileCalls {
    ssize_t (*pwrite)(int fd, const void* data, size_t size, off_t offset) = ::pwrite;
    // posix_fallocate's contract: the error comes back, errno is left alone.
    int (*fallocate)(int fd, off_t offset, off_t length) = ::posix_fallocate;
    int (*fstatvfs)(int fd, struct statvfs* info) = ::fstatvfs;
    int (*fstatfs)(int fd, struct statfs* info) = ::fstatfs;
};

TFileCalls& FileCalls();

// Writes all of bytes at offset, going on after short writes and interruptions: 0, or the
// system's reason why it stopped (then some of the bytes may be written).
int WriteAllAt(int fd, std::string_view bytes, off_t offset);
// Makes the open file hold bytes from its start, end where they end and be on disk; false
// where it stopped part-way.
bool WriteWholeFile(int fd, std::string_view bytes);
