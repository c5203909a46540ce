#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <sys/types.h>
#include <tuple>
#include <vector>

// One way a file that is there cannot be read, with the reason the reader gives for it.
struct TUnreadableFile {
    std::string reason;
    // Turns the file of this name, which exists, into such a one.
    std::function<void(const std::string& name)> make;
};

// No read permission (which stops an ordinary user only), a folder, a FIFO, and a file
// past the reader's bound of maxBytes.
std::vector<TUnreadableFile> UnreadableFiles(std::uint64_t maxBytes);

// Inode, type and mode, and size: what shows that a file was neither replaced nor changed.
std::tuple<ino_t, mode_t, off_t> FileIdentity(const std::string& name);
