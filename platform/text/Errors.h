#pragma once

#include <stdexcept>
#include <string>

// The system's failures are exceptions carrying their message as Windows-1252 text.
// Whatever is not caught reaches the application's default handler, which shows
// what() in an error box (platform/ui HandleException).
class EError : public std::runtime_error {
public:
    explicit EError(const std::string& message) : std::runtime_error(message) {}
};

// "Cannot open file "%s". %s"
class EFOpenError final : public EError {
public:
    using EError::EError;
};

// "Cannot create file "%s". %s" and "Stream write error"
class EFCreateError final : public EError {
public:
    using EError::EError;
};
