#pragma once

#include <cstdint>
#include <string>

enum class TPersistenceLocation : uint8_t { plInifile, plRegistry };

// Where an edit keeps its text between runs when Enable is on: an initialisation file
// (Key is its path; empty: the settings file beside the program, kept here once chosen)
// or the per-user registry (Key below HKEY_CURRENT_USER, Section a subkey of it). The
// value is named after the edit's object name. No window of the programs enables it.
class TPersistence final {
public:
    bool Enable = false;
    std::string Key;
    std::string Section;
    TPersistenceLocation Location = TPersistenceLocation::plInifile;
};
