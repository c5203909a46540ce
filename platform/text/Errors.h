#pragma once

#include <QString>
#include <exception>
#include <stdexcept>
#include <string>

// The system's failures are exceptions carrying their message as Windows-1252 text.
// Whatever is not caught reaches the application's default handler, which shows
// the message in an error box (platform/ui HandleException).
class EError : public std::runtime_error {
public:
    explicit EError(const std::string& message) : std::runtime_error(message) {}
    explicit EError(const char* message) : std::runtime_error(message) {}
    // A message that names a file (see FileMessage): the box shows it as given, and what()
    // holds it as system text.
    explicit EError(const QString& shown);

    // The message as the box shows it.
    QString Shown() const;

private:
    QString shown_;
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

// What the box shows for any failure: an EError's own text, else what() as system text.
QString ShownText(const std::exception& e);
