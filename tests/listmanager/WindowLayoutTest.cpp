// The main window as the person sees it: where every placed control stands, the tab
// buttons and the Guest menus.
#include "tests/listmanager/ListManagerFixture.h"

#include "widgets/FieldEdit.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

namespace {

enum class Stretch { None, Width, MovesRight };

// A placed control as the window's layout gives it: its place in the parent's client
// area, which lies inside the parent's inner border.
struct PlacedControl {
    const char* name;
    const char* parent;
    int parentBorder;
    QRect bounds;
    Stretch stretch = Stretch::None;
};

// The pages of the upper page controls are 327 pixels wide at design size (a 345-pixel
// side panel, its border of 5, a 335-pixel page control), 317 inside their border; the
// controls that keep to the right edge keep their distance to it from there.
constexpr int kDesignClientWidth = 317;

const PlacedControl kPlacedControls[] = {
    {"EditPlate", "tsEditPlate", 5, {0, 20, 115, 21}},
    {"EditNumber", "tsEditPlate", 5, {120, 20, 115, 21}, Stretch::Width},
    {"btnAdd", "tsEditPlate", 5, {240, 18, 75, 23}, Stretch::MovesRight},
    {"chkNoMatch", "PanelPlateBottom", 0, {0, 7, 115, 17}},
    {"EditNoMatch", "PanelPlateBottom", 0, {120, 5, 115, 21}, Stretch::Width},
    {"chkNoRead", "PanelPlateBottom", 0, {0, 32, 115, 17}},
    {"EditNoRead", "PanelPlateBottom", 0, {120, 30, 115, 21}, Stretch::Width},
    {"chkNoPlate", "PanelPlateBottom", 0, {0, 57, 115, 17}},
    {"EditNoPlate", "PanelPlateBottom", 0, {120, 55, 115, 21}, Stretch::Width},
    {"EditWiegandLen", "tsWiegandFormat", 5, {0, 20, 135, 21}},
    {"chkWiegandFCEnable", "tsWiegandFormat", 5, {0, 55, 135, 17}},
    {"EditWiegandFCVal", "tsWiegandFormat", 5, {0, 75, 65, 21}},
    {"EditWiegandFCLen", "tsWiegandFormat", 5, {70, 75, 65, 21}},
    {"chkWiegandAddParity", "tsWiegandFormat", 5, {0, 110, 315, 17}},
    {"btnSend", "PanelCenter", 0, {0, 225, 25, 45}},
    {"btnReceive", "PanelCenter", 0, {0, 275, 25, 45}},
    {"btnDebug", "PanelHidden", 0, {0, 0, 25, 10}},
    {"btnHostSearch", "tsEditHost", 5, {0, 18, 235, 23}, Stretch::Width},
    {"btnHostSelectAll", "tsEditHost", 5, {240, 18, 75, 23}, Stretch::MovesRight},
    {"EditHost", "PanelHostEdit", 0, {0, 55, 235, 21}, Stretch::Width},
    {"btnHostAdd", "PanelHostEdit", 0, {240, 53, 75, 23}, Stretch::MovesRight},
};

// The docked children of the pages, which fill the client area or dock to its bottom.
struct DockedControl {
    const char* name;
    int parentBorder;
    int height;  // 0: fills the client area
};

const DockedControl kDockedControls[] = {
    {"PanelPlateBottom", 5, 80},
    {"PanelHostEdit", 5, 80},
    {"PlateList1", 5, 0},
    {"HostList1", 5, 0},
};

QRect ClientArea(const QWidget* parent, int border)
{
    return parent->rect().adjusted(border, border, -border, -border);
}

}  // namespace

TEST_F(ListManagerTest, EveryControlStandsInItsParentsClientArea)
{
    auto& f = Start();
    f.show();
    f.mnuUserExpert->trigger();
    for (const PlacedControl& placed : kPlacedControls) {
        SCOPED_TRACE(placed.name);
        const auto* control = f.findChild<QWidget*>(placed.name);
        ASSERT_NE(control, nullptr);
        ASSERT_EQ(control->parentWidget()->objectName(), placed.parent);
        const QRect client = ClientArea(control->parentWidget(), placed.parentBorder);
        const QRect at = control->geometry().translated(-client.topLeft());
        EXPECT_EQ(at.top(), placed.bounds.top());
        EXPECT_EQ(at.height(), placed.bounds.height());
        const int designRightGap = kDesignClientWidth - placed.bounds.right() - 1;
        switch (placed.stretch) {
        case Stretch::None:
            EXPECT_EQ(at.left(), placed.bounds.left());
            EXPECT_EQ(at.width(), placed.bounds.width());
            break;
        case Stretch::Width:
            EXPECT_EQ(at.left(), placed.bounds.left());
            EXPECT_EQ(client.width() - at.right() - 1, designRightGap);
            break;
        case Stretch::MovesRight:
            EXPECT_EQ(at.width(), placed.bounds.width());
            EXPECT_EQ(client.width() - at.right() - 1, designRightGap);
            break;
        }
    }
    for (const DockedControl& docked : kDockedControls) {
        SCOPED_TRACE(docked.name);
        const auto* control = f.findChild<QWidget*>(docked.name);
        ASSERT_NE(control, nullptr);
        const QRect client = ClientArea(control->parentWidget(), docked.parentBorder);
        if (docked.height == 0) {
            EXPECT_EQ(control->geometry(), client);
        } else {
            EXPECT_EQ(control->geometry(), QRect(client.left(), client.bottom() + 1 - docked.height,
                                                 client.width(), docked.height));
        }
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
