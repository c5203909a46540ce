#include "FieldEditFixture.h"

#include "platform/toolkit/TAlign.h"

#include <QFontMetrics>
#include <QImage>
#include <QLabel>

namespace {

using LP = TLabelPosition;

// Places the label of an edit at (125, 25), 100 by 21, with the label made lw by lh
// (as the system's font would size it) before the placement.
QPoint PlaceLabel(TFieldEdit* edit, LP position, int margin, int lw, int lh)
{
    edit->SetBounds(125, 25, 100, 21);
    edit->SetLabelPosition(position);
    edit->SetLabelMargin(margin);
    edit->AttachedLabel()->resize(lw, lh);
    edit->UpdateLabelPosition();
    return edit->AttachedLabel()->pos();
}

TEST_F(FieldEditTest, LabelPositionsAroundTheEdit)
{
    TFieldEdit* edit = AddEdit(125, 25);
    edit->SetLabelCaption("Caption:");
    const int tw = QFontMetrics(edit->LabelFont()).horizontalAdvance("Caption:");
    struct Row {
        LP position;
        QPoint expected;
    };
    // L 125, T 25, W 100, H 21, label 30 by 13, margin 3.
    const Row rows[] = {
        {LP::lpLeftTop, {125 - tw - 3, 25}},
        {LP::lpLeftCenter, {125 - tw - 3, 29}},
        {LP::lpLeftBottom, {125 - tw - 3, 33}},
        {LP::lpTopLeft, {125, 9}},
        {LP::lpBottomLeft, {125, 49}},
        {LP::lpLeftTopLeft, {122, 25}},
        {LP::lpLeftCenterLeft, {122, 29}},
        {LP::lpLeftBottomLeft, {122, 33}},
        {LP::lpTopCenter, {160, 9}},
        {LP::lpBottomCenter, {160, 49}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(PlaceLabel(edit, row.position, 3, 30, 13), row.expected)
            << static_cast<int>(row.position);
}

TEST_F(FieldEditTest, AddressSeparatorLabelsSitInTheGaps)
{
    TFieldEdit* box = AddEdit(125, 25, 30);
    box->SetLabelCaption(".");
    EXPECT_EQ(PlaceLabel(box, LP::lpLeftCenterLeft, 4, 3, 13), QPoint(121, 29));
    TFieldEdit* mac = AddEdit(50, 25, 30);
    mac->SetLabelCaption("-");
    mac->AttachedLabel()->resize(4, 13);
    mac->SetLabelPosition(LP::lpLeftCenterLeft);
    mac->SetLabelMargin(7);
    EXPECT_EQ(mac->AttachedLabel()->x(), 43);
}

TEST_F(FieldEditTest, LabelPlacementEdges)
{
    TFieldEdit* edit = AddEdit(125, 100);
    edit->SetLabelCaption("Wiegand output length:");
    // A label taller than the edit is centred too: half of -9 rounds down to -5.
    edit->SetBounds(125, 100, 100, 21);
    edit->AttachedLabel()->resize(40, 30);
    edit->SetLabelPosition(LP::lpLeftCenter);
    EXPECT_EQ(edit->AttachedLabel()->y(), 95);
    // lpLeftTop: the label's right edge lies LabelMargin pixels left of the edit.
    edit->SetLabelPosition(LP::lpLeftTop);
    QLabel* label = edit->AttachedLabel();
    EXPECT_EQ(label->x() + label->width(), 125 - 4);
    // Moving the edit moves its label.
    Show();
    edit->SetLabelPosition(LP::lpTopLeft);
    edit->SetLabelMargin(3);
    edit->move(10, 60);
    EXPECT_EQ(label->x(), 10);
    EXPECT_EQ(label->y(), 60 - label->height() - 3);
    // An empty caption still creates a label.
    TFieldEdit* other = AddEdit(10, 200);
    other->SetLabelCaption("");
    EXPECT_NE(other->AttachedLabel(), nullptr);
}

TEST_F(FieldEditTest, LabelFollowsVisibleAndEnabled)
{
    TFieldEdit* edit = AddEdit(100, 50);
    edit->SetLabelCaption("Number Plate:");
    Show();
    QLabel* label = edit->AttachedLabel();
    EXPECT_TRUE(label->isVisible());
    edit->SetVisible(false);
    EXPECT_FALSE(label->isVisible());
    edit->SetVisible(true);
    EXPECT_TRUE(label->isVisible());
    edit->SetEnabled(false);
    EXPECT_FALSE(label->isEnabled());
    edit->SetEnabled(true);
    EXPECT_TRUE(label->isEnabled());
    edit->SetLabelAlwaysEnabled(true);
    edit->SetEnabled(false);
    EXPECT_TRUE(label->isEnabled());
}

TEST_F(FieldEditTest, ErrorStateColours)
{
    TFieldEdit* edit = AddEdit(10, 10);
    TFieldEdit* other = AddEdit(10, 40);
    edit->SetColor(0xF0F0F0);
    edit->SetFocusColor(0x00FFFF);
    // Without ShowError the state is kept but paints nothing.
    edit->SetErrorState(true);
    EXPECT_TRUE(edit->ErrorState());
    EXPECT_EQ(edit->Color(), 0xF0F0F0);
    edit->SetErrorState(false);

    edit->SetShowError(true);
    edit->SetErrorState(true);
    EXPECT_EQ(edit->Color(), clRed);
    EXPECT_EQ(edit->FontColor(), clWhite);
    EXPECT_EQ(edit->SavedColor(), 0xF0F0F0);
    // A second write of the same state paints nothing.
    edit->SetColor(0x123456);
    edit->SetErrorState(true);
    EXPECT_EQ(edit->Color(), 0x123456);
    edit->SetColor(0xF0F0F0);
    edit->SetErrorState(false);
    edit->SetErrorState(true);

    // The error colours stay through focus changes.
    Show();
    Focus(edit);
    EXPECT_EQ(edit->Color(), clRed);
    // Cleared while focused: the focus colour; once the focus leaves, the old colour.
    edit->SetErrorState(false);
    EXPECT_EQ(edit->Color(), 0x00FFFF);
    EXPECT_EQ(edit->FontColor(), clWindowText);
    Focus(other);
    EXPECT_EQ(edit->Color(), 0xF0F0F0);
}

TEST_F(FieldEditTest, FocusWidthAndFocusAndDisabledColours)
{
    TFieldEdit* edit = AddEdit(10, 10);
    TFieldEdit* other = AddEdit(10, 40);
    edit->SetColor(0xF0F0F0);
    edit->SetFocusColor(0x00FFFF);
    edit->SetFocusFontColor(0x000080);
    // Labelled edits 20 wider while focused: the width holds through the re-layout that
    // the label's change sets off and through resizes of the parent meanwhile, also for
    // an edit that stretches with the parent's right edge.
    TFieldEdit* fixed = AddEdit(100, 100, 120);
    TFieldEdit* stretching = AddEdit(100, 150, 120);
    SetAnchors(stretching, akLeft | akTop | akRight);
    for (TFieldEdit* labelled : {fixed, stretching}) {
        labelled->SetLabelCaption("Number Plate:");
        labelled->SetFocusLabel(true);
        labelled->SetFocusWidthInc(20);
    }
    Show();
    Focus(edit);
    EXPECT_EQ(edit->Color(), 0x00FFFF);
    EXPECT_EQ(edit->FontColor(), 0x000080);
    EXPECT_EQ(edit->SavedColor(), 0xF0F0F0);
    Focus(other);
    EXPECT_EQ(edit->Color(), 0xF0F0F0);
    EXPECT_EQ(edit->FontColor(), clWindowText);

    Focus(fixed);
    QApplication::processEvents();
    EXPECT_EQ(fixed->width(), 140);
    panel->resize(450, 300);
    EXPECT_EQ(fixed->width(), 140);
    Focus(stretching);
    QApplication::processEvents();
    EXPECT_EQ(fixed->width(), 120);
    EXPECT_EQ(stretching->width(), 120 + 50 + 20);
    panel->resize(400, 300);
    Focus(other);
    QApplication::processEvents();
    EXPECT_EQ(stretching->width(), 120);
    EXPECT_EQ(fixed->geometry(), QRect(100, 100, 120, 21));
    EXPECT_EQ(fixed->AttachedLabel()->geometry().right() + 1 + 4, 100) << "the label follows";

    edit->SetEnabled(false);
    EXPECT_EQ(edit->Color(), 0xC0C0C0);
    edit->SetEnabled(true);
    EXPECT_EQ(edit->Color(), 0xF0F0F0);
    // A Color write while disabled is the colour restored on enabling.
    edit->SetEnabled(false);
    edit->SetColor(0x00FF00);
    edit->SetEnabled(true);
    EXPECT_EQ(edit->Color(), 0x00FF00);
    // DisabledColor written while disabled keeps the current background.
    edit->SetEnabled(false);
    edit->SetDisabledColor(0xF0F0F0);
    EXPECT_EQ(edit->Color(), 0xC0C0C0);
}

// Grey pixels inside the frame, right of the caret, in the left half of the edit: the
// placeholder's text.
int GreyPixels(TFieldEdit* edit)
{
    const QImage image = edit->grab().toImage();
    int count = 0;
    for (int y = 3; y < image.height() - 3; ++y)
        for (int x = 6; x < image.width() / 2; ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() == c.green() && c.green() == c.blue() && c.red() > 0x60 && c.red() < 0xB0)
                ++count;
        }
    return count;
}

TEST_F(FieldEditTest, PlaceholderShowsWhileEmptyAndUnfocused)
{
    TFieldEdit* edit = AddEdit(10, 10, 200);
    TFieldEdit* other = AddEdit(10, 40);
    Show();
    Focus(other);
    const int plain = GreyPixels(edit);
    edit->SetEmptyText(" < enter plate >");
    const int shown = GreyPixels(edit);
    EXPECT_GT(shown, plain + 10);
    Focus(edit);
    EXPECT_LE(GreyPixels(edit), plain + 2);
    Type(edit, "A");
    Focus(other);
    EXPECT_LT(GreyPixels(edit), shown / 2);  // the edges of the typed "A" only
    edit->SetText("");
    EXPECT_GT(GreyPixels(edit), plain + 10);
    // A suffix does not count as text.
    edit->SetSuffix(" bits");
    EXPECT_GT(GreyPixels(edit), plain + 10);
}

TEST_F(FieldEditTest, AlignmentChangesInPlace)
{
    TFieldEdit* edit = AddEdit(10, 10, 200);
    edit->SetText("abc");
    Show();
    Focus(edit);
    edit->SetSel(1, 1);
    edit->SetEditAlign(TEditAlign::eaCenter);
    EXPECT_TRUE(edit->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->Text(), "abc");
    EXPECT_EQ(edit->SelStart(), 1);
    EXPECT_EQ(edit->SelLength(), 1);
}

}  // namespace

namespace {

TEST_F(FieldEditTest, FlatLookTakesTheParentColourAndDropsTheBorder)
{
    QPalette p = panel->palette();
    p.setColor(panel->backgroundRole(), QColor(0x11, 0x22, 0x33));
    panel->setPalette(p);
    TFieldEdit* edit = AddEdit(10, 10);
    edit->SetColor(0xF0F0F0);
    edit->SetFlat(true);
    EXPECT_EQ(edit->Color(), 0x332211);
    EXPECT_EQ(edit->FocusColor(), 0x332211);
    EXPECT_EQ(edit->SavedColor(), 0xF0F0F0);
    EXPECT_FALSE(edit->hasFrame());
    EXPECT_EQ(edit->textMargins(), QMargins(2, 4, 2, 4));
    edit->SetFlat(false);
    EXPECT_EQ(edit->Color(), 0xF0F0F0);
    EXPECT_TRUE(edit->hasFrame());
    EXPECT_EQ(edit->textMargins(), QMargins());
}

TEST_F(FieldEditTest, MouseInsideFollowsEnterAndLeaveWhileEnabled)
{
    TFieldEdit* edit = AddEdit(10, 10);
    Show();
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), edit->mapToGlobal(QPointF(5, 5)));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(edit, &enter);
    EXPECT_TRUE(edit->MouseInside());
    QApplication::sendEvent(edit, &leave);
    EXPECT_FALSE(edit->MouseInside());
    edit->SetEnabled(false);
    QApplication::sendEvent(edit, &enter);
    EXPECT_FALSE(edit->MouseInside());
    edit->SetEnabled(true);
    edit->SetAutoFocus(true);
    QApplication::sendEvent(edit, &enter);
    EXPECT_TRUE(edit->MouseInside());
    EXPECT_TRUE(QTest::qWaitFor([edit] { return edit->hasFocus(); }));
}

}  // namespace
