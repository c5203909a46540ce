#pragma once

#include "calculator/UMain.h"
#include "tests/support/ScriptedUi.h"
#include "simulators/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class TListView;

// The real calculator window over a temporary folder that stands in for the program's
// own, with every box answered by a script.
class CalculatorWindow : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds the window (loading the settings file as it stands) and shows it.
    void Open();
    // Destroys the window, which writes the settings file.
    void Close();
    std::string SettingsFile() const { return dir_.file("Quantivo.ini"); }
    std::string File(const std::string& name) const { return dir_.file(name); }

    // File > Save as ... to fileName, which must then be reported saved.
    void SaveAs(const std::string& fileName);
    // Each line through the multi-plate field's "Calc".
    void CalcPlates(const std::string& lines);

    TempDir dir_;
    ScriptedUi ui_;
    std::unique_ptr<quantivo::TFormMain> form_;
};

// Every column's text of a row, column 0 first.
std::vector<std::string> RowTexts(const TListView& list, int row);
// Column 0 of every row, in the list's order.
std::vector<std::string> Plates(const TListView& list);
