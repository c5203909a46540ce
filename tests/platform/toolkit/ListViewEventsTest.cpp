#include "platform/toolkit/ListDragData.h"
#include "platform/text/Format.h"
#include "platform/toolkit/TListView.h"
#include "tests/support/ScriptedUi.h"

#include <QHeaderView>
#include <QImage>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <stdexcept>

namespace {

void AddRows(TListView& view, int n)
{
    view.AddColumn("", 25);
    view.AddColumn("ip-address", 100);
    for (int i = 0; i < n; ++i) {
        view.AddRow(std::to_string(i + 1), {Format("10.0.0.%d", i)});
    }
}

QPoint RowCentre(TListView& view, int row)
{
    return view.visualRect(view.model()->index(row, 1)).center();
}

}  // namespace

TEST(ListViewEvents, HeaderClickNamesTheColumn)
{
    TListView view;
    AddRows(view, 2);
    view.resize(300, 200);
    view.show();
    QSignalSpy spy(&view, &TListView::ColumnClick);
    const QHeaderView* header = view.header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + 10, header->height() / 2));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy[0][0].toInt(), 1);
    EXPECT_EQ(view.Caption(0), "1");  // a header click alone sorts nothing
}

TEST(ListViewEvents, MouseSelectsAndDoubleClickAnywhereIsReported)
{
    TListView view;
    AddRows(view, 3);
    view.resize(300, 200);
    view.show();
    QSignalSpy selections(&view, &TListView::SelectItems);
    QSignalSpy clicks(&view, &TListView::Click);
    QSignalSpy doubles(&view, &TListView::DblClick);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, RowCentre(view, 1));
    EXPECT_EQ(view.SelectedRows(), std::vector<int>{1});
    EXPECT_EQ(selections.count(), 1);
    EXPECT_EQ(clicks.count(), 1);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ControlModifier, RowCentre(view, 2));
    EXPECT_EQ(view.SelCount(), 2);
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, QPoint(50, 180));  // below the rows
    EXPECT_EQ(doubles.count(), 1);
}

TEST(ListViewEvents, KeyReleaseCarriesTheAutoRepeatFlag)
{
    TListView view;
    AddRows(view, 1);
    QSignalSpy spy(&view, &TListView::KeyUp);
    QKeyEvent held(QEvent::KeyRelease, Qt::Key_Delete, Qt::NoModifier, QString(), true);
    QCoreApplication::sendEvent(&view, &held);
    QTest::keyRelease(&view, Qt::Key_Delete);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy[0][0].toInt(), int(Qt::Key_Delete));
    EXPECT_TRUE(spy[0][2].toBool());
    EXPECT_FALSE(spy[1][2].toBool());
}

TEST(ListViewEvents, SelectAllKeyIsNotAListKey)
{
    TListView view;
    AddRows(view, 3);
    QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(view.SelCount(), 0);
}

TEST(ListViewEvents, ExitOnlyWhenTheFocusMovesWithinTheWindow)
{
    TListView view;
    QSignalSpy spy(&view, &TListView::Exit);
    QFocusEvent toMenu(QEvent::FocusOut, Qt::PopupFocusReason);
    QFocusEvent toBox(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QFocusEvent toControl(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(&view, &toMenu);
    QCoreApplication::sendEvent(&view, &toBox);
    EXPECT_EQ(spy.count(), 0);
    QCoreApplication::sendEvent(&view, &toControl);
    EXPECT_EQ(spy.count(), 1);
}

TEST(ListViewEvents, RowsDroppedFromAnotherListAreOfferedToTheOwner)
{
    TListView hosts;
    TListView plates;
    AddRows(hosts, 2);
    AddRows(plates, 0);
    plates.resize(200, 100);
    plates.SetOnDragOver(
        [&hosts](QObject* source, QPoint) { return source == &hosts && hosts.SelCount() == 1; });
    QSignalSpy drops(&plates, &TListView::DragDrop);

    auto offer = [&plates](QMimeData& data) {
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction | Qt::MoveAction, &data,
                              Qt::LeftButton, {});
        QCoreApplication::sendEvent(plates.viewport(), &enter);
        return enter.isAccepted();
    };
    std::unique_ptr<QMimeData> rows(MakeRowDragData(hosts));
    EXPECT_EQ(RowDragSource(rows.get()), &hosts);
    EXPECT_FALSE(offer(*rows));  // nothing selected
    hosts.SelectAll();
    EXPECT_FALSE(offer(*rows));  // two rows
    hosts.SetSelected(0, false);
    EXPECT_TRUE(offer(*rows));
    QMimeData text;
    text.setText("10.0.0.1");
    EXPECT_FALSE(offer(text));

    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, rows.get(), Qt::LeftButton, {});
    QCoreApplication::sendEvent(plates.viewport(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(drops.count(), 0);  // announced only after the drop returned
    ASSERT_TRUE(QTest::qWaitFor([&drops] { return drops.count() == 1; }));
    EXPECT_EQ(drops[0][0].value<QObject*>(), &hosts);
}

TEST(ListViewEvents, FailingDragOverHookIsShownAndRefuses)
{
    ScriptedUi script;
    TListView plates;
    AddRows(plates, 0);
    plates.SetOnDragOver([](QObject*, QPoint) -> bool { throw std::runtime_error("busy"); });
    script.ExpectMessage(ui::MsgKind::Error, "busy", ui::Buttons::OK);
    QMimeData text;
    text.setText("x");
    QDragEnterEvent enter(QPoint(1, 1), Qt::CopyAction, &text, Qt::LeftButton, {});
    QCoreApplication::sendEvent(plates.viewport(), &enter);
    EXPECT_FALSE(enter.isAccepted());
}

TEST(ListViewEvents, DataOfAListThatIsGoneNamesNoSource)
{
    std::unique_ptr<QMimeData> rows;
    {
        TListView hosts;
        rows.reset(MakeRowDragData(hosts));
    }
    EXPECT_EQ(RowDragSource(rows.get()), nullptr);
}

TEST(ListViewEvents, OwnerChoosesTheColoursOfEachRow)
{
    TListView view;
    AddRows(view, 3);
    view.resize(300, 200);
    view.SetOnDrawItem([](int, bool selected) {
        return TRowColors{selected ? TColor(0xFFCC99) : clWindow, clWindowText};
    });
    view.SetSelected(1, true);
    const QImage image = view.viewport()->grab().toImage();
    const QPoint selected = RowCentre(view, 1) + QPoint(40, 0);
    const QPoint plain = RowCentre(view, 2) + QPoint(40, 0);
    EXPECT_EQ(image.pixelColor(selected), QColor(0x99, 0xCC, 0xFF));
    EXPECT_EQ(image.pixelColor(plain), ColorToQColor(clWindow));
}

TEST(ListViewEvents, MakeVisibleScrollsDeepRowsIntoView)
{
    TListView view;
    view.AddColumn("", 50);
    view.BeginUpdate();
    for (int i = 0; i < 65535; ++i) {
        view.AddRow(std::to_string(i + 1));
    }
    view.EndUpdate();
    view.resize(200, 300);
    view.show();
    view.MakeVisible(60000);
    const QRect row = view.visualRect(view.model()->index(60000, 0));
    EXPECT_TRUE(view.viewport()->rect().contains(row)) << row.y();
}
