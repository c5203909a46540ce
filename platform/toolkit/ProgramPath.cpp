#include "platform/toolkit/ProgramPath.h"

#include "platform/text/FileName.h"

#include <utility>

namespace {

std::string& Override()
{
    static std::string fileName;
    return fileName;
}

}  // namespace

std::string ProgramFileName()
{
    if (!Override().empty()) {
        return Override();
    }
    return RunningProgramFileName();
}

void SetProgramFileNameForTesting(std::string fileName)
{
    Override() = std::move(fileName);
}
