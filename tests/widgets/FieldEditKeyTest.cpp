#include "FieldEditFixture.h"

#include <random>

namespace {

using ET = TFieldEditType;

// An address box of the assign-IP dialog: digits only, moves on after the third.
TFieldEdit* MakeAddressBox(TFieldEdit* edit)
{
    edit->SetEditType(ET::etNumeric);
    edit->SetText("");
    edit->SetLengthLimit(3);
    edit->SetTabOnFullLength(true);
    edit->SetMaxLength(3);
    return edit;
}

TEST_F(FieldEditTest, AddressBoxAdvancesAfterItsThirdDigit)
{
    TFieldEdit* first = MakeAddressBox(AddEdit(10, 10, 30));
    TFieldEdit* second = MakeAddressBox(AddEdit(45, 10, 30));
    Show();
    Focus(first);
    Type(first, "1x9");
    EXPECT_EQ(first->Text(), "19");
    // The completing digit goes in before the focus moves; a fourth typed before the
    // queued move is handled is dropped.
    Type(first, "24");
    EXPECT_EQ(first->Text(), "192");
    EXPECT_TRUE(first->hasFocus());
    ASSERT_TRUE(QTest::qWaitFor([&] { return second->hasFocus(); }));
    EXPECT_EQ(first->Text(), "192");
    Type(second, "168");
    EXPECT_EQ(second->Text(), "168");
}

TEST_F(FieldEditTest, FullAddressBoxRules)
{
    TFieldEdit* box = MakeAddressBox(AddEdit(10, 10, 30));
    TFieldEdit* next = AddEdit(50, 10);
    Show();
    box->SetText("192");
    Focus(box);
    // Caret at 0, nothing selected: every digit is dropped.
    box->SetSel(0, 0);
    Type(box, "5");
    EXPECT_EQ(box->Text(), "192");
    QCoreApplication::processEvents();
    EXPECT_TRUE(box->hasFocus());
    // The middle digit selected: replaced, the focus stays.
    box->SetSel(1, 1);
    Type(box, "5");
    EXPECT_EQ(box->Text(), "152");
    QCoreApplication::processEvents();
    EXPECT_TRUE(box->hasFocus());
    // Backspace and Delete work in a full field.
    box->SetSel(3, 0);
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(box->Text(), "15");
    box->SetSel(0, 0);
    QTest::keyClick(box, Qt::Key_Delete);
    EXPECT_EQ(box->Text(), "5");
    // The last digit selected: replaced, and the caret at 3 moves the focus on.
    box->SetText("192");
    box->SetSel(2, 1);
    Type(box, "7");
    EXPECT_EQ(box->Text(), "197");
    ASSERT_TRUE(QTest::qWaitFor([&] { return next->hasFocus(); }));
}

TEST_F(FieldEditTest, DecimalPointAtTheEndOfAFullFieldFollowsTheLocale)
{
    TFieldEdit* box = MakeAddressBox(AddEdit(10, 10, 30));
    TFieldEdit* next = AddEdit(50, 10);
    Show();
    box->SetText("192");
    Focus(box);
    box->SetSel(3, 0);
    // "." is the decimal separator: the filter drops it, the field still moves on.
    Type(box, ".");
    EXPECT_EQ(box->Text(), "192");
    ASSERT_TRUE(QTest::qWaitFor([&] { return next->hasFocus(); }));

    SetLocaleSeparatorsForTesting(',', '.');
    Focus(box);
    box->SetSel(3, 0);
    Type(box, ".");
    QCoreApplication::processEvents();
    EXPECT_TRUE(box->hasFocus());
}

TEST_F(FieldEditTest, MacBoxTakesHexDigitsAndMovesOnAfterTheSecond)
{
    TFieldEdit* mac = AddEdit(10, 10, 30);
    mac->SetEditType(ET::etHex);
    mac->SetText("");
    mac->SetLengthLimit(2);
    mac->SetTabOnFullLength(true);
    TFieldEdit* next = AddEdit(50, 10);
    Show();
    Focus(mac);
    Type(mac, "zg-");
    EXPECT_EQ(mac->Text(), "-");
    QTest::keyClick(mac, Qt::Key_Backspace);
    Type(mac, "a");
    EXPECT_EQ(mac->Text(), "a");  // typed letters stay as typed
    Type(mac, "b");
    EXPECT_EQ(mac->Text(), "ab");
    ASSERT_TRUE(QTest::qWaitFor([&] { return next->hasFocus(); }));
    mac->SetText("ab");
    EXPECT_EQ(mac->Text(), "AB");  // written text is upper-cased
}

TEST_F(FieldEditTest, ControlKeysByEditType)
{
    TFieldEdit* hex = AddEdit(10, 10);
    hex->SetEditType(ET::etHex);
    TFieldEdit* numeric = AddEdit(10, 40);
    numeric->SetEditType(ET::etNumeric);
    Show();
    QApplication::clipboard()->setText("77");
    // In a hexadecimal edit Ctrl+V, Ctrl+C and Ctrl+X do nothing.
    Focus(hex);
    hex->SetText("AB");
    hex->SetSel(0, 2);
    QTest::keyClick(hex, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(hex, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(hex, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(hex->Text(), "AB");
    EXPECT_EQ(QApplication::clipboard()->text(), "77");
    // In a numeric edit Ctrl+H deletes like Backspace and Ctrl+V pastes.
    Focus(numeric);
    numeric->SetText("123");
    numeric->SetSel(3, 0);
    QTest::keyClick(numeric, Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(numeric->Text(), "12");
    QTest::keyClick(numeric, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(numeric->Text(), "1277");
    // A password is neither copied nor cut.
    numeric->SetEditType(ET::etPassword);
    numeric->SetText("secret");
    numeric->SetSel(0, 6);
    QTest::keyClick(numeric, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(numeric->Text(), "secret");
    EXPECT_EQ(QApplication::clipboard()->text(), "77");
}

TEST_F(FieldEditTest, SignedNumericTogglesTheSign)
{
    TFieldEdit* edit = AddEdit(10, 10);
    edit->SetEditType(ET::etNumeric);
    Show();
    edit->SetText("42");
    Focus(edit);
    edit->SetSel(1, 0);
    Type(edit, "-");
    EXPECT_EQ(edit->Text(), "42");  // unsigned: dropped
    edit->SetSigned(true);
    Type(edit, "-");
    EXPECT_EQ(edit->Text(), "-42");
    EXPECT_EQ(edit->SelStart(), 2);
    EXPECT_TRUE(edit->Modified());
    Type(edit, "-");
    EXPECT_EQ(edit->Text(), "42");
    EXPECT_EQ(edit->SelStart(), 1);
}

TEST_F(FieldEditTest, EnterAsTabAndEnterForwarding)
{
    QWidget* inner = new QWidget(panel);
    inner->setGeometry(0, 0, 300, 100);
    auto* plate = new TFieldEdit(inner);
    plate->SetBounds(10, 10, 100, 21);
    plate->SetReturnIsTab(true);
    auto* number = new TFieldEdit(inner);
    number->SetBounds(120, 10, 100, 21);
    int enters = 0;
    number->SetOnKeyPress([&](TFieldEdit&, char& key) { enters += key == '\r'; });
    KeyCounter innerEnter(inner, Qt::Key_Return);
    Show();
    Focus(plate);
    Type(plate, "AB");
    QTest::keyClick(plate, Qt::Key_Return);
    EXPECT_EQ(plate->Text(), "AB");
    ASSERT_TRUE(QTest::qWaitFor([&] { return number->hasFocus(); }));
    EXPECT_EQ(innerEnter.presses, 0) << "Enter-as-Tab is not handed on as Enter";
    // Without Enter-as-Tab the focus stays, nothing is inserted, the handler sees it once
    // and the parent gets the Enter.
    QTest::keyClick(number, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_TRUE(number->hasFocus());
    EXPECT_EQ(number->Text(), "");
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(innerEnter.presses, 1);
    EXPECT_EQ(innerEnter.releases, 1);
}

TEST_F(FieldEditTest, EnterIsNotPostedToAFormWithKeyPreview)
{
    auto* edit = new TFieldEdit(window.get());
    edit->SetBounds(10, 150, 100, 21);
    window->setProperty("KeyPreview", true);
    KeyCounter windowEnter(window.get(), Qt::Key_Return);
    Show();
    Focus(edit);
    QTest::keyClick(edit, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(windowEnter.presses, 0);
}

TEST_F(FieldEditTest, EscRestoresTheTextOfFocusGainAndTellsTheParent)
{
    TFieldEdit* edit = AddEdit(10, 10);
    edit->SetText("abc");
    KeyCounter panelEsc(panel, Qt::Key_Escape);
    Show();
    Focus(edit);
    edit->SetSel(3, 0);
    Type(edit, "de");
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Home);
    Type(edit, "x");
    EXPECT_EQ(edit->Text(), "xabcd");
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(edit->Text(), "abc");
    EXPECT_EQ(edit->SelStart(), 0);
    EXPECT_EQ(edit->SelLength(), 3);
    EXPECT_FALSE(edit->Modified());
    ASSERT_TRUE(QTest::qWaitFor([&] { return panelEsc.releases == 1; }));
    EXPECT_EQ(panelEsc.presses, 1);

    // Without CanUndo, Esc changes nothing in the edit.
    edit->SetCanUndo(false);
    edit->SetSel(3, 0);
    Type(edit, "z");
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(edit->Text(), "abcz");
}

TEST_F(FieldEditTest, CaretStaysBeforeTheSuffix)
{
    TFieldEdit* edit = AddEdit(10, 10, 150);
    edit->SetEditType(ET::etNumeric);
    edit->SetSuffix(" bits");
    edit->SetText("26");
    TFieldEdit* other = AddEdit(10, 40);
    Show();
    Focus(edit);
    EXPECT_EQ(edit->SelStart(), 0);  // focus selects "26" only
    EXPECT_EQ(edit->SelLength(), 2);
    QTest::keyClick(edit, Qt::Key_End);
    EXPECT_EQ(edit->SelStart(), 2);
    EXPECT_EQ(edit->SelLength(), 0);
    QTest::keyClick(edit, Qt::Key_Right);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClick(edit, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(edit->SelStart(), 2);
    EXPECT_EQ(edit->WindowText(), "26 bits");
    edit->SetSel(0, 0);
    QTest::keyClick(edit, Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(edit->SelStart(), 0);
    EXPECT_EQ(edit->SelLength(), 2);
    // A click inside " bits" leaves the caret after "26".
    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(edit->width() - 4, 10));
    EXPECT_EQ(edit->SelStart(), 2);
    EXPECT_EQ(edit->SelLength(), 0);
    // Select-all by keyboard selects the number only; typing keeps the suffix.
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    Type(edit, "30");
    EXPECT_EQ(edit->WindowText(), "30 bits");
    // An emptied numeric field reads "0" once left, through a change.
    int changes = 0;
    edit->SetOnChange([&](TFieldEdit&) { ++changes; });
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->Text(), "");
    Focus(other);
    EXPECT_EQ(edit->WindowText(), "0 bits");
    EXPECT_EQ(changes, 3);
}

TEST_F(FieldEditTest, ClickInsideTheSelectionPlacesTheCaretOnRelease)
{
    TFieldEdit* edit = AddEdit(10, 10, 150);
    edit->SetText("hello world");
    Show();
    Focus(edit);
    edit->SetSel(0, 11);
    int x = 0;
    while (x < edit->width() && edit->CharFromPos(QPoint(x, 10)) < 3)
        ++x;
    QTest::mousePress(edit, Qt::LeftButton, {}, QPoint(x, 10));
    EXPECT_EQ(edit->SelLength(), 11);
    QTest::mouseMove(edit, QPoint(x + 20, 10));
    EXPECT_EQ(edit->SelLength(), 11);
    QTest::mouseRelease(edit, Qt::LeftButton, {}, QPoint(x, 10));
    EXPECT_EQ(edit->SelLength(), 0);
    EXPECT_EQ(edit->SelStart(), 3);
}

TEST_F(FieldEditTest, FloatDecimalsOvertypeAndTheSeparatorJumps)
{
    TFieldEdit* edit = AddEdit(10, 10);
    edit->SetEditType(ET::etFloat);
    edit->SetPrecision(2);
    Show();
    edit->SetText("1.25");
    Focus(edit);
    edit->SetSel(3, 0);
    Type(edit, "7");
    EXPECT_EQ(edit->Text(), "1.27");
    edit->SetSel(4, 0);
    Type(edit, "9");
    EXPECT_EQ(edit->Text(), "1.27");
    edit->SetSel(0, 0);
    Type(edit, ".");
    EXPECT_EQ(edit->Text(), "1.27");
    EXPECT_EQ(edit->SelStart(), 2);
}

// Whatever is typed, the prefix and suffix survive, the caret stays between them and a
// numeric edit holds digits only.
TEST_F(FieldEditTest, RandomKeysKeepTheEditConsistent)
{
    TFieldEdit* edit = AddEdit(10, 10, 200);
    edit->SetEditType(ET::etNumeric);
    edit->SetPrefix("<");
    edit->SetSuffix(" bits");
    edit->SetText("12");
    edit->SetLengthLimit(4);
    Show();
    Focus(edit);
    QApplication::clipboard()->setText("99x");
    const Qt::Key keys[] = {Qt::Key_1,         Qt::Key_5,      Qt::Key_A,      Qt::Key_Minus,
                            Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Left,   Qt::Key_Right,
                            Qt::Key_Home,      Qt::Key_End,    Qt::Key_Period, Qt::Key_V,
                            Qt::Key_Z,         Qt::Key_Insert};
    const Qt::KeyboardModifiers mods[] = {Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier};
    std::mt19937 random(7);
    for (int i = 0; i < 2000; ++i) {
        const Qt::Key key = keys[random() % std::size(keys)];
        const Qt::KeyboardModifiers mod = mods[random() % std::size(mods)];
        QTest::keyClick(edit, key, mod);
        if (i % 50 == 0)
            QTest::mouseClick(edit, Qt::LeftButton, {},
                              QPoint(static_cast<int>(random() % 200), 10));
        const std::string w = edit->WindowText();
        ASSERT_TRUE(w.starts_with("<") && w.ends_with(" bits")) << w << " after " << i;
        const std::string text = edit->Text();
        ASSERT_TRUE(text.find_first_not_of("0123456789") == std::string::npos) << text;
        ASSERT_GE(edit->SelStart(), 1);
        ASSERT_LE(edit->SelStart() + edit->SelLength(), 1 + static_cast<int>(text.size()));
    }
}

}  // namespace
