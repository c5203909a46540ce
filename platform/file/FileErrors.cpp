#include "platform/file/FileErrors.h"

#include "platform/text/Errors.h"
#include "platform/text/FileName.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

std::string ErrorText(int error)
{
    return std::strerror(error);
}

std::string NotRegularReason(mode_t mode)
{
    return S_ISDIR(mode) ? ErrorText(EISDIR) : kNotRegular;
}

[[noreturn]] void ThrowOpenError(const std::string& fileName, const std::string& reason)
{
    throw EFOpenError(FileMessage("Cannot open file \"%s\". %s", {fileName, reason}));
}

[[noreturn]] void ThrowCreateError(const std::string& fileName, const std::string& reason)
{
    throw EFCreateError(FileMessage("Cannot create file \"%s\". %s", {fileName, reason}));
}

[[noreturn]] void ThrowWriteError()
{
    throw EFCreateError("Stream write error");
}

QString KeptCopyText(const TKeptCopy& copy)
{
    if (copy.whole)
        return FileMessage("its old content is kept whole in %s", {copy.name});
    return FileMessage("the first %s bytes of its old content are kept in %s",
                       {std::to_string(copy.length), copy.name});
}

[[noreturn]] void ThrowDamagedError(const std::string& fileName, const TKeptCopy& copy)
{
    throw EFCreateError(FileMessage("Stream write error\r%s may be damaged; ", {fileName}) +
                        KeptCopyText(copy));
}
