#include "tests/widgets/FieldEditFixture.h"
#include "widgets/TListHintWindow.h"

#include <QListWidget>

namespace {

class FieldEditLookupTest : public FieldEditTest {
protected:
    TFieldEdit* LookupEdit(std::vector<std::string> entries)
    {
        TFieldEdit* edit = AddEdit(10, 10);
        edit->Lookup().Enabled = true;
        edit->Lookup().DisplayList = std::move(entries);
        Show();
        Focus(edit);
        return edit;
    }
    static QStringList Shown(const TFieldEdit* edit)
    {
        QStringList rows;
        for (int i = 0; i < edit->LookupList()->count(); ++i)
            rows << edit->LookupList()->item(i)->text();
        return rows;
    }
    static bool Visible(const TFieldEdit* edit) { return edit->LookupWindow()->isVisible(); }
};

}  // namespace

TEST_F(FieldEditLookupTest, DisabledNeverShows)
{
    TFieldEdit* edit = LookupEdit({"apple"});
    edit->Lookup().Enabled = false;
    Type(edit, "ap");
    EXPECT_FALSE(Visible(edit));
    EXPECT_EQ(edit->LookupList()->count(), 0);
}

// The list shows from NumChars characters on, sorted without case, the first entry
// selected; the edit keeps the focus. No match hides it again.
TEST_F(FieldEditLookupTest, TypingFiltersSortsAndHides)
{
    TFieldEdit* edit = LookupEdit({"banana", "apricot", "Apple"});
    Type(edit, "a");
    EXPECT_FALSE(Visible(edit));
    Type(edit, "p");
    ASSERT_TRUE(Visible(edit));
    EXPECT_EQ(Shown(edit), (QStringList{"Apple", "apricot"}));
    EXPECT_EQ(edit->LookupList()->currentRow(), 0);
    EXPECT_TRUE(edit->hasFocus());
    const QPoint origin = edit->mapToGlobal(QPoint(0, 0));
    EXPECT_GE(edit->LookupWindow()->x(), origin.x() + 16);
    EXPECT_EQ(edit->LookupWindow()->height(), 2 * 12 + 4);
    EXPECT_EQ(edit->LookupWindow()->width(), 60);  // narrow entries: 50 + 10

    Type(edit, "x");
    EXPECT_FALSE(Visible(edit));

    edit->Lookup().CaseSensitive = true;
    edit->SetText("");
    Type(edit, "ap");
    EXPECT_EQ(Shown(edit), (QStringList{"apricot"}));
}

// Folding covers a-z only; NumChars ignores counts below 1.
TEST_F(FieldEditLookupTest, FoldingAndNumChars)
{
    TFieldEdit* edit = LookupEdit({"\xE4rger", "\xC4RGER"});
    edit->Lookup().SetNumChars(0);
    edit->Lookup().SetNumChars(-1);
    EXPECT_EQ(edit->Lookup().NumChars(), 2);
    edit->Lookup().SetNumChars(1);
    QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(0xE4)));  // ä
    QApplication::sendEvent(edit, &typed);
    EXPECT_EQ(Shown(edit), (QStringList{QString::fromUtf8("\xC3\xA4rger")}));
}

TEST_F(FieldEditLookupTest, ManyMatchesKeepDisplayCountRows)
{
    TFieldEdit* edit = LookupEdit({"ab1", "ab2", "ab3", "ab4", "ab5", "ab6", "ab7"});
    Type(edit, "ab");
    EXPECT_EQ(edit->LookupList()->count(), 7);
    EXPECT_EQ(edit->LookupWindow()->height(), 52);
}

// Home, End and the page keys only move the list; Up and Down move it and reach the
// edit as well; the ends stay where they are.
TEST_F(FieldEditLookupTest, ListKeys)
{
    TFieldEdit* edit = LookupEdit({"ab1", "ab2", "ab3", "ab4", "ab5", "ab6", "ab7"});
    Type(edit, "ab");
    QListWidget* list = edit->LookupList();
    QTest::keyClick(edit, Qt::Key_End);
    EXPECT_EQ(list->currentRow(), 6);
    EXPECT_EQ(edit->text(), "ab");
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(list->currentRow(), 6);
    QTest::keyClick(edit, Qt::Key_PageUp);
    EXPECT_EQ(list->currentRow(), 2);
    QTest::keyClick(edit, Qt::Key_PageUp);
    EXPECT_EQ(list->currentRow(), 0);
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(list->currentRow(), 0);
    QTest::keyClick(edit, Qt::Key_PageDown);
    EXPECT_EQ(list->currentRow(), 4);
    QTest::keyClick(edit, Qt::Key_PageDown);
    EXPECT_EQ(list->currentRow(), 6);
    QTest::keyClick(edit, Qt::Key_Home);
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(edit->cursorPosition(), 2);  // Home did not reach the edit
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_TRUE(Visible(edit));
}

// Enter takes the entry's value, where it has one, through the select event and the
// Text write; it goes no further (the parent gets no Enter).
TEST_F(FieldEditLookupTest, EnterTakesValueThroughEvent)
{
    TFieldEdit* edit = LookupEdit({"apple", "apricot"});
    edit->Lookup().ValueList = {"V-apple"};
    KeyCounter enter(panel, Qt::Key_Return);
    Type(edit, "ap");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_FALSE(Visible(edit));
    EXPECT_EQ(edit->Text(), "V-apple");
    EXPECT_EQ(edit->SelLength(), 7);
    QCoreApplication::processEvents();
    EXPECT_EQ(enter.presses, 0);

    edit->SetText("");
    Type(edit, "ap");
    QTest::keyClick(edit, Qt::Key_Down);
    std::string seen;
    edit->SetOnLookupSelect([&](TFieldEdit&, std::string& v) {
        seen = v;
        v = "changed";
    });
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(seen, "apricot");  // no value of its own: the entry itself
    EXPECT_EQ(edit->Text(), "changed");
}

TEST_F(FieldEditLookupTest, NumericEditTurnsChosenWordIntoZero)
{
    TFieldEdit* edit = LookupEdit({"12abc"});
    edit->SetEditType(TFieldEditType::etNumeric);
    edit->SelectEditableText();
    Type(edit, "12");
    ASSERT_EQ(edit->Text(), "12");
    ASSERT_TRUE(Visible(edit));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(edit->Text(), "0");
}

// A click on the list takes the entry under it; a Text write by code leaves the list.
TEST_F(FieldEditLookupTest, ClickTakesEntryAndCodeWritesLeaveList)
{
    TFieldEdit* edit = LookupEdit({"apple", "apricot"});
    Type(edit, "ap");
    edit->SetText("zz");
    EXPECT_TRUE(Visible(edit));
    EXPECT_EQ(edit->LookupList()->count(), 2);
    QListWidget* list = edit->LookupList();
    list->setCurrentRow(1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(edit->Text(), "apricot");
    EXPECT_FALSE(Visible(edit));
}

TEST_F(FieldEditLookupTest, FocusLossHidesList)
{
    TFieldEdit* edit = LookupEdit({"apple"});
    TFieldEdit* other = AddEdit(10, 60);
    other->show();
    Type(edit, "ap");
    ASSERT_TRUE(Visible(edit));
    Focus(other);
    EXPECT_FALSE(Visible(edit));
}

// Activating the popup (as a click does) gives the list the focus and keeps it shown;
// losing the activation hides it.
TEST_F(FieldEditLookupTest, PopupActivationMovesFocusToList)
{
    TFieldEdit* edit = LookupEdit({"apple"});
    Type(edit, "ap");
    ASSERT_TRUE(Visible(edit));
    edit->LookupWindow()->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([edit] { return edit->LookupWindow()->isActiveWindow(); }));
    EXPECT_TRUE(edit->LookupList()->hasFocus());
    EXPECT_TRUE(Visible(edit));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([this] { return window->isActiveWindow(); }));
    EXPECT_FALSE(Visible(edit));
}
