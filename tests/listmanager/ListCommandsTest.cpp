// The plate and device lists in the window: sorting, selection into the input fields,
// keys, dragging a device onto the plates, and the Plates commands.
#include "tests/listmanager/ListManagerFixture.h"

#include "matchlist/MatchList.h"
#include "platform/text/Format.h"
#include "platform/toolkit/TListView.h"
#include "widgets/FieldEdit.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QTest>

using ui::Buttons;
using ui::MsgKind;
using ui::Result;
using RowList = std::vector<std::pair<std::string, std::string>>;

namespace {

std::vector<std::string> Column(const TListView& list, int column)
{
    std::vector<std::string> texts;
    for (int row = 0; row < list.Count(); ++row)
        texts.push_back(GetColumnText(list, row, column));
    return texts;
}

}  // namespace

TEST_F(ListManagerTest, HeaderClicksSortDescendingFirstThenAscending)
{
    auto& f = Start();
    for (const auto& [plate, id] :
         RowList{{"bb", "9"}, {"AA", "10"}, {"cc", "3000000000"}, {"BB", "1"}})
        f.PlateList1->AddRow(std::to_string(f.PlateList1->Count() + 1), {plate, id});

    f.DoColumnClick(*f.PlateList1, 1);
    EXPECT_EQ(Column(*f.PlateList1, 1), (std::vector<std::string>{"cc", "bb", "BB", "AA"}))
        << "descending, letter case ignored, equal texts keep their order";
    f.DoColumnClick(*f.PlateList1, 1);
    EXPECT_EQ(Column(*f.PlateList1, 1), (std::vector<std::string>{"AA", "bb", "BB", "cc"}));
    f.DoColumnClick(*f.PlateList1, 2);
    EXPECT_EQ(Column(*f.PlateList1, 2), (std::vector<std::string>{"10", "9", "1", "3000000000"}))
        << "by value, largest first; beyond 32 bits counts as 0";
    f.DoColumnClick(*f.PlateList1, 0);
    EXPECT_EQ(Column(*f.PlateList1, 0), (std::vector<std::string>{"4", "3", "2", "1"}));

    ClearMatchList(f);
    EXPECT_EQ(f.PlateSortColumn, -1);
    f.PlateList1->AddRow("1", {"A", "1"});
    f.PlateList1->AddRow("2", {"B", "2"});
    f.DoColumnClick(*f.PlateList1, 0);
    EXPECT_EQ(Column(*f.PlateList1, 0), (std::vector<std::string>{"2", "1"}))
        << "after Clear the first click sorts descending again";
}

TEST_F(ListManagerTest, SelectingOrDeselectingAPlateCopiesItIntoTheFields)
{
    auto& f = Start();
    f.PlateList1->AddRow("1", {"AB12", "5"});
    f.Modified = false;
    f.PlateList1->SetSelected(0, true);
    EXPECT_EQ(f.EditPlate->Text(), "AB12");
    EXPECT_EQ(f.EditNumber->Text(), "5");
    EXPECT_TRUE(f.Modified);
    f.EditPlate->SetText("");
    f.PlateList1->SetSelected(0, false);
    EXPECT_EQ(f.EditPlate->Text(), "AB12");
}

TEST_F(ListManagerTest, DeleteKeysRemoveSelectedRowsOncePerPress)
{
    auto& f = Start();
    for (int i = 0; i < 3; ++i) {
        f.PlateList1->AddRow(std::to_string(i + 1), {Format("P%d", i), "1"});
        f.HostList1->AddRow(std::to_string(i + 1), {Format("127.0.0.%d", i + 1), "", ""});
    }
    f.OnKeyUp(*f.PlateList1, Qt::Key_Delete, false);
    EXPECT_EQ(f.PlateList1->Count(), 3) << "nothing selected, nothing deleted";
    f.PlateList1->SetSelected(1, true);
    f.OnKeyUp(*f.PlateList1, Qt::Key_Delete, false);
    EXPECT_EQ(Column(*f.PlateList1, 0), (std::vector<std::string>{"1", "3"}));

    f.HostList1->ClearSelection();
    f.HostList1->SetSelected(0, true);
    f.OnKeyUp(*f.HostList1, Qt::Key_Delete, false);
    EXPECT_EQ(f.HostList1->Count(), 2);
    EXPECT_EQ(f.HostSelCount, 2) << "the refresh selects the remaining rows";
    f.OnKeyUp(*f.HostList1, Qt::Key_Delete, true);
    EXPECT_EQ(f.HostList1->Count(), 2) << "a repeated release of a held key deletes nothing";

    QTest::keyClick(f.HostList1, Qt::Key_Delete);
    EXPECT_EQ(f.HostList1->Count(), 0) << "a real key press and release";
}

TEST_F(ListManagerTest, DeviceDropIsTakenOnlyWhenReceiveCouldRun)
{
    auto& f = Start();
    f.HostList1->AddRow("1", {"127.0.0.1", "", ""});
    f.HostList1->AddRow("2", {"127.0.0.2", "", ""});
    f.UpdateUI();
    EXPECT_FALSE(f.PlateList1DragOver(f.HostList1)) << "two devices selected";
    f.HostList1->SetSelected(1, false);
    EXPECT_TRUE(f.PlateList1DragOver(f.HostList1));
    EXPECT_FALSE(f.PlateList1DragOver(f.PlateList1));
    EXPECT_FALSE(f.PlateList1DragOver(nullptr));
    f.EditWiegandLen->SetText("0");
    f.EditWiegandFCLen->SetText("9");
    EXPECT_FALSE(f.PlateList1DragOver(f.HostList1)) << "invalid Wiegand format";
}

TEST_F(ListManagerTest, AddChecksPlateAndIdNumberThenClearsTheFields)
{
    auto& f = Start();
    f.show();
    f.EditNumber->SetText("5");
    f.btnAdd->click();
    EXPECT_EQ(f.PlateList1->Count(), 0);
    EXPECT_EQ(f.focusWidget(), f.EditPlate) << "empty plate";

    f.EditPlate->SetText("ab-12 3");
    f.EditNumber->SetText("70000");  // above the 16 id bits of the default format
    f.btnAdd->click();
    EXPECT_EQ(f.PlateList1->Count(), 0);
    EXPECT_EQ(f.focusWidget(), f.EditNumber);

    f.EditNumber->SetText(" 12 ");
    f.btnAdd->click();
    EXPECT_EQ(PlateRows(), (RowList{{"ab-12 3", " 12 "}}));
    EXPECT_EQ(f.EditPlate->Text(), "");
    EXPECT_EQ(f.EditNumber->Text(), "");

    f.EditPlate->SetText("NOMATCH");
    f.EditNumber->SetText("5");
    f.btnAdd->click();
    EXPECT_TRUE(f.chkNoMatch->isChecked());
    EXPECT_EQ(f.UserMode, 1) << "a special entry by hand switches to Expert";
    EXPECT_EQ(f.PlateList1->Count(), 1);
}

TEST_F(ListManagerTest, EnterInThePlateFieldsRunsAdd)
{
    auto& f = Start();
    f.show();
    f.activateWindow();
    f.EditNumber->setFocus();
    f.EditPlate->SetText("XY1");
    QTest::keyClicks(f.EditNumber, "7");
    QTest::keyClick(f.EditNumber, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(PlateRows(), (RowList{{"XY1", "7"}}));
}

TEST_F(ListManagerTest, DeleteSelectedAndDuplicatesCommands)
{
    auto& f = Start();
    for (const char* plate : {"A1", "B2", "A1"})
        f.PlateList1->AddRow("1", {plate, "1"});
    f.Modified = false;
    f.mnuPlateDeleteSelectionClick();
    EXPECT_FALSE(f.Modified) << "no selection: nothing deleted";
    ui.ExpectMessage(MsgKind::Information, "Deleted 1 plates", Buttons::OK);
    f.mnuPlateDeleteDuplicatesClick();
    EXPECT_EQ(f.PlateCount, 2) << "the count Send uses is the new one";
    ui.VerifyDone();
}

TEST_F(ListManagerTest, DummyListStartsWithTheSameEntriesAfterEveryStart)
{
    auto& f = Start();
    ui.ExpectInput("3");
    f.mnuGenerateDummyListClick();
    EXPECT_EQ(PlateRows(),
              (RowList{{"0AWF26", "20885"}, {"1JLC40", "55106"}, {"0HXJ73", "45722"}}));
    EXPECT_TRUE(f.Modified);
    ASSERT_EQ(ui.Inputs().size(), 1u);
    EXPECT_EQ(ui.Inputs()[0].prompt, "number of plates");

    ui.ExpectInput("0");
    f.mnuGenerateDummyListClick();
    ui.ExpectInput(std::nullopt);
    f.mnuGenerateDummyListClick();
    EXPECT_EQ(f.PlateList1->Count(), 3) << "no positive number, or Cancel: unchanged";
    ui.VerifyDone();
}
