#include "tests/support/UnreadableFile.h"

#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;

std::vector<TUnreadableFile> UnreadableFiles(std::uint64_t maxBytes)
{
    const auto replaced = [](auto make) {
        return [make](const std::string& name) {
            fs::remove(name);
            make(name);
        };
    };
    return {
        {"Permission denied", [](const std::string& name) { ::chmod(name.c_str(), 0); }},
        {"Is a directory", replaced([](const std::string& name) { fs::create_directory(name); })},
        {"Not a regular file",
         replaced([](const std::string& name) { ::mkfifo(name.c_str(), 0666); })},
        {"File too large",
         [maxBytes](const std::string& name) { fs::resize_file(name, maxBytes + 1); }},
    };
}

std::tuple<ino_t, mode_t, off_t> FileIdentity(const std::string& name)
{
    struct stat info {};
    ::lstat(name.c_str(), &info);
    return {info.st_ino, info.st_mode, info.st_size};
}
