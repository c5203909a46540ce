// The main window as the person sees it: where every placed control stands, the tab
// buttons and the Guest menus.
#include "tests/listmanager/ListManagerFixture.h"

#include "listmanager/UMainLayout.h"
#include "widgets/FieldEdit.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <set>
#include <string>

namespace {

// The pages of the upper page controls are 327 pixels wide at design size (a 345-pixel
// side panel, its border of 5, a 335-pixel page control), 317 inside their border; the
// controls that keep to the right edge keep their distance to it from there.
constexpr int kDesignClientWidth = 317;

// Where the window must place each control: its bounds in the parent's client area at
// design size, and the parent's edges it keeps its distances to.
constexpr TAnchors kStretches = akLeft | akTop | akRight;
constexpr TAnchors kAtTheRight = akTop | akRight;
const pellicor::TPlacedControl kPlaces[] = {
    // The plate page and its bottom panel.
    {"EditPlate", {0, 20, 115, 21}},
    {"EditNumber", {120, 20, 115, 21}, kStretches},
    {"btnAdd", {240, 18, 75, 23}, kAtTheRight},
    {"chkNoMatch", {0, 7, 115, 17}},
    {"EditNoMatch", {120, 5, 115, 21}, kStretches},
    {"chkNoRead", {0, 32, 115, 17}},
    {"EditNoRead", {120, 30, 115, 21}, kStretches},
    {"chkNoPlate", {0, 57, 115, 17}},
    {"EditNoPlate", {120, 55, 115, 21}, kStretches},
    // The Wiegand format page.
    {"EditWiegandLen", {0, 20, 135, 21}},
    {"chkWiegandFCEnable", {0, 55, 135, 17}},
    {"EditWiegandFCVal", {0, 75, 65, 21}},
    {"EditWiegandFCLen", {70, 75, 65, 21}},
    {"chkWiegandAddParity", {0, 110, 315, 17}},
    // The centre column and its hidden panel.
    {"btnSend", {0, 225, 25, 45}},
    {"btnReceive", {0, 275, 25, 45}},
    {"btnDebug", {0, 0, 25, 10}},
    // The device page and its bottom panel.
    {"btnHostSearch", {0, 18, 235, 23}, kStretches},
    {"btnHostSelectAll", {240, 18, 75, 23}, kAtTheRight},
    {"EditHost", {0, 55, 235, 21}, kStretches},
    {"btnHostAdd", {240, 53, 75, 23}, kAtTheRight},
};

// A page keeps its controls 5 pixels inside its frame; a panel has no border.
QRect ClientArea(const QWidget* parent)
{
    const QWidget* stack = parent->parentWidget();
    const bool page = stack && qobject_cast<const QTabWidget*>(stack->parentWidget());
    const int border = page ? 5 : 0;
    return parent->rect().adjusted(border, border, -border, -border);
}

}  // namespace

// Each control where the places above put it; they are stated here rather than taken from
// the window's own table, so a wrong place in that table fails. The window places no
// control by bounds that is not among them.
TEST_F(ListManagerTest, EveryControlStandsInItsParentsClientArea)
{
    auto& f = Start();
    f.show();
    f.mnuUserExpert->trigger();
    for (const pellicor::TPlacedControl& placed : kPlaces) {
        SCOPED_TRACE(placed.name);
        const auto* control = f.findChild<QWidget*>(placed.name);
        ASSERT_NE(control, nullptr);
        const QRect client = ClientArea(control->parentWidget());
        EXPECT_TRUE(client.contains(control->geometry())) << "inside the parent's border";
        const QRect at = control->geometry().translated(-client.topLeft());
        EXPECT_EQ(at.top(), placed.bounds.top());
        EXPECT_EQ(at.height(), placed.bounds.height());
        if (placed.anchors & akLeft) {
            EXPECT_EQ(at.left(), placed.bounds.left());
        }
        if (placed.anchors & akRight) {
            EXPECT_EQ(client.width() - at.right() - 1,
                      kDesignClientWidth - placed.bounds.right() - 1);
        }
        if ((placed.anchors & (akLeft | akRight)) != (akLeft | akRight)) {
            EXPECT_EQ(at.width(), placed.bounds.width());
        }
    }
    std::set<std::string> placedByTheWindow;
    for (const pellicor::TPlacedControl& placed : pellicor::MainWindowPlacedControls())
        placedByTheWindow.insert(placed.name);
    std::set<std::string> stated;
    for (const pellicor::TPlacedControl& placed : kPlaces)
        stated.insert(placed.name);
    EXPECT_EQ(placedByTheWindow, stated);

    // The docked children of the pages and panels fill the client area or dock to its
    // bottom at their height.
    for (const auto& [name, height] : {std::pair{"PanelPlateBottom", 80},
                                       {"PanelHostEdit", 80},
                                       {"PanelHidden", 15},
                                       {"PlateList1", 0},
                                       {"HostList1", 0}}) {
        SCOPED_TRACE(name);
        const auto* control = f.findChild<QWidget*>(name);
        ASSERT_NE(control, nullptr);
        const QRect client = ClientArea(control->parentWidget());
        const QRect at = control->geometry();
        EXPECT_EQ(at.left(), client.left());
        EXPECT_EQ(at.width(), client.width());
        EXPECT_EQ(at.bottom(), client.bottom());
        EXPECT_EQ(at.height(), height > 0 ? height : client.height());
    }
}

// The captions stand above their fields, left-aligned with them and clear of the page's
// frame, 3 pixels away (4 for the output length).
TEST_F(ListManagerTest, FieldLabelsStandAboveTheirFieldsInsideThePage)
{
    auto& f = Start();
    f.show();
    f.mnuUserExpert->trigger();
    for (const auto& [edit, margin] :
         {std::pair{f.EditPlate, 3}, {f.EditNumber, 3}, {f.EditWiegandLen, 4}, {f.EditHost, 3}}) {
        SCOPED_TRACE(edit->objectName().toStdString());
        const QLabel* label = edit->AttachedLabel();
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->parentWidget(), edit->parentWidget());
        EXPECT_EQ(label->x(), edit->x());
        EXPECT_EQ(label->geometry().bottom() + 1 + margin, edit->y());
        EXPECT_GE(label->y(), 5) << "inside the inner border";
    }
    EXPECT_EQ(f.EditNumber->geometry().top(), f.btnAdd->geometry().top() + 2)
        << "the id-number lines up with Add beside it";
}

TEST_F(ListManagerTest, TabButtonsAreHundredByTwentyFive)
{
    auto& f = Start();
    f.show();
    f.mnuUserExpert->trigger();
    for (QTabWidget* pages : {f.PageControlEditPlate, f.PageControlPlateList, f.PageControlEditHost,
                              f.PageControlHostList}) {
        for (int i = 0; i < pages->count(); ++i) {
            SCOPED_TRACE(pages->tabText(i).toStdString());
            EXPECT_EQ(pages->tabBar()->tabRect(i).size(), QSize(100, 25));
        }
    }
}

// Guest hides the commands between the two separators of the device menus; both
// separators stay, one under Search and one above Get device info.
TEST_F(ListManagerTest, GuestDeviceMenusKeepBothSeparators)
{
    auto& f = Start();
    f.show();
    ASSERT_EQ(f.UserMode, 0);
    for (QMenu* menu : {f.mnuHost, f.PopupMenu2}) {
        SCOPED_TRACE(menu->objectName().toStdString());
        emit menu->aboutToShow();
        std::vector<std::string> shown;
        for (QAction* item : menu->actions()) {
            if (!menu->actionGeometry(item).isEmpty())
                shown.push_back(item->isSeparator() ? "-" : item->text().toStdString());
        }
        EXPECT_EQ(shown, (std::vector<std::string>{"Search", "-", "-", "Get device info"}));
    }
}
