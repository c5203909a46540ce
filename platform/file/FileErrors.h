#pragma once

#include <QString>
#include <cstdint>
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
// EFCreateError "Stream write error": the file could not be written to its end.
[[noreturn]] void ThrowWriteError();

// A copy of a file's old bytes that a failed in-place write kept, since the file may be damaged.
struct TKeptCopy {
    std::string name;
    // The old bytes it holds, from the file's start; all of them where whole.
    std::uint64_t length = 0;
    bool whole = true;
};
// What a box says of the copy: "its old content is kept whole in %s", or "the first %s bytes
// of its old content are kept in %s".
QString KeptCopyText(const TKeptCopy& copy);
// The same, where the old bytes could not be given back either: says that the file may be
// damaged and where the copy of its old bytes is.
[[noreturn]] void ThrowDamagedError(const std::string& fileName, const TKeptCopy& copy);
