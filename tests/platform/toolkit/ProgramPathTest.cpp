#include "platform/toolkit/ProgramPath.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

TEST(ProgramPath, RealNameUnlessATestPointsElsewhere)
{
    const std::string real = ProgramFileName();
    EXPECT_EQ(real, QCoreApplication::applicationFilePath().toStdString());
    SetProgramFileNameForTesting("/tmp/t/Pellicor");
    EXPECT_EQ(ProgramFileName(), "/tmp/t/Pellicor");
    SetProgramFileNameForTesting("");
    EXPECT_EQ(ProgramFileName(), real);
}
