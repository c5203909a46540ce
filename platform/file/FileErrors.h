#pragma once

#include <string>
#include <sys/types.h>

// The reasons and errors that the reader and the writer give, in the system's texts.

inline const char* const kNotRegular = "Not a regular file";

std::string ErrorText(int error);
// Why a file of this mode is neither read nor replaced.
std::string NotRegularReason(mode_t mode);
// EFOpenError "Cannot open file "%s". %s".
[[noreturn]] void ThrowOpenError(const std::string& fileName, const std::string& reason);
// EFCreateError "Cannot create file "%s". %s".
[[noreturn]] void ThrowCreateError(const std::string& fileName, const std::string& reason);
