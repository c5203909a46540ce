// Selecting or deselecting many plate rows at once through the window.
#include "tests/listmanager/ListManagerFixture.h"

#include "platform/text/Format.h"
#include "platform/toolkit/TListView.h"
#include "widgets/FieldEdit.h"

#include <QSignalSpy>
#include <QTest>

namespace {

class PlateSelectionTest : public ListManagerTest {
protected:
    // A shown window with these (plate, id-number) rows, row 0 selected by Home and
    // Modified cleared.
    pellicor::TFormMain& StartWithRows(const std::vector<std::pair<std::string, std::string>>& rows)
    {
        auto& f = Start();
        f.show();
        f.PlateList1->BeginUpdate();
        for (const auto& [plate, id] : rows)
            f.PlateList1->AddRow(std::to_string(f.PlateList1->Count() + 1), {plate, id});
        f.PlateList1->EndUpdate();
        f.UpdateUI();
        QTest::keyClick(f.PlateList1, Qt::Key_Home);
        f.Modified = false;
        return f;
    }
    void ShiftEnd() { QTest::keyClick(form->PlateList1, Qt::Key_End, Qt::ShiftModifier); }
};

TEST_F(PlateSelectionTest, ShiftEndOverTheWholeListFillsTheFieldsWithTheLastRowAtOnce)
{
    std::vector<std::pair<std::string, std::string>> rows;
    for (int i = 0; i < 3000; ++i)
        rows.emplace_back(Format("P%d", i), std::to_string(i + 1));
    auto& f = StartWithRows(rows);
    ASSERT_EQ(f.EditPlate->Text(), "P0");
    QSignalSpy plates(f.EditPlate, &QLineEdit::textChanged);
    QSignalSpy numbers(f.EditNumber, &QLineEdit::textChanged);
    ShiftEnd();
    EXPECT_EQ(f.PlateList1->SelCount(), 3000);
    EXPECT_EQ(f.PlateSelCount, 3000) << "the refresh ran";
    EXPECT_EQ(f.EditPlate->Text(), "P2999");
    EXPECT_EQ(f.EditNumber->Text(), "3000");
    EXPECT_TRUE(f.Modified);
    // Not the text of each row in turn, which nobody could see.
    EXPECT_LE(plates.count(), 2);
    EXPECT_LE(numbers.count(), 2);
}

TEST_F(PlateSelectionTest, ManyRowsSetModifiedExactlyWhenOneRowAtATimeWould)
{
    // The rows between differ, the last is the fields' text again: the fields changed.
    auto& f = StartWithRows({{"X", "1"}, {"Y", "1"}, {"X", "2"}, {"X", "1"}});
    ShiftEnd();
    EXPECT_EQ(f.EditPlate->Text(), "X");
    EXPECT_EQ(f.EditNumber->Text(), "1");
    EXPECT_TRUE(f.Modified);

    // Every row holds the fields' texts: nothing changed.
    StartWithRows({{"X", "1"}, {"X", "1"}, {"X", "1"}});
    ShiftEnd();
    EXPECT_EQ(form->PlateList1->SelCount(), 3);
    EXPECT_FALSE(form->Modified);
}

}  // namespace
