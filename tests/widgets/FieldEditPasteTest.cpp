#include "FieldEditFixture.h"

#include <QClipboard>
#include <QMenu>
#include <QTimer>

namespace {

using ET = TFieldEditType;

class FieldEditPaste : public FieldEditTest {
protected:
    TFieldEdit* FocusedEdit(ET type, const std::string& text)
    {
        TFieldEdit* edit = AddEdit(10, 10, 150);
        edit->SetEditType(type);
        edit->SetText(text);
        Show();
        Focus(edit);
        return edit;
    }
    // Ctrl+V is a typed character that the edit type may drop; Shift+Insert always
    // reaches the paste.
    static void Paste(TFieldEdit* edit, const QString& clip, Qt::Key key = Qt::Key_V,
                      Qt::KeyboardModifier mod = Qt::ControlModifier)
    {
        QApplication::clipboard()->setText(clip);
        QTest::keyClick(edit, key, mod);
    }
};

TEST_F(FieldEditPaste, NumericTakesDigitsOnly)
{
    TFieldEdit* edit = FocusedEdit(ET::etNumeric, "");
    edit->SetText("");
    Paste(edit, "123");
    EXPECT_EQ(edit->Text(), "123");
    EXPECT_EQ(edit->SelStart(), 3);
    EXPECT_TRUE(edit->Modified());
    edit->SetText("");
    Paste(edit, "12.5");
    EXPECT_EQ(edit->Text(), "");
    Paste(edit, "1 2");
    EXPECT_EQ(edit->Text(), "");
}

TEST_F(FieldEditPaste, PasteIsNotLimitedByTheTypingLimits)
{
    TFieldEdit* edit = FocusedEdit(ET::etNumeric, "");
    edit->SetText("");
    edit->SetMaxLength(3);
    edit->SetLengthLimit(3);
    Paste(edit, "1234");
    EXPECT_EQ(edit->Text(), "1234");
}

TEST_F(FieldEditPaste, ReplacesTheSelectionAndKeepsThePastedTextSelected)
{
    TFieldEdit* edit = FocusedEdit(ET::etNumeric, "1234");
    edit->SetSel(1, 2);
    Paste(edit, "9");
    EXPECT_EQ(edit->Text(), "194");
    EXPECT_EQ(edit->SelStart(), 1);
    EXPECT_EQ(edit->SelLength(), 1);
}

TEST_F(FieldEditPaste, RefusedPasteStillMovesTheCaret)
{
    TFieldEdit* edit = FocusedEdit(ET::etNumeric, "12345");
    edit->SetSel(1, 0);
    Paste(edit, "abc");
    EXPECT_EQ(edit->Text(), "12345");
    EXPECT_EQ(edit->SelStart(), 4);
    edit->SetSel(3, 0);
    Paste(edit, "abc");
    EXPECT_EQ(edit->SelStart(), 5);  // no further than the end of the text
}

TEST_F(FieldEditPaste, HexIgnoresPasteFromKeysAndMenu)
{
    TFieldEdit* edit = FocusedEdit(ET::etHex, "0A");
    Paste(edit, "FF");
    EXPECT_EQ(edit->Text(), "0A");
    QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(edit->Text(), "0A");
    bool pasteOffered = false;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction* action : menu->actions())
            if (action->text() == "&Paste" && action->isEnabled()) {
                pasteOffered = true;
                action->trigger();
            }
        menu->close();
    });
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5),
                                edit->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(edit, &menuEvent);
    EXPECT_TRUE(pasteOffered);
    EXPECT_EQ(edit->Text(), "0A");
}

TEST_F(FieldEditPaste, ContextMenuPasteOfATextEditGoesThroughTheRules)
{
    TFieldEdit* edit = FocusedEdit(ET::etString, "");
    edit->SetSuffix(" bits");
    edit->SetSel(0, 0);
    QApplication::clipboard()->setText("ab");
    QTimer::singleShot(0, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* action : menu->actions())
                if (action->text() == "Select &All")
                    action->trigger();
            menu->close();
        }
    });
    edit->SetText("xy");
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5),
                                edit->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(edit, &menuEvent);
    EXPECT_EQ(edit->SelStart(), 0);
    EXPECT_EQ(edit->SelLength(), 2);  // the suffix is never selected
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->WindowText(), "ab bits");
}

TEST_F(FieldEditPaste, AlphaNumericAndCaseTypes)
{
    TFieldEdit* edit = FocusedEdit(ET::etAlphaNumeric, "");
    Paste(edit, "ab12");
    EXPECT_EQ(edit->Text(), "");  // no Ctrl exception: Ctrl+V is dropped
    Paste(edit, "ab12", Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(edit->Text(), "ab12");
    Paste(edit, "a-b", Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(edit->Text(), "ab12");
    edit->SetEditType(ET::etMixedCase);
    edit->SetText("");
    Paste(edit, "old mcdonald");
    EXPECT_EQ(edit->Text(), "Old McDonald");
    edit->SetEditType(ET::etUppercase);
    edit->SetText("");
    Paste(edit, QString::fromUtf8("stra\u00dfe \u00e4"));
    EXPECT_EQ(edit->Text(), "STRASE \xC4");  // one character for one
}

TEST_F(FieldEditPaste, ClipboardEventsCanStopTheOperation)
{
    TFieldEdit* edit = FocusedEdit(ET::etString, "hello");
    std::string seen;
    bool allow = true;
    const auto handler = [&](TFieldEdit&, const std::string& value, bool& a) {
        seen = value;
        a = allow;
    };
    edit->SetOnClipboardCopy(handler);
    edit->SetOnClipboardCut(handler);
    edit->SetOnClipboardPaste(handler);
    QApplication::clipboard()->setText("before");
    edit->SetSel(1, 3);
    allow = false;
    QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(seen, "ell");
    EXPECT_EQ(QApplication::clipboard()->text(), "before");
    QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(edit->Text(), "hello");
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->Text(), "hello");
    allow = true;
    QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(edit->Text(), "ho");
    EXPECT_EQ(QApplication::clipboard()->text(), "ell");
}

// Clipboard text of any length and content leaves a consistent edit.
TEST_F(FieldEditPaste, AnyClipboardTextIsHandled)
{
    TFieldEdit* edit = FocusedEdit(ET::etString, "");
    edit->SetPrefix("[");
    edit->SetSuffix("]");
    edit->SetText("");
    edit->SetSel(1, 0);
    QString huge(200000, QChar('x'));
    Paste(edit, huge);
    EXPECT_EQ(edit->Text().size(), 200000u);
    EXPECT_EQ(edit->WindowText().back(), ']');
    edit->SetText("");
    edit->SetSel(1, 0);
    // The text ends at a zero; characters without a Windows-1252 code become "?".
    Paste(edit, QString::fromUtf8("a\u20ac\u4e2d\r\nb") + QChar(0) + "tail");
    EXPECT_EQ(edit->Text(), "a\x80?\r\nb");
    EXPECT_EQ(edit->WindowText(), "[a\x80?\r\nb]");
    EXPECT_GE(edit->SelStart(), 1);

    TFieldEdit* numeric = AddEdit(10, 50);
    numeric->SetEditType(ET::etNumeric);
    numeric->SetText("5");
    numeric->show();
    Focus(numeric);
    Paste(numeric, huge);
    EXPECT_EQ(numeric->Text(), "5");
    QApplication::clipboard()->clear();
    QTest::keyClick(numeric, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(numeric->Text(), "5");
}

}  // namespace
