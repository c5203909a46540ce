#pragma once

#include <string>
#include <vector>

// A fresh folder (under /tmp unless told otherwise) for one test, removed with everything
// in it at the end.
class TempDir final {
public:
    explicit TempDir(const std::string& under = "/tmp");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // path() + "/" + name; creates nothing.
    std::string file(const std::string& name) const;
    // The names directly inside, sorted: shows that no temporary file was left behind.
    std::vector<std::string> entries() const;

private:
    std::string path_;
};
