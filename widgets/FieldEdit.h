#pragma once

#include "platform/toolkit/TColor.h"
#include "widgets/FieldEditTypes.h"
#include "widgets/TLookupSettings.h"
#include "widgets/TPersistence.h"

#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPoint>
#include <QPointer>
#include <cstdint>
#include <string>

// Result of InsertPasteText: the new editable text, caret and selection length (caret
// in window-text positions).
struct TPasteResult {
    std::string text;
    int caret = 0;
    int selLength = 0;
};

// The single-line edit of every labelled field: a QLineEdit whose window text is
// Prefix + editable text + Suffix, with an edit type that filters input, an attached
// caption label, a self-painted placeholder, colour states (focus, error, disabled),
// a length limit with automatic advance, Enter as Tab, Esc undo and a filtered paste.
//
// The QLineEdit underneath never edits on its own: typed characters, clipboard keys,
// the context menu, middle-button paste, input methods and drops all go through the
// edit type's rules, and the caret and selection never enter Prefix or Suffix.
// System text is Windows-1252 in std::string; colours are TColor values.
//
// Forms build their edits between BeginLoad() and Loaded(), as a stored layout would:
// while loading, error state, modified marking, validation and the colour effects of
// Enabled and Flat are held back.
//
// Three features no window of the programs switches on: a lookup list while typing
// (Lookup), keeping the text between runs (Persistence), and OLE drag and drop of text
// (OleDropTarget, OleDropSource).
//
// Use this class's own API, not the QLineEdit members it hides behind: SetText (not
// setText or clear), SetEnabled and SetVisible (they carry the label and the colours),
// SetMaxLength, WMPaste/WMCopy/WMCut. The label's parent is the edit's parent when the
// caption is first written, so give the edit its parent at construction.
//
// Keys: Enter (without ReturnIsTab) and Esc (with CanUndo) are posted to the parent
// widget as a key press and release after the key has been handled; Qt hands a key the
// parent ignores on to its window, so a dialog's default button and Esc work as usual.
// A window whose dynamic property "KeyPreview" is true gets no posted Enter. Tab moves
// the focus as usual; the automatic advance and Enter-as-Tab post a Tab to the edit
// itself.
class TFieldEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit TFieldEdit(QWidget* parent = nullptr);
    ~TFieldEdit() override;
    Q_DISABLE_COPY_MOVE(TFieldEdit)

    void BeginLoad();
    void Loaded();
    bool Loading() const { return loading_; }

    // --- text (the editable text between Prefix and Suffix)
    std::string Text() const;
    void SetText(const std::string& value);
    const std::string& Prefix() const { return prefix_; }
    void SetPrefix(const std::string& value);
    const std::string& Suffix() const { return suffix_; }
    void SetSuffix(const std::string& value);
    // What the control holds: Prefix + Text + Suffix. The plain write applies no rule.
    std::string WindowText() const;
    void SetWindowText(const std::string& text);

    TFieldEditType EditType() const { return editType_; }
    void SetEditType(TFieldEditType value);
    TEditAlign EditAlign() const { return editAlign_; }
    void SetEditAlign(TEditAlign value);
    int16_t LengthLimit() const { return lengthLimit_; }
    void SetLengthLimit(int16_t value) { lengthLimit_ = value; }
    bool TabOnFullLength() const { return tabOnFullLength_; }
    void SetTabOnFullLength(bool value) { tabOnFullLength_ = value; }
    bool ReturnIsTab() const { return returnIsTab_; }
    void SetReturnIsTab(bool value) { returnIsTab_ = value; }
    // Limits typing only (0 = none); paste and Text writes are not cut.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value) { maxLength_ = value < 0 ? 0 : value; }
    bool CanUndo() const { return canUndo_; }
    void SetCanUndo(bool value);
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool value) { autoSelect_ = value; }
    bool Signed() const { return signed_; }
    void SetSigned(bool value) { signed_ = value; }
    int16_t Precision() const { return precision_; }
    void SetPrecision(int16_t value);
    bool AutoThousandSeparator() const { return autoThousandSeparator_; }
    void SetAutoThousandSeparator(bool value);
    bool ExcelStyleDecimalSeparator() const { return excelStyleDecimalSeparator_; }
    void SetExcelStyleDecimalSeparator(bool value) { excelStyleDecimalSeparator_ = value; }
    const std::string& UndoText() const { return undoText_; }

    // --- values by edit type
    int32_t IntegerValue() const;
    void SetIntegerValue(int32_t value);
    double DecimalValue() const;
    void SetDecimalValue(double value);
    double TextToFloat(const std::string& s) const;
    void ApplyThousandSeparators();

    // --- modified state
    bool Modified() const { return isModified(); }
    void MarkModified(bool flag);
    bool ShowModified() const { return showModified_; }
    void SetShowModified(bool value) { showModified_ = value; }
    TColor ModifiedColor() const { return modifiedColor_; }
    void SetModifiedColor(TColor value) { modifiedColor_ = value; }

    // --- colours
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor value);
    TColor SavedColor() const { return savedColor_; }
    TColor SavedFontColor() const { return savedFontColor_; }
    bool ShowError() const { return showError_; }
    void SetShowError(bool value) { showError_ = value; }
    bool ErrorState() const { return errorState_; }
    void SetErrorState(bool value);
    TColor ErrorColor() const { return errorColor_; }
    void SetErrorColor(TColor value) { errorColor_ = value; }
    TColor ErrorFontColor() const { return errorFontColor_; }
    void SetErrorFontColor(TColor value) { errorFontColor_ = value; }
    TColor FocusColor() const { return focusColor_; }
    void SetFocusColor(TColor value) { focusColor_ = value; }
    TColor FocusFontColor() const { return focusFontColor_; }
    void SetFocusFontColor(TColor value) { focusFontColor_ = value; }
    TColor DisabledColor() const { return disabledColor_; }
    void SetDisabledColor(TColor value);

    // The edit's own enabled and visible state; both carry the label along.
    bool Enabled() const { return !testAttribute(Qt::WA_ForceDisabled); }
    void SetEnabled(bool value);
    bool Visible() const { return !isHidden(); }
    void SetVisible(bool value) { setVisible(value); }
    void setVisible(bool visible) override;

    // Geometry in the parent's client area, inside its border width, as SetBounds of
    // TAlign.h places every control; a Height write while loading is kept for Loaded.
    void SetBounds(int left, int top, int width, int height);
    void SetWidth(int value);
    void SetHeight(int value);

    // --- URL look
    bool ShowURL() const { return showURL_; }
    void SetShowURL(bool value) { showURL_ = value; }
    TColor URLColor() const { return urlColor_; }
    void SetURLColor(TColor value) { urlColor_ = value; }
    bool IsURL() const;
    void SetURLLook(bool on);
    bool URLShown() const { return urlShown_; }

    // --- attached label
    std::string LabelCaption() const;
    void SetLabelCaption(const std::string& value);
    TLabelPosition LabelPosition() const { return labelPosition_; }
    void SetLabelPosition(TLabelPosition value);
    int LabelMargin() const { return labelMargin_; }
    void SetLabelMargin(int value);
    bool LabelTransparent() const { return labelTransparent_; }
    void SetLabelTransparent(bool value);
    const QFont& LabelFont() const { return labelFont_; }
    void SetLabelFont(const QFont& value);
    bool LabelAlwaysEnabled() const { return labelAlwaysEnabled_; }
    void SetLabelAlwaysEnabled(bool value);
    // nullptr until the first LabelCaption write.
    QLabel* AttachedLabel() const { return label_; }
    void UpdateLabelPosition();

    // --- drawing
    const std::string& EmptyText() const { return emptyText_; }
    void SetEmptyText(const std::string& value);
    bool Flat() const { return flat_; }
    void SetFlat(bool value);
    TColor FlatLineColor() const { return flatLineColor_; }
    void SetFlatLineColor(TColor value);
    bool FlatParentColor() const { return flatParentColor_; }
    void SetFlatParentColor(bool value);
    bool SoftBorder() const { return softBorder_; }
    void SetSoftBorder(bool value);
    bool FocusBorder() const { return focusBorder_; }
    void SetFocusBorder(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    int ErrorMarkerPos() const { return errorMarkerPos_; }
    void SetErrorMarkerPos(int value);
    int ErrorMarkerLen() const { return errorMarkerLen_; }
    void SetErrorMarkerLen(int value);
    bool HintShowLargeText() const { return hintShowLargeText_; }
    void SetHintShowLargeText(bool value) { hintShowLargeText_ = value; }
    // Where the drop caret of a drag over the edit is drawn; (-1, -1) for none.
    QPoint DropCaretPos() const { return dropCaretPos_; }
    void SetDropCaretPos(QPoint value);
    bool MouseInside() const { return mouseInside_; }
    bool AutoFocus() const { return autoFocus_; }
    void SetAutoFocus(bool value) { autoFocus_ = value; }

    // --- focus options
    bool FocusLabel() const { return focusLabel_; }
    void SetFocusLabel(bool value) { focusLabel_ = value; }
    int FocusWidthInc() const { return focusWidthInc_; }
    void SetFocusWidthInc(int value) { focusWidthInc_ = value; }
    TEditAlign FocusAlign() const { return focusAlign_; }
    void SetFocusAlign(TEditAlign value) { focusAlign_ = value; }

    // --- OLE drag and drop of text
    // Registers the edit as a drop target (or revokes it); the registration lasts as
    // long as the edit.
    bool OleDropTarget() const { return oleDropTarget_; }
    void SetOleDropTarget(bool value);
    bool DropTargetRegistered() const { return dropTargetRegistered_; }
    // A press inside the selection and a move drag the selected text out.
    bool OleDropSource() const { return oleDropSource_; }
    void SetOleDropSource(bool value) { oleDropSource_ = value; }
    bool OwnDragActive() const { return ownDragActive_; }
    bool DragPending() const { return dragPending_; }
    // The drop caret at the character under a screen point; cleared again.
    void UpdateDropCaret(QPoint screenPoint);
    void ClearDropCaret();
    // Inserts the first line of text at the character under the screen point; false
    // when the text was dropped back into this edit's own dragged selection.
    bool DropTextAt(QPoint screenPoint, const std::string& text, bool ctrlDown);
    // The pixel width of Text in the edit's font.
    int GetTextWidth() const;

    TLookupSettings& Lookup() { return lookup_; }
    // The popup of the lookup list and the list inside it.
    class TListHintWindow* LookupWindow() const { return lookupWindow_; }
    class QListWidget* LookupList() const { return lookupList_; }
    // Takes the selected entry of the lookup list (or its value) as the Text.
    void LookupSelect();
    TPersistence& Persistence() { return persistence_; }

    // --- selection in window-text positions
    int SelStart() const;
    int SelLength() const { return selectionLength(); }
    // A negative length selects backwards, leaving the caret at start + length.
    void SetSel(int start, int length);
    void SelectEditableText();
    int CharFromPos(QPoint point) const;

    // --- clipboard: copy, cut and the filtered paste
    void WMCopy();
    void WMCut();
    void WMPaste();
    TPasteResult InsertPasteText(const std::string& pasted) const;

    // --- events
    void SetOnChange(TNotifyEvent handler) { onChange_ = std::move(handler); }
    void SetOnKeyPress(TKeyPressEvent handler) { onKeyPress_ = std::move(handler); }
    void SetOnValueValidate(TValueValidateEvent handler) { onValueValidate_ = std::move(handler); }
    void SetOnClipboardCopy(TClipboardEvent handler) { onClipboardCopy_ = std::move(handler); }
    void SetOnClipboardCut(TClipboardEvent handler) { onClipboardCut_ = std::move(handler); }
    void SetOnClipboardPaste(TClipboardEvent handler) { onClipboardPaste_ = std::move(handler); }
    void SetOnLookupSelect(TLookupSelectEvent handler) { onLookupSelect_ = std::move(handler); }

protected:
    // Read back at the end of Loaded, written when the window that holds the edit goes.
    virtual void LoadPersistence();
    virtual void SavePersistence();

    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void changeEvent(QEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    // Key input
    void WantSpecialKey(int key);
    bool KeyDown(QKeyEvent* e);
    void HandleChar(char ch, bool keypad, bool ctrlDown);
    void FilterChar(char ch, bool ctrlDown);
    bool DecimalRules(char ch);
    void ToggleSign(bool decimalType);
    void PassCharOn(char ch);
    void PassKeyOn(QKeyEvent* e);
    void AfterChar();
    void PostKey(QWidget* target, int key);
    void KeepCaretInEditable();

    // Decimal helpers (positions as the key rules count them)
    int IntegerPartEnd(const std::string& text) const;
    int DecimalPos() const;
    void CaretBeforeDecimal();
    void CaretAfterDecimal();
    bool DecimalsFull(const std::string& text, int caret) const;
    bool SeparatorSpacingWrong(std::string text, int caret) const;

    // Text
    void SetEditableTextPlain(const std::string& text);
    std::string SelectedEditableText() const;
    bool AllowClipboard(const TClipboardEvent& handler) const;

    // Change notification and colours
    void TextChanged();
    void Change();
    void ApplyColors();
    void SetBackground(TColor value);
    void ApplyAlignment();
    void ApplyFlat(bool on);
    void SetEditRect();
    void CaptureLoadedState();
    void InvalidateDropCaret(QPoint p);
    void MoveCaretToCursor(QPoint screenPoint);
    void StartDrag();
    void CreateLookupWindow();
    bool LookupVisible() const;
    void HideLookup();
    void LookupFocusLost();
    // The list's keys while it shows; true when the key is used up.
    bool LookupKeyDown(QKeyEvent* e);
    void UpdateLookup();
    // The Key of a file kept beside the program when none was given; it stays.
    std::string PersistenceIniFileName();
    // Stores the text when the parent goes (followed on every change of parent).
    void WatchHoldingWindow();

    // Drawing
    void CreateLabel();
    void SizeLabelToCaption();
    QPoint ClientOrigin() const;
    QPoint PosFromChar(int index) const;
    void PaintExtras();
    void DrawBorders(class QPainter& painter);
    void DrawErrorMarker(class QPainter& painter);
    bool IsBorderHot() const;

    bool loading_ = false;
    bool focusAlignSwitching_ = false;
    bool clickCausedFocus_ = false;
    QPointer<QLabel> label_;
    QFont labelFont_;
    TLabelPosition labelPosition_ = TLabelPosition::lpLeftTop;
    int labelMargin_ = 4;
    bool labelTransparent_ = false;
    bool labelAlwaysEnabled_ = false;
    bool autoFocus_ = false;
    bool canUndo_ = true;
    bool autoSelect_ = true;
    TFieldEditType editType_ = TFieldEditType::etString;
    TEditAlign editAlign_ = TEditAlign::eaLeft;
    TEditAlign savedAlign_ = TEditAlign::eaLeft;
    bool savedBorder_ = true;
    bool excelStyleDecimalSeparator_ = false;
    bool tabOnFullLength_ = false;
    int maxLength_ = 0;
    TColor color_ = clWindow;
    TColor fontColor_ = clWindowText;
    TColor disabledColor_ = clSilver;
    TColor savedColor_ = clWindow;
    TColor focusColor_ = clWindow;
    TColor focusFontColor_ = clWindowText;
    TColor errorColor_ = clRed;
    TColor errorFontColor_ = clWhite;
    bool errorState_ = false;
    bool focusLabel_ = false;
    TColor savedFontColor_ = clWindowText;
    TColor modifiedColor_ = clHighlight;
    bool returnIsTab_ = false;
    bool showModified_ = false;
    bool showURL_ = false;
    TColor urlColor_ = 0xFF0000;  // clBlue
    int focusWidthInc_ = 0;
    TEditAlign focusAlign_ = TEditAlign::eaDefault;
    int16_t lengthLimit_ = 0;
    int16_t precision_ = 0;
    std::string prefix_;
    std::string suffix_;
    std::string undoText_;
    bool signed_ = false;
    bool urlShown_ = false;
    bool flat_ = false;
    bool mouseInside_ = false;
    TColor flatLineColor_ = clBlack;
    bool flatParentColor_ = true;
    bool transparent_ = false;
    QPoint dropCaretPos_{-1, -1};
    bool oleDropSource_ = false;
    bool oleDropTarget_ = false;
    bool dragPending_ = false;
    bool dropTargetRegistered_ = false;
    bool ownDragActive_ = false;
    bool focusBorder_ = false;
    bool hintShowLargeText_ = false;
    bool showError_ = false;
    bool autoThousandSeparator_ = true;
    std::string emptyText_;
    bool softBorder_ = false;
    int errorMarkerLen_ = 0;
    int errorMarkerPos_ = 0;
    int loadedHeight_ = 0;
    TLookupSettings lookup_;
    class TListHintWindow* lookupWindow_ = nullptr;
    class QListWidget* lookupList_ = nullptr;
    TPersistence persistence_;
    QMetaObject::Connection holderGone_;

    TNotifyEvent onChange_;
    TKeyPressEvent onKeyPress_;
    TValueValidateEvent onValueValidate_;
    TClipboardEvent onClipboardCopy_;
    TClipboardEvent onClipboardCut_;
    TClipboardEvent onClipboardPaste_;
    TLookupSelectEvent onLookupSelect_;
};
