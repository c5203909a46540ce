#include "platform/file/ProgramPath.h"

#include "platform/text/FileName.h"

#include <QCoreApplication>

#include <utility>

namespace {

std::string& Override()
{
    static std::string fileName;
    return fileName;
}

}  // namespace

std::string RunningProgramFileName()
{
    return FileNameFromQString(QCoreApplication::applicationFilePath());
}

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
