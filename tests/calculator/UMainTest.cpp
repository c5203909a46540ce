#include "tests/calculator/CalculatorWindow.h"

#include "about/UAbout.h"
#include "calculator/HelpTexts.h"
#include "platform/toolkit/TListView.h"
#include "widgets/FieldEdit.h"
#include "tests/support/WhenModal.h"
#include "platform/text/Cp1252.h"

#include <QApplication>
#include <algorithm>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using ::testing::ElementsAre;
using ui::Buttons;
using ui::MsgKind;

namespace {

const std::vector<std::string> HK55EVB_LV1 = {
    "HK55EVB", "0x3019E2A", "0xA44F633C 8A6D1581 50CCEB3E F83D9DE0 BA80CF15", "0x80CF15", "8441621",
    "128",     "53013"};
const std::vector<std::string> HK55EVB_LV2 = {"HK55EVB", "0x600002191555EBDB",
                                              "6917531334396472283"};

void ClickHeader(TListView* list, int column)
{
    QHeaderView* header = list->header();
    const QPoint pos(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                     header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, pos);
}

QAction* Entry(QObject* form, const std::string& name)
{
    return form->findChild<QAction*>(QString::fromStdString(name));
}

}  // namespace

TEST_F(CalculatorWindow, TypedPlateWithEnterAddsBothRowsSelectedAndEmptiesTheField)
{
    Open();
    form_->EditPlate->setFocus();
    QTest::keyClicks(form_->EditPlate, "hk 55 evb");
    QTest::keyClick(form_->EditPlate, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form_->LV1->Count() == 1; }));

    EXPECT_EQ(RowTexts(*form_->LV1, 0), HK55EVB_LV1);
    EXPECT_EQ(RowTexts(*form_->LV2, 0), HK55EVB_LV2);
    EXPECT_TRUE(form_->LV1->Selected(0));
    EXPECT_TRUE(form_->LV2->Selected(0));
    EXPECT_EQ(form_->EditPlate->Text(), "");
    EXPECT_EQ(QApplication::focusWidget(), form_->EditPlate);

    // A second plate moves the selection to the new row of each list.
    QTest::keyClicks(form_->EditPlate, "HK55EVB");
    form_->btnCalc1->click();
    ASSERT_EQ(form_->LV1->Count(), 2);
    EXPECT_EQ(RowTexts(*form_->LV1, 1), HK55EVB_LV1);
    EXPECT_EQ(form_->LV1->SelectedRows(), std::vector<int>{1});
    EXPECT_EQ(form_->LV2->SelectedRows(), std::vector<int>{1});
}

// Each panel's "Calc" takes Enter while it has the focus, and once.
TEST_F(CalculatorWindow, FocusedCalcButtonTakesEnterOnce)
{
    Open();
    form_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
    form_->EditPlate->SetText("HK55EVB");
    form_->btnCalc1->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_THAT(Plates(*form_->LV1), ElementsAre("HK55EVB"));
    EXPECT_EQ(QApplication::focusWidget(), form_->EditPlate);

    form_->mnuViewMulti->trigger();
    form_->EditPlates->setPlainText("A\nAB123");
    form_->btnCalc2->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
    QApplication::processEvents();
    EXPECT_THAT(Plates(*form_->LV1), ElementsAre("HK55EVB", "A", "AB123"));
    EXPECT_EQ(QApplication::focusWidget(), form_->EditPlates);

    // From the list Enter goes to the shown panel's "Calc".
    form_->EditPlates->setPlainText("X1");
    form_->LV1->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_THAT(Plates(*form_->LV1), ElementsAre("HK55EVB", "A", "AB123", "X1"));
}

TEST_F(CalculatorWindow, TypingStopsAtTenCharactersAndARejectedTextStays)
{
    Open();
    form_->EditPlate->setFocus();
    QTest::keyClicks(form_->EditPlate, "AB-CD-EF-GH-IJ");
    EXPECT_EQ(form_->EditPlate->Text(), "AB-CD-EF-G");

    form_->EditPlate->SetText("--");
    form_->btnCalc1->click();
    EXPECT_EQ(form_->LV1->Count(), 0);
    EXPECT_EQ(form_->LV2->Count(), 0);
    EXPECT_EQ(form_->EditPlate->Text(), "--");
    EXPECT_TRUE(ui_.Messages().empty());
}

TEST_F(CalculatorWindow, MultiPlateLinesAreAllConsumedInOrder)
{
    Open();
    form_->mnuViewMulti->trigger();
    EXPECT_TRUE(form_->mnuViewMulti->isChecked());
    EXPECT_TRUE(form_->Panel2->isVisible());
    EXPECT_FALSE(form_->Panel1->isVisible());

    form_->EditPlates->setPlainText(
        "ab-123\n\nNumber plate;Wiegand 26-bit (hex)\nx1;note\n\nAB-CD-EF-GH-IJ-KL-MN-OP-Q\na\nA");
    QTest::mouseClick(form_->btnCalc2, Qt::LeftButton);
    EXPECT_THAT(Plates(*form_->LV1), ElementsAre("AB123", "X1", "A", "A"));
    EXPECT_THAT(Plates(*form_->LV2), ElementsAre("AB123", "X1", "A", "A"));
    EXPECT_EQ(RowTexts(*form_->LV1, 2), RowTexts(*form_->LV1, 3));
    EXPECT_TRUE(form_->EditPlates->toPlainText().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), form_->EditPlates);

    // Enter in the field starts a new line instead of computing.
    QTest::keyClicks(form_->EditPlates, "HK55EVB");
    QTest::keyClick(form_->EditPlates, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(form_->LV1->Count(), 4);
    EXPECT_EQ(form_->EditPlates->toPlainText(), "HK55EVB\n");

    form_->mnuViewMulti->trigger();
    EXPECT_TRUE(form_->Panel1->isVisible());
    EXPECT_FALSE(form_->Panel2->isVisible());
}

TEST_F(CalculatorWindow, SortsTheDecimalCodeColumnByItsSixtyFourBitValue)
{
    Open();
    CalcPlates("HK55EVB\nA\nABCDEFGHIJ\nAB123");
    form_->SetActivePageIndex(1);
    Entry(form_.get(), "mnuShowHideLV2Column_2")->trigger();
    TListView* lv2 = form_->LV2;

    ClickHeader(lv2, 2);
    EXPECT_EQ(form_->LV2SortColumn, 2);
    EXPECT_FALSE(form_->LV2SortAscending);
    EXPECT_THAT(Plates(*lv2), ElementsAre("ABCDEFGHIJ", "HK55EVB", "AB123", "A"));
    EXPECT_EQ(lv2->SubItem(0, 1), "7393628384166811811");

    ClickHeader(lv2, 2);
    EXPECT_TRUE(form_->LV2SortAscending);
    EXPECT_THAT(Plates(*lv2), ElementsAre("A", "AB123", "HK55EVB", "ABCDEFGHIJ"));

    // Another column starts descending again; the other list keeps its own state.
    ClickHeader(lv2, 0);
    EXPECT_THAT(Plates(*lv2), ElementsAre("HK55EVB", "ABCDEFGHIJ", "AB123", "A"));
    EXPECT_EQ(form_->LV1SortColumn, -1);
    EXPECT_THAT(Plates(*form_->LV1), ElementsAre("HK55EVB", "A", "ABCDEFGHIJ", "AB123"));
}

TEST_F(CalculatorWindow, SortsLV1NumbersByValueAndTextWithoutCase)
{
    Open();
    CalcPlates("A\nX1\nAB123");  // facility codes 19, 110, 4
    form_->OnColumnClick(form_->LV1, 5);
    EXPECT_THAT(Plates(*form_->LV1), ElementsAre("X1", "A", "AB123"));
    form_->OnColumnClick(form_->LV1, 5);
    EXPECT_THAT(Plates(*form_->LV1), ElementsAre("AB123", "A", "X1"));

    form_->OnColumnClick(form_->LV1, 0);
    form_->LV1->SetCaption(0, "ab123");
    EXPECT_EQ(form_->OnCompare(form_->LV1, 0, 2), -form_->OnCompare(form_->LV1, 2, 0));
    CalcPlates("AB123");
    EXPECT_EQ(form_->OnCompare(form_->LV1, 0, 3), 0) << "ab123 and AB123 compare equal";
    EXPECT_EQ(form_->LV1->Caption(3), "AB123") << "rows added after a sort go to the end";

    // A numeric column with a text that is no number sorts it as 0.
    form_->OnColumnClick(form_->LV1, 6);
    form_->LV1->SetSubItem(1, 5, "n/a");
    EXPECT_GT(form_->OnCompare(form_->LV1, 1, 0), 0) << "descending: 0 after the others";
}

TEST_F(CalculatorWindow, ColumnEntriesAreBuiltWithNamesTagsAndStates)
{
    Open();
    const std::vector<std::string> lv1Captions = {"Number plate",
                                                  "Wiegand 26-bit (hex)",
                                                  "Digest (full hex)",
                                                  "Digest (truncated hex)",
                                                  "Digest (truncated dec)",
                                                  "Facility code",
                                                  "ID number"};
    for (const char* prefix : {"mnu", "pop"}) {
        for (int i = 0; i < 7; ++i) {
            QAction* entry =
                Entry(form_.get(), std::string(prefix) + "ShowHideLV1Column_" + std::to_string(i));
            ASSERT_NE(entry, nullptr) << prefix << i;
            EXPECT_EQ(entry->text().toStdString(), lv1Captions[i]);
            EXPECT_EQ(entry->data().toInt(), i);
            EXPECT_EQ(entry->isEnabled(), i > 0) << "Number plate is greyed";
            EXPECT_EQ(entry->isChecked(), i != 2 && i != 3 && i != 4);
        }
        QAction* dec = Entry(form_.get(), std::string(prefix) + "ShowHideLV2Column_2");
        ASSERT_NE(dec, nullptr);
        EXPECT_EQ(dec->text(), "Wiegand 64-bit (dec)");
        EXPECT_FALSE(dec->isChecked());
        EXPECT_FALSE(Entry(form_.get(), std::string(prefix) + "ShowHideLV2Column_0")->isEnabled());
    }
    EXPECT_EQ(form_->mnuView1->actions().size(), 7);
    EXPECT_EQ(form_->PopGrid2->actions().size(), 3);
}

TEST_F(CalculatorWindow, HidingAndShowingAColumnGivesItsDefaultWidth)
{
    Open();
    QAction* digest = Entry(form_.get(), "popShowHideLV1Column_2");
    digest->trigger();
    EXPECT_EQ(form_->LV1->ColumnWidth(2), 300);
    form_->LV1->SetColumnWidth(2, 57);
    digest->trigger();
    EXPECT_EQ(form_->LV1->ColumnWidth(2), 0);
    EXPECT_TRUE(form_->LV1->header()->isSectionHidden(2));
    Entry(form_.get(), "mnuShowHideLV1Column_2")->trigger();
    EXPECT_EQ(form_->LV1->ColumnWidth(2), 300);

    Entry(form_.get(), "mnuShowHideLV2Column_1")->trigger();
    EXPECT_EQ(form_->LV2->ColumnWidth(1), 0);
    Entry(form_.get(), "mnuShowHideLV2Column_1")->trigger();
    EXPECT_EQ(form_->LV2->ColumnWidth(1), 160);

    // The check marks follow when a menu opens.
    form_->LV1->SetColumnWidth(5, 0);
    emit form_->PopGrid1->aboutToShow();
    EXPECT_FALSE(Entry(form_.get(), "mnuShowHideLV1Column_5")->isChecked());
    EXPECT_FALSE(Entry(form_.get(), "popShowHideLV1Column_5")->isChecked());
    EXPECT_TRUE(Entry(form_.get(), "popShowHideLV1Column_2")->isChecked());
}

TEST_F(CalculatorWindow, ViewMenuAndHelpFollowThePageOnView)
{
    Open();
    emit form_->mnuView->aboutToShow();
    EXPECT_TRUE(form_->mnuView1->menuAction()->isVisible());
    EXPECT_FALSE(form_->mnuView2->menuAction()->isVisible());
    ui_.ExpectMessage(MsgKind::Information, quantivo::WG26HelpText, Buttons::OK);
    form_->Howtocalculate1->trigger();

    form_->PageControl1->setCurrentIndex(1);
    emit form_->mnuView->aboutToShow();
    EXPECT_FALSE(form_->mnuView1->menuAction()->isVisible());
    EXPECT_TRUE(form_->mnuView2->menuAction()->isVisible());
    ui_.ExpectMessage(MsgKind::Information, quantivo::WG64HelpText, Buttons::OK);
    form_->Howtocalculate1->trigger();

    form_->SetActivePageIndex(-1);
    emit form_->mnuView->aboutToShow();
    EXPECT_FALSE(form_->mnuView1->menuAction()->isVisible());
    EXPECT_FALSE(form_->mnuView2->menuAction()->isVisible());
    form_->Howtocalculate1->trigger();  // shows nothing
}

// The 64-bit help lays its character table out with tabs: the box is wide enough that no
// line of it wraps ("«empty»=000000" stays at the end of its row).
TEST_F(CalculatorWindow, HelpBoxShowsEveryLineAsWritten)
{
    Open();
    form_->PageControl1->setCurrentIndex(1);
    ui::SetCurrentUi(nullptr);
    QString shown;
    QSize labelSize;
    QSize unwrapped;
    WhenModal([&](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            shown = box->text();
            for (const QLabel* label : box->findChildren<QLabel*>()) {
                if (label->text() != shown)
                    continue;
                labelSize = label->contentsRect().size();
                unwrapped = label->fontMetrics()
                                .boundingRect(QRect(0, 0, 10000, 10000), Qt::TextExpandTabs, shown)
                                .size();
            }
        }
        modal->close();
    });
    form_->Howtocalculate1->trigger();
    ui::SetCurrentUi(&ui_);

    EXPECT_EQ(ToCp1252(shown), [] {
        std::string text = quantivo::WG64HelpText;
        std::replace(text.begin(), text.end(), '\r', '\n');
        return text;
    }());
    EXPECT_GE(labelSize.width(), unwrapped.width());
    EXPECT_LT(labelSize.height(), unwrapped.height() + QFontMetrics(form_->font()).lineSpacing())
        << "no line wrapped onto one of its own";
}

TEST(CalculatorHelpTexts, CarryTheirExamplesAndTheWindowsGuillemets)
{
    const std::string wg26 = quantivo::WG26HelpText;
    EXPECT_EQ(wg26.substr(0, 26), "Number plate = hk 55 evb\r\r");
    EXPECT_NE(wg26.find("3. SHA1(\"HK55EVB\") = A44F633C 8A6D1581 50CCEB3E F83D9DE0 BA80CF15\r"),
              std::string::npos);
    EXPECT_TRUE(wg26.ends_with("\r\rThe Wiegand 26-bit number shall be 0x3019E2A"));

    const std::string wg64 = quantivo::WG64HelpText;
    EXPECT_NE(wg64.find("\t8=011000\tI=100010\tS=101100\t\xAB"
                        "empty\xBB=000000\r"),
              std::string::npos);
    EXPECT_NE(wg64.find("\t6=010110\tG=100000\tQ=101010\t\r"), std::string::npos);
    EXPECT_TRUE(wg64.ends_with("\t9=011001\tJ=100011\tT=101101\t\xAB"
                               "other\xBB=111111\r\r\r"));
    EXPECT_EQ(std::count(wg64.begin(), wg64.end(), '\r'), 26);
}

TEST_F(CalculatorWindow, CtrlNClearsBothListsWithoutAQuestion)
{
    Open();
    CalcPlates("A\nB");
    form_->EditPlate->setFocus();
    form_->EditPlate->SetText("X1");
    QTest::keyClick(form_->EditPlate, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(form_->LV1->Count(), 0);
    EXPECT_EQ(form_->LV2->Count(), 0);
    EXPECT_EQ(form_->EditPlate->Text(), "X1");
}

TEST_F(CalculatorWindow, StartsTitledWithTheFirstPageAndTheSinglePlatePanel)
{
    const QString title = QApplication::applicationDisplayName();
    QApplication::setApplicationDisplayName("Tavrin Calculator");
    Open();
    QApplication::setApplicationDisplayName(title);
    EXPECT_EQ(form_->windowTitle(), "Tavrin Calculator");
    EXPECT_EQ(form_->ActivePageIndex(), 0);
    EXPECT_TRUE(form_->Panel1->isVisible());
    EXPECT_FALSE(form_->Panel2->isVisible());
    EXPECT_EQ(form_->EditPlate->EmptyText(), " < enter plate >");
    EXPECT_EQ(form_->EditPlate->LabelCaption(), "Number Plate:");
    EXPECT_EQ(form_->PageControl1->tabText(0), "Wiegand 26-bit (SHA-1)");
    EXPECT_EQ(form_->PageControl1->tabText(1), "Wiegand 64-bit");
}

TEST_F(CalculatorWindow, AboutShowsTheAboutBoxModally)
{
    Open();
    TFormAbout about;
    FormAbout = &about;
    ui_.ExpectModal([](QWidget& window) {
        EXPECT_NE(dynamic_cast<TFormAbout*>(&window), nullptr);
        return 0;
    });
    form_->mnuAbout->trigger();
    FormAbout = nullptr;
}
