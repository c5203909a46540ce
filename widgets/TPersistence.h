#pragma once

#include <cstdint>
#include <string>

enum class TPersistenceLocation : uint8_t { plInifile, plRegistry };

// Where an edit keeps its text between runs when Enable is on: an initialisation file
// (Key is its path) or the per-user registry (Key below HKEY_CURRENT_USER). No window
// of the programs enables it; the storage arrives with the persistence feature.
class TPersistence final {
public:
    bool Enable = false;
    std::string Key;
    std::string Section;
    TPersistenceLocation Location = TPersistenceLocation::plInifile;
};
