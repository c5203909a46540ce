#include "platform/text/Errors.h"
#include "platform/text/Format.h"
#include "platform/toolkit/NumberColumn.h"
#include "platform/toolkit/TListView.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace {

// Rows "1".."n" with a plate and an id-number, as the plate list holds them.
void Fill(TListView& view, int n)
{
    view.BeginUpdate();
    for (int i = 0; i < n; ++i) {
        view.AddRow(std::to_string(i + 1), {Format("P%d", i), std::to_string(i % 7)});
    }
    view.EndUpdate();
}

using Rows = std::vector<TSelectChange>;

// The rows of the i-th SelectItems a spy caught.
Rows Changes(const QSignalSpy& spy, int i)
{
    return spy.at(i).at(0).value<Rows>();
}

TListView& PlateList(TListView& view)
{
    view.AddColumn("", 35);
    view.AddColumn("number plate", 140);
    view.AddColumn("wiegand id-number", 140);
    return view;
}

// What the view shows as selected agrees with the rows' own flags.
void ExpectViewSelectionMatches(TListView& view)
{
    ASSERT_EQ(view.model()->rowCount(), view.Count());
    std::vector<int> shown;
    for (const QItemSelectionRange& range : view.selectionModel()->selection()) {
        EXPECT_EQ(range.width(), view.ColumnCount());  // whole rows
        for (int row = range.top(); row <= range.bottom(); ++row) {
            shown.push_back(row);
        }
    }
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(shown, view.SelectedRows());
}

}  // namespace

TEST(TListView, ColumnTextOfCaptionSubItemsAndMissingColumns)
{
    TListView view;
    PlateList(view);
    view.AddRow("1", {"AB12", "42"});
    view.AddRow("2", {"CD34"});
    EXPECT_EQ(GetColumnText(view, 0, 0), "1");
    EXPECT_EQ(GetColumnText(view, 0, 1), "AB12");
    EXPECT_EQ(GetColumnText(view, 0, 2), "42");
    EXPECT_EQ(GetColumnText(view, 0, 3), "");
    EXPECT_EQ(GetColumnText(view, 0, -1), "");
    EXPECT_EQ(GetColumnText(view, 1, 2), "");
    EXPECT_EQ(view.SubItemCount(1), 1);

    view.SetSubItem(1, 2, "x");
    EXPECT_EQ(view.SubItemCount(1), 3);
    EXPECT_EQ(GetColumnText(view, 1, 2), "");
    EXPECT_EQ(GetColumnText(view, 1, 3), "x");
    view.SetCaption(0, "\xE4");
    EXPECT_EQ(view.model()->index(0, 0).data().toString(), QString::fromUtf8("ä"));

    try {
        view.Caption(2);
        FAIL() << "no error for a row past the end";
    } catch (const EError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (2)");
    }
    EXPECT_THROW(GetColumnText(view, -1, 0), EError);
}

TEST(TListView, ColumnOfWidthZeroIsHiddenAndNumberColumnsFitTheirNumbers)
{
    TListView view;
    view.AddColumn("Number plate", 100);
    view.AddColumn("Digest (full hex)", 0);
    EXPECT_TRUE(view.header()->isSectionHidden(1));
    EXPECT_EQ(view.ColumnWidth(1), 0);
    EXPECT_EQ(view.ColumnWidth(0), 100);
    view.SetColumnWidth(1, 300);
    EXPECT_FALSE(view.header()->isSectionHidden(1));
    EXPECT_EQ(view.ColumnWidth(1), 300);
    view.SetColumnWidth(1, -5);
    EXPECT_EQ(view.ColumnWidth(1), 0);
    view.SetColumnCaption(1, "Digest");
    EXPECT_EQ(view.model()->headerData(1, Qt::Horizontal).toString(), "Digest");
    EXPECT_EQ(view.ColumnCount(), 2);
    EXPECT_THROW(view.SetColumnWidth(2, 10), EError);

    // A number column is never narrower than its widest number and 4 pixels on either
    // side, in the list's font; a hidden one stays hidden.
    KeepNumberColumnWide(view, 1);
    const auto fits = [&view](const std::string& number) {
        return 4 + view.fontMetrics().horizontalAdvance(QString::fromStdString(number)) + 4;
    };
    view.AddRow("AB12", {"1234567890"});
    EXPECT_EQ(view.ColumnWidth(1), 0);
    view.SetColumnWidth(1, 10);
    EXPECT_EQ(view.ColumnWidth(1), fits("1234567890"));
    view.SetColumnWidth(1, 300);
    EXPECT_EQ(view.ColumnWidth(1), 300);
    const std::string longer(40, '9');
    view.SetSubItem(0, 0, longer);
    EXPECT_EQ(view.ColumnWidth(1), fits(longer));
    QFont larger = view.font();
    larger.setPixelSize(20);
    view.setFont(larger);
    EXPECT_EQ(view.ColumnWidth(1), fits(longer));
}

TEST(TListView, FullDeviceListAddsDeletesAndKeepsSelection)
{
    TListView view;
    PlateList(view);
    Fill(view, 65535);
    ASSERT_EQ(view.Count(), 65535);
    EXPECT_EQ(view.model()->rowCount(), 65535);

    // Select every third row, then delete every even row.
    view.BeginUpdate();
    for (int row = 0; row < view.Count(); row += 3) {
        view.SetSelected(row, true);
    }
    view.EndUpdate();
    EXPECT_EQ(view.SelCount(), 21845);
    std::vector<int> even;
    for (int row = 0; row < view.Count(); row += 2) {
        even.push_back(row);
    }
    QSignalSpy selections(&view, &TListView::SelectItems);
    view.DeleteRows(even);
    EXPECT_EQ(selections.count(), 0);  // deleting signals no deselection
    ASSERT_EQ(view.Count(), 32767);
    EXPECT_EQ(view.Caption(0), "2");
    EXPECT_EQ(view.SubItem(32766, 0), "P65533");
    // Rows 3, 9, 15, ... (0-based) were selected and odd: now at 1, 4, 7, ...
    EXPECT_EQ(view.SelCount(), 10922);
    EXPECT_EQ(view.FirstSelected(), 1);
    EXPECT_EQ(view.SelectedRows()[1], 4);
    ExpectViewSelectionMatches(view);

    view.SelectAll();
    view.DeleteRows(view.SelectedRows());
    EXPECT_EQ(view.Count(), 0);
    EXPECT_EQ(view.SelCount(), 0);
    EXPECT_EQ(view.FirstSelected(), -1);
    EXPECT_EQ(view.model()->rowCount(), 0);
}

TEST(TListView, DeleteRowsTakesAnyOrderAndRefusesRowsThatDoNotExist)
{
    TListView view;
    PlateList(view);
    Fill(view, 5);
    EXPECT_THROW(view.DeleteRows({1, 5}), EError);
    EXPECT_EQ(view.Count(), 5);
    view.DeleteRows({3, 1, 3});
    ASSERT_EQ(view.Count(), 3);
    EXPECT_EQ(view.Caption(1), "3");
    EXPECT_EQ(view.Caption(2), "5");
    view.DeleteRows({});
    view.Clear();
    EXPECT_EQ(view.Count(), 0);
}

TEST(TListView, SortIsStableAndTheSelectionMovesWithTheRows)
{
    TListView view;
    PlateList(view);
    Fill(view, 14);              // id-numbers 0..6 twice
    view.SetSelected(13, true);  // id 6, the second of its pair
    auto byIdDescending = [&view](int a, int b) {
        return std::stoi(GetColumnText(view, b, 2)) - std::stoi(GetColumnText(view, a, 2));
    };
    view.CustomSort(byIdDescending);
    EXPECT_EQ(view.Caption(0), "7");
    EXPECT_EQ(view.Caption(1), "14");  // equal ids keep their order
    EXPECT_EQ(view.Caption(13), "8");
    EXPECT_EQ(view.SelectedRows(), std::vector<int>{1});
    ExpectViewSelectionMatches(view);

    // Rows added after a sort go at the end.
    view.AddRow("15", {"Z", "99"});
    EXPECT_EQ(view.Caption(14), "15");
}

TEST(TListView, SortWithAnInconsistentCompareStillKeepsEveryRow)
{
    TListView view;
    PlateList(view);
    Fill(view, 1000);
    std::mt19937 random(7);
    view.CustomSort([&random](int, int) { return int(random() % 3) - 1; });
    std::vector<bool> seen(1000);
    for (int row = 0; row < view.Count(); ++row) {
        seen[std::stoul(view.Caption(row)) - 1] = true;
    }
    EXPECT_EQ(std::count(seen.begin(), seen.end(), true), 1000);
}

TEST(TListView, FullListSortsByText)
{
    TListView view;
    PlateList(view);
    Fill(view, 65535);
    view.CustomSort([&view](int a, int b) {
        return GetColumnText(view, a, 1).compare(GetColumnText(view, b, 1));
    });
    for (int row = 1; row < view.Count(); ++row) {
        ASSERT_LE(view.SubItem(row - 1, 0), view.SubItem(row, 0));
    }
}

TEST(TListView, UpdateHoldsBackTheViewUntilItsEnd)
{
    TListView view;
    PlateList(view);
    Fill(view, 3);
    view.BeginUpdate();
    view.BeginUpdate();
    view.AddRow("4", {"D", "4"});
    view.SetSelected(3, true);
    view.DeleteRows({0});
    EXPECT_EQ(view.Count(), 3);
    EXPECT_EQ(view.model()->rowCount(), 3);  // what the view knew before
    EXPECT_FALSE(view.updatesEnabled());
    view.EndUpdate();
    EXPECT_FALSE(view.updatesEnabled());
    view.EndUpdate();
    EXPECT_TRUE(view.updatesEnabled());
    EXPECT_EQ(view.Caption(2), "4");
    EXPECT_EQ(view.SelectedRows(), std::vector<int>{2});
    ExpectViewSelectionMatches(view);
    view.EndUpdate();  // an unmatched end does nothing
    EXPECT_TRUE(view.updatesEnabled());
}

TEST(TListView, SelectionByCodeSignalsEachChangeOnceWithItsRows)
{
    TListView view;
    PlateList(view);
    Fill(view, 4);
    QSignalSpy spy(&view, &TListView::SelectItems);
    view.SetSelected(1, true);
    view.SetSelected(1, true);  // no change, no signal
    view.SetSelected(2, true);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(Changes(spy, 0), (Rows{{1, true}}));
    EXPECT_EQ(view.SelCount(), 2);

    spy.clear();
    view.SetMultiSelect(false);
    view.ClearSelection();
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(Changes(spy, 0), (Rows{{1, false}, {2, false}}));
    view.SetSelected(0, true);
    spy.clear();
    view.SetSelected(3, true);  // a single-select list lets go of the other row
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(Changes(spy, 0), (Rows{{0, false}, {3, true}}));
    EXPECT_EQ(view.SelectedRows(), std::vector<int>{3});
    ExpectViewSelectionMatches(view);

    spy.clear();
    view.SetMultiSelect(true);
    view.SelectAll();
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(Changes(spy, 0), (Rows{{0, true}, {1, true}, {2, true}}));
    EXPECT_EQ(view.SelCount(), 4);
    ExpectViewSelectionMatches(view);
}

TEST(TListView, SelectionByTheViewUpdatesTheRows)
{
    TListView view;
    PlateList(view);
    Fill(view, 10);
    QSignalSpy spy(&view, &TListView::SelectItems);
    view.selectionModel()->select(
        QItemSelection(view.model()->index(2, 0), view.model()->index(5, 2)),
        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(Changes(spy, 0), (Rows{{2, true}, {3, true}, {4, true}, {5, true}}));
    EXPECT_EQ(view.SelCount(), 4);
    view.selectionModel()->select(view.model()->index(3, 0),
                                  QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    EXPECT_EQ(view.SelectedRows(), (std::vector<int>{2, 4, 5}));
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(Changes(spy, 1), (Rows{{3, false}}));
}
