#pragma once

#include <string>
#include <utility>
#include <vector>

// Bytes of a small ELF file holding the named sections (after the null section; the
// section names come last), for tests of readers that look into program files.
struct ElfImageOptions {
    bool is64 = true;
    bool bigEndian = false;
};
std::string MakeElfImage(const std::vector<std::pair<std::string, std::string>>& sections,
                         ElfImageOptions options = {});

// A file in a folder that lives as long as the test program: each call a new name.
std::string WriteTestFile(const std::string& bytes);
