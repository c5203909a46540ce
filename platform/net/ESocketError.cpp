#include "platform/net/ESocketError.h"

#include "platform/text/Format.h"

#include <cstring>

ESocketError::ESocketError(int code, const std::string& systemText)
    : ENetError(Format("Socket Error # %d\r\n%s", code, systemText)), code_(code)
{
}

ESocketError ESocketError::FromErrno(int err)
{
    return ESocketError(err, std::strerror(err));
}
