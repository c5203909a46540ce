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

namespace {

// The pages of the upper page controls are 327 pixels wide at design size (a 345-pixel
// side panel, its border of 5, a 335-pixel page control), 317 inside their border; the
// controls that keep to the right edge keep their distance to it from there.
constexpr int kDesignClientWidth = 317;

// A page keeps its controls 5 pixels inside its frame; a panel has no border.
QRect ClientArea(const QWidget* parent)
{
    const QWidget* stack = parent->parentWidget();
    const bool page = stack && qobject_cast<const QTabWidget*>(stack->parentWidget());
    const int border = page ? 5 : 0;
    return parent->rect().adjusted(border, border, -border, -border);
}

}  // namespace

TEST_F(ListManagerTest, EveryControlStandsInItsParentsClientArea)
{
    auto& f = Start();
    f.show();
    f.mnuUserExpert->trigger();
    for (const pellicor::TPlacedControl& placed : pellicor::MainWindowPlacedControls()) {
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
    // The docked children of the pages fill the client area or dock to its bottom.
    for (const auto& [name, fills] : {std::pair{"PanelPlateBottom", false},
                                      {"PanelHostEdit", false},
                                      {"PlateList1", true},
                                      {"HostList1", true}}) {
        SCOPED_TRACE(name);
        const auto* control = f.findChild<QWidget*>(name);
        ASSERT_NE(control, nullptr);
        const QRect client = ClientArea(control->parentWidget());
        const QRect at = control->geometry();
        EXPECT_EQ(at.left(), client.left());
        EXPECT_EQ(at.width(), client.width());
        EXPECT_EQ(at.bottom(), client.bottom());
        if (fills) {
            EXPECT_EQ(at.top(), client.top());
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
