// How the two lists draw their rows: flat colours for the selection, the window-text
// colour for texts, and texts that run on past their column.
#include "tests/listmanager/ListManagerFixture.h"

#include "platform/text/Format.h"
#include "platform/toolkit/TListView.h"

#include <QAction>
#include <QFontMetrics>
#include <QHeaderView>
#include <QImage>
#include <QTest>

#include <algorithm>

namespace {

QRect RowBand(const TListView& list, int row)
{
    const QRect cell = list.visualRect(list.model()->index(row, 0));
    return {0, cell.top(), list.header()->length(), cell.height()};
}

// Every pixel of the row's band that is no grid line and no text: its top and bottom
// pixel lines and the last pixels before each column's right edge.
std::vector<QPoint> BackgroundPixels(const TListView& list, int row)
{
    const QRect band = RowBand(list, row);
    std::vector<QPoint> points;
    for (int x = 0; x < band.width(); ++x) {
        bool gridColumn = false;
        for (int column = 0; column < list.header()->count(); ++column)
            gridColumn |= x == list.header()->sectionPosition(column) +
                                   list.header()->sectionSize(column) - 1;
        if (gridColumn)
            continue;
        points.emplace_back(x, band.top());
        points.emplace_back(x, band.bottom() - 1);
    }
    for (int column = 0; column < list.header()->count(); ++column) {
        const int right =
            list.header()->sectionPosition(column) + list.header()->sectionSize(column);
        for (int y = band.top(); y < band.bottom(); ++y)
            points.emplace_back(right - 3, y);
    }
    return points;
}

bool IsInk(const QColor& c)
{
    return c.lightness() < 100;
}

}  // namespace

// A row clicked with the mouse is selected and current: still it is one flat colour, with
// no selection, hover or focus frame of the style over it.
TEST_F(ListManagerTest, SelectedRowsAreFilledFlatWithTheListsColour)
{
    auto& f = Start();
    for (const char* plate : {"HK55EVB", "AB99YZ", "ZLSZ17"})
        f.PlateList1->AddRow(std::to_string(f.PlateList1->Count() + 1), {plate, "1"});
    f.HostList1->AddRow("1", {"127.0.0.1", "localhost", "00-20-4A-01-02-03"});
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    f.UpdateUI();  // selects the device row
    QTest::mouseClick(f.PlateList1->viewport(), Qt::LeftButton, {},
                      RowBand(*f.PlateList1, 1).center());
    ASSERT_TRUE(f.PlateList1->Selected(1));

    for (const auto& [list, row, colour] : {std::tuple{f.PlateList1, 1, QColor(0x99, 0xCC, 0xFF)},
                                            std::tuple{f.HostList1, 0, QColor(0x64, 0xFF, 0x64)},
                                            std::tuple{f.PlateList1, 2, ColorToQColor(clWindow)}}) {
        SCOPED_TRACE(list->objectName().toStdString() + " row " + std::to_string(row));
        const QImage image = list->viewport()->grab().toImage();
        int wrong = 0;
        for (const QPoint& p : BackgroundPixels(*list, row))
            wrong += image.pixelColor(p) != colour;
        EXPECT_EQ(wrong, 0);
        bool textColour = false;
        const QRect band = RowBand(*list, row);
        for (int x = 0; x < band.width(); ++x)
            for (int y = band.top(); y < band.bottom(); ++y)
                textColour |= image.pixelColor(x, y) == ColorToQColor(clWindowText);
        EXPECT_TRUE(textColour) << "texts in the window-text colour";
    }
}

// Running numbers get room in their column at any count, clear of the grid line and of
// the next column's text; the texts are still written unclipped, so a plate runs on past
// a column narrowed below it. The column follows the widest number the list holds now:
// it narrows again when the long numbers go (deleted, cleared, another list opened), never
// below its width in the layout (35 and 25 pixels) or a width the person gave it.
TEST_F(ListManagerTest, RunningNumbersGetRoomAndTextsRunOnPastTheirColumn)
{
    std::string plates;
    for (int i = 1; i <= 70001; ++i)
        plates += Format("P%d;%d\r\n", i, i);
    WriteFile("Pellicor.lst", plates);
    std::string devices = "[hostlist]\r\n";
    for (int i = 1; i <= 100; ++i)
        devices += Format("device%d=127.0.0.%d\r\n", i, i);
    WriteFile("Pellicor.ini", devices);
    auto& f = Start();
    ASSERT_EQ(f.PlateList1->Count(), 70001);
    ASSERT_EQ(f.HostList1->Count(), 100);
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    const QFontMetrics metrics = f.PlateList1->fontMetrics();
    EXPECT_EQ(f.PlateList1->ColumnWidth(0), 4 + metrics.horizontalAdvance("70001") + 4);
    EXPECT_EQ(f.HostList1->ColumnWidth(0), 4 + metrics.horizontalAdvance("100") + 4);

    f.PlateList1->MakeVisible(70000);
    const auto inkIn = [&f](int row, int fromX, int toX) {
        const QImage image = f.PlateList1->viewport()->grab().toImage();
        const QRect band = RowBand(*f.PlateList1, row);
        int ink = 0;
        for (int x = fromX; x < toX; ++x)
            for (int y = band.top(); y < band.bottom(); ++y)
                ink += IsInk(image.pixelColor(x, y));
        return ink;
    };
    const int edge = f.PlateList1->header()->sectionSize(0);
    EXPECT_GT(inkIn(70000, 0, edge - 4), 0) << "the number";
    EXPECT_EQ(inkIn(70000, edge - 4, edge + 4), 0) << "the number ends clear of the plate";
    EXPECT_GT(inkIn(70000, edge + 4, edge + 40), 0) << "the plate";

    // A plate column narrowed below its text: the plate runs on into the next column.
    f.PlateList1->header()->resizeSection(1, 12);
    const int plateEdge = edge + 12;
    EXPECT_GT(inkIn(70000, plateEdge, plateEdge + 4), 0) << "the plate's last letters stand whole";

    const auto roomFor = [&metrics](const char* widest, int layoutWidth) {
        return std::max(layoutWidth, 4 + metrics.horizontalAdvance(widest) + 4);
    };
    f.HostList1->ClearSelection();
    for (int row = 9; row < 100; ++row)
        f.HostList1->SetSelected(row, true);
    QTest::keyClick(f.HostList1, Qt::Key_Delete);
    ASSERT_EQ(f.HostList1->Count(), 9);
    EXPECT_EQ(f.HostList1->ColumnWidth(0), 25) << "devices 10 to 100 deleted";

    WriteFile("short.txt", "AB12;5\r\nCD34;6\r\nEF56;7\r\n");
    ui.ExpectOpenFile(dir.file("short.txt"));
    f.mnuFileOpen->trigger();
    ASSERT_EQ(f.PlateList1->Count(), 3);
    EXPECT_EQ(f.PlateList1->ColumnWidth(0), 35) << "a list of three opened";

    ui.ExpectOpenFile(ListFile());
    f.mnuFileOpen->trigger();
    ASSERT_EQ(f.PlateList1->Count(), 65535) << "a device's worth";
    EXPECT_EQ(f.PlateList1->ColumnWidth(0), roomFor("65535", 35));
    f.PlateList1->MakeVisible(9999);
    QTest::mouseClick(f.PlateList1->viewport(), Qt::LeftButton, {},
                      RowBand(*f.PlateList1, 9999).center());
    QTest::keyClick(f.PlateList1, Qt::Key_End, Qt::ShiftModifier);
    QTest::keyClick(f.PlateList1, Qt::Key_Delete);
    ASSERT_EQ(f.PlateList1->Count(), 9999);
    EXPECT_EQ(f.PlateList1->ColumnWidth(0), roomFor("9999", 35)) << "plates 10000 on deleted";

    ui.ExpectMessage(ui::MsgKind::Confirmation, "Clear match-list ?", ui::Buttons::YesNo,
                     ui::Result::Yes);
    f.mnuPlateClearList->trigger();
    ASSERT_EQ(f.PlateList1->Count(), 0);
    EXPECT_EQ(f.PlateList1->ColumnWidth(0), 35) << "cleared";

    f.PlateList1->header()->resizeSection(0, 60);
    ui.ExpectOpenFile(dir.file("short.txt"));
    f.mnuFileOpen->trigger();
    EXPECT_EQ(f.PlateList1->ColumnWidth(0), 60) << "the person's width stays";
    ui.VerifyDone();
}
