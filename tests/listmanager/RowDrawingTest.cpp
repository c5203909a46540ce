// How the two lists draw their rows: flat colours for the selection, the window-text
// colour for texts, and texts that run on past their column.
#include "tests/listmanager/ListManagerFixture.h"

#include "platform/toolkit/TListView.h"

#include <QHeaderView>
#include <QImage>
#include <QTest>

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

TEST_F(ListManagerTest, RunningNumbersRunOnPastTheirColumn)
{
    auto& f = Start();
    f.PlateList1->AddRow("69970", {"HK55EVB", "333"});
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    const int edge = f.PlateList1->header()->sectionSize(0);
    const int textEnd = 4 + f.PlateList1->fontMetrics().horizontalAdvance("69970");
    ASSERT_GT(textEnd, edge + 2) << "the number is wider than its column";
    const int nextText = edge + 4;

    const QImage image = f.PlateList1->viewport()->grab().toImage();
    const QRect band = RowBand(*f.PlateList1, 0);
    int inkBeyondEdge = 0;
    for (int x = edge; x < std::min(textEnd, nextText); ++x)
        for (int y = band.top(); y < band.bottom(); ++y)
            inkBeyondEdge += IsInk(image.pixelColor(x, y));
    EXPECT_GT(inkBeyondEdge, 0) << "the last digit stands whole";
}
