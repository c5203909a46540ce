#include "tests/calculator/CalculatorWindow.h"

#include "platform/file/ProgramPath.h"
#include "platform/toolkit/TListView.h"
#include "platform/text/Cp1252.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

void CalculatorWindow::SetUp()
{
    SetProgramFileNameForTesting(dir_.file("Quantivo"));
}

void CalculatorWindow::TearDown()
{
    Close();
    SetProgramFileNameForTesting("");
}

void CalculatorWindow::Open()
{
    form_ = std::make_unique<quantivo::TFormMain>();
    form_->show();
    form_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
}

void CalculatorWindow::Close()
{
    form_.reset();
}

void CalculatorWindow::SaveAs(const std::string& fileName)
{
    ui_.ExpectSaveFile(fileName);
    ui_.ExpectMessage(ui::MsgKind::Information, "OK: file " + fileName + " saved", ui::Buttons::OK);
    form_->mnuFileSave->trigger();
}

void CalculatorWindow::CalcPlates(const std::string& lines)
{
    form_->EditPlates->setPlainText(ToQString(lines));
    form_->btnCalc2Click(form_->btnCalc2);
}

std::vector<std::string> RowTexts(const TListView& list, int row)
{
    std::vector<std::string> texts;
    for (int column = 0; column < list.ColumnCount(); ++column)
        texts.push_back(GetColumnText(list, row, column));
    return texts;
}

std::vector<std::string> Plates(const TListView& list)
{
    std::vector<std::string> plates;
    for (int row = 0; row < list.Count(); ++row)
        plates.push_back(list.Caption(row));
    return plates;
}
