#pragma once

#include "platform/text/Errors.h"

#include <string>

// Every failure of the connection layer derives from this, so an exchange can catch the
// connection's errors and nothing else.
class ENetError : public EError {
public:
    using EError::EError;
};

// A failure the system reports with its error number: "Socket Error # %d\r\n%s".
class ESocketError final : public ENetError {
public:
    ESocketError(int code, const std::string& systemText);
    // The error of errno's value err with the system's text for it.
    static ESocketError FromErrno(int err);

    int Code() const { return code_; }

private:
    int code_;
};

// The connection's own failures that carry no error number: the peer closed, a line
// grew past its limit, a wait ran out, nothing is connected.
class EConnectionError final : public ENetError {
public:
    using ENetError::ENetError;
};
