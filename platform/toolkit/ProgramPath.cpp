#include "platform/toolkit/ProgramPath.h"

#include "platform/text/Cp1252.h"

#include <QCoreApplication>

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
    return ToCp1252(QCoreApplication::applicationFilePath());
}

void SetProgramFileNameForTesting(std::string fileName)
{
    Override() = std::move(fileName);
}
