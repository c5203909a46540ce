#pragma once

#include "platform/text/Errors.h"

#include <string>

// The per-user registry (HKEY_CURRENT_USER) as the class library's registry object uses
// it: key paths separated by "\", compared without case (a-z); string values only. The
// whole store is one file in the user's configuration folder; every change is written at
// once through a temporary file renamed over the old one. A store file that cannot be read,
// or is larger than 1 MiB, reads as empty and is never replaced: changes then fail.
class TRegistry final {
public:
    // Starts at HKEY_CURRENT_USER itself.
    TRegistry() = default;

    // Opens key below the current key (below HKEY_CURRENT_USER when it begins with "\";
    // an empty key stays where it is). A missing key is created when canCreate is set,
    // else the answer is false. A key that cannot be stored raises
    // ERegistryException "Failed to create key %s".
    bool OpenKey(const std::string& key, bool canCreate);
    const std::string& CurrentPath() const { return current_; }

    bool ValueExists(const std::string& name) const;
    // A missing value reads as empty text; a value that is not a string (REG_SZ or
    // REG_EXPAND_SZ) raises "Invalid data type for '%s'".
    std::string ReadString(const std::string& name) const;
    // Stores a REG_SZ value; raises "Failed to set data for '%s'" when it cannot.
    void WriteString(const std::string& name, const std::string& value);

private:
    std::string current_;  // path below HKEY_CURRENT_USER, "" for the root
};

class ERegistryException final : public EError {
public:
    using EError::EError;
};

// The store's file: $XDG_CONFIG_HOME (else ~/.config) + "/tavrin/registry".
std::string RegistryFileName();
// Test hook: another file for the store; empty text gives the real one again.
void SetRegistryFileNameForTesting(std::string fileName);
