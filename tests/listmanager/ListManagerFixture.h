#pragma once

#include "listmanager/UMain.h"
#include "tests/support/ScriptedUi.h"
#include "simulators/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

inline const char* const kCloseQuestion =
    "Changes have been made!\r\rDo you want to save the changes?\r";

// A Tavrin List whose program file lives in a fresh folder, with every box answered
// from a script.
class ListManagerTest : public ::testing::Test {
protected:
    ListManagerTest();
    ~ListManagerTest() override;

    // Creates the main window (running its start-up) with the files now in the folder.
    pellicor::TFormMain& Start();
    // The window's end: close query already done, FormDestroy writes the files.
    void Destroy();

    std::string ListFile() const { return dir.file("Pellicor.lst"); }
    void WriteFile(const std::string& name, const std::string& bytes) const;
    std::string ReadFile(const std::string& name) const;
    // (plate, id-number) of every row in the current order.
    std::vector<std::pair<std::string, std::string>> PlateRows() const;

    TempDir dir;
    ScriptedUi ui;
    std::unique_ptr<pellicor::TFormMain> form;
};
