// The match-list operations on the real window: adding, clearing, de-duplicating.
#include "tests/listmanager/ListManagerFixture.h"

#include "matchlist/MatchList.h"
#include "platform/text/Format.h"
#include "platform/toolkit/TListView.h"
#include "widgets/FieldEdit.h"

#include <QCheckBox>
#include <QProgressBar>

using ui::Buttons;
using ui::MsgKind;
using ui::Result;
using RowList = std::vector<std::pair<std::string, std::string>>;

namespace {

const char* const kUpdateQuestion = "Plate already in list: update wiegand id-number ?";

}  // namespace

TEST_F(ListManagerTest, InteractiveAddFindsThePlateExactlyAndAsks)
{
    auto& f = Start();
    AddPlateEntry(f, "AB12", "5", true);
    AddPlateEntry(f, "ab12", "6", true);  // another plate: letter case counts
    EXPECT_EQ(PlateRows(), (RowList{{"AB12", "5"}, {"ab12", "6"}}));
    EXPECT_EQ(GetColumnText(*f.PlateList1, 1, 0), "2");

    ui.ExpectMessage(MsgKind::Confirmation, kUpdateQuestion, Buttons::YesNo, Result::No);
    f.Modified = false;
    AddPlateEntry(f, "AB12", "9", true);
    EXPECT_EQ(PlateRows(), (RowList{{"AB12", "5"}, {"ab12", "6"}}));
    EXPECT_TRUE(f.Modified) << "No changes no row but leaves Modified set";
    EXPECT_TRUE(f.PlateList1->Selected(0));

    ui.ExpectMessage(MsgKind::Confirmation, kUpdateQuestion, Buttons::YesNo, Result::Yes);
    AddPlateEntry(f, "AB12", "9", true);
    EXPECT_EQ(PlateRows(), (RowList{{"AB12", "9"}, {"ab12", "6"}}));
    ui.VerifyDone();
}

TEST_F(ListManagerTest, SpecialKeywordsSetTheSpecialEntries)
{
    auto& f = Start();
    AddPlateEntry(f, "NOREAD", "12", false);
    EXPECT_TRUE(f.chkNoRead->isChecked());
    EXPECT_EQ(f.UserMode, 0) << "only a person's Add switches to Expert";
    AddPlateEntry(f, "NOREAD", "", false);
    EXPECT_FALSE(f.chkNoRead->isChecked());
    EXPECT_EQ(f.EditNoRead->Text(), "");

    AddPlateEntry(f, "NOMATCH", "5", true);
    EXPECT_TRUE(f.chkNoMatch->isChecked());
    EXPECT_EQ(f.EditNoMatch->Text(), "5");
    EXPECT_EQ(f.UserMode, 1);
    AddPlateEntry(f, "nomatch", "5", false);
    EXPECT_EQ(PlateRows(), (RowList{{"nomatch", "5"}})) << "the keywords are case-sensitive";
}

TEST_F(ListManagerTest, ClearEmptiesRowsAndSpecialsAndModifiedLast)
{
    auto& f = Start();
    AddPlateEntry(f, "AB12", "5", false);
    AddPlateEntry(f, "NOPLATE", "3", false);
    f.PlateSortColumn = 2;
    ClearMatchList(f);
    EXPECT_EQ(f.PlateList1->Count(), 0);
    EXPECT_FALSE(f.chkNoPlate->isChecked());
    EXPECT_EQ(f.EditNoPlate->Text(), "");
    EXPECT_EQ(f.PlateSortColumn, -1);
    EXPECT_FALSE(f.Modified);
}

TEST_F(ListManagerTest, FileNewAsksOnlyWhenModified)
{
    auto& f = Start();
    AddPlateEntry(f, "AB12", "5", false);
    ui.ExpectMessage(MsgKind::Confirmation, "Clear match-list ?", Buttons::YesNo, Result::No);
    f.mnuFileNew->trigger();
    EXPECT_EQ(f.PlateList1->Count(), 1);
    EXPECT_TRUE(f.Modified);
    f.Modified = false;
    f.mnuFileNew->trigger();
    EXPECT_EQ(f.PlateList1->Count(), 0);
    ui.VerifyDone();
}

TEST_F(ListManagerTest, DeleteDuplicatesKeepsTheTopRowOfEachPlateInViewOrder)
{
    auto& f = Start();
    for (const auto& [plate, id] : RowList{
             {"AA1", "1"}, {"BB2", "2"}, {"AA1", "3"}, {"aa1", "4"}, {"BB2", "5"}, {"CC3", "6"}})
        AddPlateEntry(f, plate, id, false);
    // Sorted by id-number, largest first: the BB2 with 5 now stands above the BB2 with 2.
    f.PlateList1->CustomSort([&](int a, int b) {
        return std::stoi(GetColumnText(*f.PlateList1, b, 2)) -
               std::stoi(GetColumnText(*f.PlateList1, a, 2));
    });
    f.Modified = false;
    ui.ExpectMessage(MsgKind::Information, "Deleted 2 plates", Buttons::OK);
    DeleteDuplicatePlates(f);
    EXPECT_EQ(PlateRows(), (RowList{{"CC3", "6"}, {"BB2", "5"}, {"aa1", "4"}, {"AA1", "3"}}));
    EXPECT_EQ(GetColumnText(*f.PlateList1, 1, 0), "5") << "rows keep their running numbers";
    EXPECT_TRUE(f.Modified);

    f.Modified = false;
    ui.ExpectMessage(MsgKind::Information, "No duplicates found", Buttons::OK);
    DeleteDuplicatePlates(f);
    EXPECT_FALSE(f.Modified);
    EXPECT_EQ(ui.BusyDepth(), 0);
    ui.VerifyDone();
}

TEST_F(ListManagerTest, DeleteDuplicatesShowsProgressFromAThousandRows)
{
    auto& f = Start();
    bool shown = false;
    QObject::connect(f.ProgressBar1, &QProgressBar::valueChanged,
                     [&] { shown = shown || f.ProgressBar1->isVisibleTo(&f); });
    for (int i = 0; i < 999; ++i)
        f.PlateList1->AddRow("1", {Format("P%d", i), "1"});
    ui.ExpectMessage(MsgKind::Information, "No duplicates found", Buttons::OK);
    DeleteDuplicatePlates(f);
    EXPECT_FALSE(shown);

    f.PlateList1->AddRow("1", {"P0", "1"});
    ui.ExpectMessage(MsgKind::Information, "Deleted 1 plates", Buttons::OK);
    DeleteDuplicatePlates(f);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(f.ProgressBar1->isHidden());
    EXPECT_EQ(f.PlateList1->Count(), 999);
    ui.VerifyDone();
}
