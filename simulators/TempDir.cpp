#include "simulators/TempDir.h"

#include <cstdlib>
#include <algorithm>
#include <filesystem>
#include <stdexcept>

TempDir::TempDir(const std::string& under)
{
    std::string pattern = under + "/tavrin-test-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
}

TempDir::~TempDir()
{
    namespace fs = std::filesystem;
    std::error_code error;
    // A test may have taken the write permission away from a folder inside.
    for (auto it = fs::recursive_directory_iterator(path_, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (it->is_directory(error))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
    }
    fs::remove_all(path_, error);
}

std::string TempDir::file(const std::string& name) const
{
    return path_ + "/" + name;
}

std::vector<std::string> TempDir::entries() const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}
