#include "platform/ole/DragDrop.h"
#include "tests/widgets/FieldEditFixture.h"
#include "widgets/FieldEditDD.h"

#include <QMimeData>

using namespace ole;

namespace {

class FieldEditDragDropTest : public FieldEditTest {
protected:
    void TearDown() override
    {
        SetDragLoopForTesting({});
        FieldEditTest::TearDown();
    }

    // The first point of the edit whose character position is index.
    static QPoint LocalAt(TFieldEdit* edit, int index)
    {
        for (int x = 0; x < edit->width(); ++x)
            if (edit->CharFromPos(QPoint(x, edit->height() / 2)) == index)
                return {x, edit->height() / 2};
        ADD_FAILURE() << "no point for position " << index;
        return {};
    }
    static POINTL ScreenAt(TFieldEdit* edit, int index)
    {
        const QPoint p = edit->mapToGlobal(LocalAt(edit, index));
        return {p.x(), p.y()};
    }

    // Drops text on the edit's registered target the way the platform would.
    static uint32_t Drop(TFieldEdit* edit, IDataObject* data, POINTL at, uint32_t keys = 0)
    {
        IDropTarget* target = RegisteredDropTarget(edit);
        EXPECT_NE(target, nullptr);
        uint32_t effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        target->DragEnter(data, keys, at, &effect);
        target->DragOver(keys, at, &effect);
        target->Drop(data, keys, at, &effect);
        return effect;
    }

    // Presses inside the selection of the focused edit and moves: the drag starts.
    static void DragSelection(TFieldEdit* edit)
    {
        const QPoint inside = LocalAt(edit, edit->SelStart() + 1);
        QTest::mousePress(edit, Qt::LeftButton, {}, inside);
        QTest::mouseMove(edit, inside + QPoint(1, 0));
    }

    // A drag loop that drops on the given edit, with or without Ctrl.
    static void LoopDroppingOn(TFieldEdit* target, POINTL at, uint32_t keys)
    {
        SetDragLoopForTesting(
            [=](IDataObject* data, IDropSource* source, uint32_t, uint32_t* effect) {
                EXPECT_EQ(source->QueryContinueDrag(false, keys), DRAGDROP_S_DROP);
                *effect = Drop(target, data, at, keys);
                source->GiveFeedback(*effect);
                return DRAGDROP_S_DROP;
            });
    }
};

}  // namespace

// Only the first line of a drop goes in, at the character under the point, without
// the edit type's filter; the drop caret is gone afterwards.
TEST_F(FieldEditDragDropTest, DropInsertsFirstLineUnfiltered)
{
    TFieldEdit* edit = AddEdit(10, 10, 200);
    edit->SetEditType(TFieldEditType::etNumeric);
    edit->SetText("1234");
    edit->SetOleDropTarget(true);
    ASSERT_TRUE(edit->DropTargetRegistered());
    Show();
    edit->SetSel(0, 0);
    const ComPtr<TSourceDataObject> data(new TSourceDataObject("ab\r\ncd", ""));
    EXPECT_EQ(Drop(edit, data.get(), ScreenAt(edit, 2)), DROPEFFECT_MOVE);
    EXPECT_EQ(edit->Text(), "12ab34");
    EXPECT_EQ(edit->DropCaretPos(), QPoint(-1, -1));

    const ComPtr<TSourceDataObject> blank(new TSourceDataObject("\nxy", ""));
    Drop(edit, blank.get(), ScreenAt(edit, 0), MK_CONTROL);
    EXPECT_EQ(edit->Text(), "12ab34");
}

// A drag over the edit shows the caret; leaving removes it. An empty edit puts it at
// the corner.
TEST_F(FieldEditDragDropTest, DropCaretFollowsAndLeaves)
{
    TFieldEdit* edit = AddEdit(10, 10, 200);
    edit->SetOleDropTarget(true);
    Show();
    IDropTarget* target = RegisteredDropTarget(edit);
    const ComPtr<TSourceDataObject> data(new TSourceDataObject("x", ""));
    uint32_t effect = DROPEFFECT_MOVE;
    target->DragEnter(data.get(), 0, ScreenAt(edit, 0), &effect);
    target->DragOver(0, ScreenAt(edit, 0), &effect);
    EXPECT_EQ(edit->DropCaretPos(), QPoint(0, 0));
    edit->SetText("abcdef");
    target->DragOver(0, ScreenAt(edit, 3), &effect);
    EXPECT_NE(edit->DropCaretPos(), QPoint(0, 0));
    EXPECT_NE(edit->DropCaretPos(), QPoint(-1, -1));
    target->DragLeave();
    EXPECT_EQ(edit->DropCaretPos(), QPoint(-1, -1));

    edit->SetOleDropTarget(false);
    EXPECT_EQ(RegisteredDropTarget(edit), nullptr);
    EXPECT_FALSE(edit->acceptDrops());
}

// Qt's drag events reach the edit's drop target: text from another program goes in,
// with the drop action the key state asks for; leaving leaves no caret behind.
TEST_F(FieldEditDragDropTest, QtDragEventsReachTheTarget)
{
    TFieldEdit* edit = AddEdit(10, 10, 200);
    edit->SetText("ab");
    edit->SetOleDropTarget(true);
    Show();
    QMimeData mime;
    mime.setText(QString::fromUtf8("\xE2\x82\xAC"
                                   "1\nrest"));  // the euro sign and 1
    const QPointF at(edit->width() - 5, edit->height() / 2);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(edit, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDragMoveEvent move(at.toPoint(), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                        Qt::ControlModifier);
    QApplication::sendEvent(edit, &move);
    EXPECT_TRUE(move.isAccepted());
    EXPECT_EQ(move.dropAction(), Qt::CopyAction);
    EXPECT_NE(edit->DropCaretPos(), QPoint(-1, -1));
    QDragLeaveEvent leave;
    QApplication::sendEvent(edit, &leave);
    EXPECT_EQ(edit->DropCaretPos(), QPoint(-1, -1));

    QApplication::sendEvent(edit, &enter);
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(edit, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(drop.dropAction(), Qt::MoveAction);
    EXPECT_EQ(edit->Text(), "ab\x80"
                            "1");
}

// Dragging the selection onto another edit moves it without Ctrl and copies it with.
TEST_F(FieldEditDragDropTest, DragToAnotherEditMovesOrCopies)
{
    TFieldEdit* source = AddEdit(10, 10, 200);
    TFieldEdit* target = AddEdit(10, 60, 200);
    source->SetOleDropSource(true);
    target->SetOleDropTarget(true);
    source->SetText("hello world");
    target->SetText("X");
    Show();
    Focus(source);
    source->SetSel(6, 5);
    LoopDroppingOn(target, ScreenAt(target, 1), 0);
    DragSelection(source);
    EXPECT_EQ(target->Text(), "Xworld");
    EXPECT_EQ(source->Text(), "hello ");
    EXPECT_FALSE(source->DragPending());
    EXPECT_FALSE(source->OwnDragActive());

    source->SetSel(0, 5);
    LoopDroppingOn(target, ScreenAt(target, 0), MK_CONTROL);
    DragSelection(source);
    EXPECT_EQ(target->Text(), "helloXworld");
    EXPECT_EQ(source->Text(), "hello ");
}

// Within one edit the text moves to the drop point; dropped back into its own
// selection it stays as it was.
TEST_F(FieldEditDragDropTest, DragWithinTheSameEdit)
{
    TFieldEdit* edit = AddEdit(10, 10, 200);
    edit->SetOleDropSource(true);
    edit->SetOleDropTarget(true);
    edit->SetText("abcdef");
    Show();
    Focus(edit);
    edit->SetSel(0, 2);
    LoopDroppingOn(edit, ScreenAt(edit, 6), 0);
    DragSelection(edit);
    EXPECT_EQ(edit->Text(), "cdefab");

    edit->SetSel(2, 2);
    LoopDroppingOn(edit, ScreenAt(edit, 3), 0);
    DragSelection(edit);
    EXPECT_EQ(edit->Text(), "cdefab");
}

// No drag without a move, without OleDropSource, or when it is cancelled.
TEST_F(FieldEditDragDropTest, NoDragOrCancelledDragChangesNothing)
{
    TFieldEdit* edit = AddEdit(10, 10, 200);
    edit->SetText("abcdef");
    Show();
    Focus(edit);
    int drags = 0;
    SetDragLoopForTesting([&](IDataObject*, IDropSource* source, uint32_t, uint32_t* effect) {
        ++drags;
        *effect = DROPEFFECT_NONE;
        return source->QueryContinueDrag(true, MK_LBUTTON);
    });
    edit->SetSel(0, 3);
    DragSelection(edit);
    QTest::mouseRelease(edit, Qt::LeftButton);
    EXPECT_EQ(drags, 0);

    edit->SetOleDropSource(true);
    edit->SetSel(0, 3);
    const QPoint inside = LocalAt(edit, 1);
    QTest::mouseClick(edit, Qt::LeftButton, {}, inside);
    EXPECT_EQ(drags, 0);
    EXPECT_EQ(edit->SelLength(), 0);

    edit->SetSel(0, 3);
    DragSelection(edit);
    EXPECT_EQ(drags, 1);
    EXPECT_EQ(edit->Text(), "abcdef");
}

TEST_F(FieldEditDragDropTest, TextWidth)
{
    TFieldEdit* edit = AddEdit(10, 10);
    edit->SetPrefix("$ ");
    EXPECT_EQ(edit->GetTextWidth(), 0);
    edit->SetText("abc");
    EXPECT_EQ(edit->GetTextWidth(), QFontMetrics(edit->font()).horizontalAdvance("abc"));
}
