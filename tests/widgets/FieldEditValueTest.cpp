#include "FieldEditFixture.h"
#include "widgets/FieldEditModule.h"

#include <QRegularExpression>

namespace {

using ET = TFieldEditType;

TEST_F(FieldEditTest, NewEditHasItsInitialValues)
{
    TFieldEdit* edit = AddEdit(10, 10);
    EXPECT_EQ(edit->EditType(), ET::etString);
    EXPECT_EQ(edit->EditAlign(), TEditAlign::eaLeft);
    EXPECT_EQ(edit->LabelMargin(), 4);
    EXPECT_EQ(edit->LabelPosition(), TLabelPosition::lpLeftTop);
    EXPECT_TRUE(edit->CanUndo());
    EXPECT_TRUE(edit->AutoSelect());
    EXPECT_TRUE(edit->AutoThousandSeparator());
    EXPECT_EQ(edit->DisabledColor(), 0xC0C0C0);
    EXPECT_EQ(edit->ErrorColor(), 0x0000FF);
    EXPECT_EQ(edit->ErrorFontColor(), 0xFFFFFF);
    EXPECT_EQ(edit->FocusColor(), clWindow);
    EXPECT_EQ(edit->FocusFontColor(), clWindowText);
    EXPECT_EQ(edit->Color(), clWindow);
    EXPECT_EQ(edit->SavedFontColor(), clWindowText);
    EXPECT_EQ(edit->ModifiedColor(), clHighlight);
    EXPECT_EQ(edit->URLColor(), 0xFF0000);
    EXPECT_EQ(edit->FocusAlign(), TEditAlign::eaDefault);
    EXPECT_EQ(edit->DropCaretPos(), QPoint(-1, -1));
    EXPECT_EQ(edit->AttachedLabel(), nullptr);
    EXPECT_EQ(edit->LabelCaption(), "");
    EXPECT_FALSE(edit->ErrorState());
    EXPECT_FALSE(edit->ShowError());
    EXPECT_EQ(edit->LengthLimit(), 0);
    EXPECT_EQ(edit->MaxLength(), 0);
    EXPECT_EQ(edit->Lookup().NumChars(), 2);
    EXPECT_EQ(edit->Lookup().DisplayCount, 4);
    EXPECT_FALSE(edit->Persistence().Enable);
    EXPECT_EQ(edit->Text(), "");
}

TEST_F(FieldEditTest, IntegerValueReadsByEditType)
{
    TFieldEdit* edit = AddEdit(10, 10);
    edit->SetWindowText("42");
    EXPECT_EQ(edit->IntegerValue(), 0);  // a text edit has no integer value
    edit->SetIntegerValue(7);
    EXPECT_EQ(edit->Text(), "42");
    EXPECT_TRUE(edit->Modified());

    edit->SetEditType(ET::etNumeric);
    for (const auto& [text, value] :
         {std::pair<const char*, int>{"", 0}, {"255", 255}, {"12a", 12}, {"-7", -7}, {"-7a", 7}}) {
        edit->SetWindowText(text);  // as a paste or a stored text may leave it
        EXPECT_EQ(edit->IntegerValue(), value) << text;
    }
    edit->SetEditType(ET::etHex);
    edit->SetWindowText("");
    EXPECT_EQ(edit->IntegerValue(), 0);
    edit->SetWindowText("4a");
    EXPECT_EQ(edit->IntegerValue(), 74);
}

TEST_F(FieldEditTest, IntegerValueWritesByEditType)
{
    TFieldEdit* edit = AddEdit(10, 10);
    edit->SetEditType(ET::etHex);
    edit->SetIntegerValue(255);
    EXPECT_EQ(edit->Text(), "FF");
    EXPECT_TRUE(edit->Modified());
    edit->SetIntegerValue(-1);
    EXPECT_EQ(edit->Text(), "FFFFFFFF");
    edit->SetEditType(ET::etNumeric);
    edit->SetIntegerValue(255);
    EXPECT_EQ(edit->Text(), "255");
    edit->SetEditType(ET::etMoney);
    edit->SetIntegerValue(1234567);
    EXPECT_EQ(edit->Text(), "1,234,567");
    EXPECT_EQ(edit->IntegerValue(), 1234567);
}

TEST_F(FieldEditTest, TextWriteChecksTheValueByEditType)
{
    TFieldEdit* edit = AddEdit(10, 10);
    edit->SetEditType(ET::etNumeric);
    edit->SetText("12a");
    EXPECT_EQ(edit->WindowText(), "0");
    edit->SetText("");
    EXPECT_EQ(edit->WindowText(), "");  // the empty text is taken, no "0"
    edit->SetText("-15");
    EXPECT_EQ(edit->Text(), "-15");

    edit->SetEditType(ET::etHex);
    edit->SetText("0a");
    EXPECT_EQ(edit->WindowText(), "0A");
    edit->SetText("00-20-4A");  // two minus signs
    EXPECT_EQ(edit->WindowText(), "0");
    edit->SetText("xyz");
    EXPECT_EQ(edit->WindowText(), "0");

    edit->SetEditType(ET::etString);
    edit->SetText("any text \xE4");
    EXPECT_EQ(edit->Text(), "any text \xE4");
    EXPECT_FALSE(edit->Modified());  // a text written by program is not modified
}

TEST_F(FieldEditTest, ChangingTheEditTypeChecksTheText)
{
    TFieldEdit* edit = AddEdit(10, 10);
    edit->SetText("abc");
    edit->SetEditType(ET::etNumeric);
    EXPECT_EQ(edit->Text(), "0");

    TFieldEdit* hex = AddEdit(10, 40);
    hex->SetText("1F");
    hex->SetEditType(ET::etHex);
    EXPECT_EQ(hex->Text(), "1F");

    TFieldEdit* empty = AddEdit(10, 70);
    empty->SetEditType(ET::etNumeric);
    EXPECT_EQ(empty->Text(), "0");

    TFieldEdit* password = AddEdit(10, 100);
    password->SetText("secret");
    password->SetEditType(ET::etPassword);
    EXPECT_FALSE(password->CanUndo());
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    password->SetCanUndo(true);
    EXPECT_FALSE(password->CanUndo());
    EXPECT_EQ(password->Text(), "secret");
}

TEST_F(FieldEditTest, SuffixStaysOutsideTheText)
{
    TFieldEdit* edit = AddEdit(10, 10);
    edit->SetEditType(ET::etNumeric);
    edit->SetSuffix(" bits");
    edit->SetText("26");
    EXPECT_EQ(edit->WindowText(), "26 bits");
    EXPECT_EQ(edit->Text(), "26");
    EXPECT_EQ(edit->IntegerValue(), 26);

    // A new suffix keeps the number and goes behind it.
    edit->SetSuffix(" b");
    EXPECT_EQ(edit->WindowText(), "26 b");

    // A window text shorter than the suffix is returned whole.
    edit->SetSuffix(" bits");
    edit->SetWindowText("ab");
    EXPECT_EQ(edit->Text(), "ab");

    TFieldEdit* prefixed = AddEdit(10, 40);
    prefixed->SetPrefix("$ ");
    prefixed->SetText("12");
    EXPECT_EQ(prefixed->WindowText(), "$ 12");
    EXPECT_EQ(prefixed->Text(), "12");
}

TEST_F(FieldEditTest, TextChangeRunsChangeOnceAndValidation)
{
    TFieldEdit* edit = AddEdit(10, 10);
    int changes = 0;
    edit->SetOnChange([&](TFieldEdit&) { ++changes; });
    edit->SetShowError(true);
    edit->SetOnValueValidate(
        [](TFieldEdit&, const std::string& value, bool& isValid) { isValid = value != "bad"; });
    edit->SetText("bad");
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(edit->ErrorState());
    EXPECT_EQ(edit->Color(), clRed);
    EXPECT_EQ(edit->FontColor(), clWhite);
    edit->SetText("good");
    EXPECT_EQ(changes, 2);
    EXPECT_FALSE(edit->ErrorState());
    EXPECT_EQ(edit->Color(), clWindow);
    EXPECT_EQ(edit->FontColor(), clWindowText);
}

TEST_F(FieldEditTest, DecimalValueFormatsWithPrecision)
{
    TFieldEdit* edit = AddEdit(10, 10);
    edit->SetEditType(ET::etFloat);
    edit->SetPrecision(2);
    edit->SetText("1.5");
    EXPECT_EQ(edit->Text(), "1.50");
    EXPECT_DOUBLE_EQ(edit->DecimalValue(), 1.5);
    edit->SetDecimalValue(1234.567);
    EXPECT_EQ(edit->Text(), "1234.57");

    TFieldEdit* money = AddEdit(10, 40);
    money->SetEditType(ET::etMoney);
    money->SetPrecision(2);
    money->SetDecimalValue(1234567.5);
    EXPECT_EQ(money->Text(), "1,234,567.50");
    EXPECT_DOUBLE_EQ(money->DecimalValue(), 1234567.5);

    // Precision belongs to the decimal types only.
    TFieldEdit* numeric = AddEdit(10, 70);
    numeric->SetEditType(ET::etNumeric);
    numeric->SetPrecision(3);
    EXPECT_EQ(numeric->Precision(), 0);
    numeric->SetDecimalValue(1234);
    EXPECT_EQ(numeric->Text(), "1234");
}

TEST_F(FieldEditTest, LoadingHoldsBackStateChanges)
{
    TFieldEdit* edit = new TFieldEdit(panel);
    edit->BeginLoad();
    int validations = 0;
    edit->SetOnValueValidate([&](TFieldEdit&, const std::string&, bool&) { ++validations; });
    edit->SetShowError(true);
    edit->SetLabelCaption("Caption:");
    edit->SetErrorState(true);
    edit->SetBounds(20, 40, 100, 25);
    edit->SetHeight(21);
    edit->SetColor(0xF0F0F0);
    edit->SetEnabled(false);
    edit->SetText("x");
    EXPECT_FALSE(edit->ErrorState());
    EXPECT_EQ(validations, 0);
    EXPECT_EQ(edit->Color(), 0xF0F0F0);
    edit->Loaded();
    EXPECT_FALSE(edit->Loading());
    EXPECT_EQ(edit->height(), 21);
    EXPECT_EQ(edit->Color(), 0xC0C0C0);
    EXPECT_EQ(edit->SavedColor(), 0xF0F0F0);
    edit->SetText("y");
    EXPECT_EQ(validations, 1);
}

TEST_F(FieldEditTest, EditStoredDisabledPaintsDisabledColourWithEnabledLabel)
{
    TFieldEdit* edit = new TFieldEdit(panel);
    edit->BeginLoad();
    edit->SetLabelCaption("Label");
    edit->SetEnabled(false);
    edit->Loaded();
    EXPECT_EQ(edit->Color(), 0xC0C0C0);
    EXPECT_EQ(edit->SavedColor(), clWindow);
    ASSERT_NE(edit->AttachedLabel(), nullptr);
    EXPECT_TRUE(edit->AttachedLabel()->isEnabled());
    edit->SetEnabled(true);
    EXPECT_EQ(edit->Color(), clWindow);
}

TEST(FieldEditModule, StartsOleAndReportsAFailure)
{
    // The module initialised OLE when the program started.
    EXPECT_EQ(ole::OleInitialize(), ole::S_FALSE);
    ole::OleUninitialize();
    EXPECT_NO_THROW(CheckOleInitialize(ole::S_OK));
    EXPECT_NO_THROW(CheckOleInitialize(ole::S_FALSE));
    try {
        CheckOleInitialize(ole::E_FAIL);
        FAIL() << "no assertion";
    } catch (const EAssertionFailed& e) {
        EXPECT_TRUE(
            QRegularExpression(R"(^OleInitialize failed \(\$80004005\) \(FieldEdit, line \d+\)$)")
                .match(QString::fromLatin1(e.what()))
                .hasMatch())
            << e.what();
    }
}

}  // namespace
