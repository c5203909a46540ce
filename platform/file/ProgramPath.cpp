#include "platform/file/ProgramPath.h"

#include "platform/file/FileErrors.h"
#include "platform/text/Errors.h"
#include "platform/text/FileName.h"

#include <cerrno>
#include <climits>
#include <unistd.h>
#include <utility>

namespace {

std::string& Override()
{
    static std::string fileName;
    return fileName;
}

std::string& Link()
{
    static std::string link;
    return link;
}

// The name as the system first told it. Once the program file is replaced while the program
// runs (an update), the system names it "... (deleted)": the files beside the program stay
// where they were found at start.
std::string& Known()
{
    static std::string fileName;
    return fileName;
}

// The name the link holds, read as bytes (no text type on the way: a folder name that is
// no UTF-8 comes back whole); empty, with the system's reason in error, where the system
// does not tell it.
std::string ReadProgramLink(int& error)
{
    const std::string link = Link().empty() ? "/proc/self/exe" : Link();
    std::string name(PATH_MAX, '\0');
    const ssize_t n = ::readlink(link.c_str(), name.data(), name.size());
    error = n < 0 ? errno : static_cast<std::size_t>(n) == name.size() ? ENAMETOOLONG : 0;
    name.resize(error ? 0 : static_cast<std::size_t>(n));
    return name;
}

}  // namespace

std::string RunningProgramFileName()
{
    int error = 0;
    return ReadProgramLink(error);
}

std::string ProgramFileName()
{
    if (!Override().empty())
        return Override();
    if (Known().empty()) {
        int error = 0;
        Known() = ReadProgramLink(error);
        if (error)
            throw EError(FileMessage("Cannot find the program's own file. %s", {ErrorText(error)}));
    }
    return Known();
}

void SetProgramFileNameForTesting(std::string fileName)
{
    Override() = std::move(fileName);
}

void SetProgramLinkForTesting(std::string link)
{
    Link() = std::move(link);
    Known().clear();
}
