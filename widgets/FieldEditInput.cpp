// TFieldEdit: key input, mouse buttons and focus.
//
// One QKeyEvent stands for the system's key-down and the character that follows it:
// the special keys (Esc, Enter) come first, then the key-down rules, then the character
// filter. Editing keys are carried out here through the line edit's public operations;
// only caret movement is left to QLineEdit's own key handling, and the caret and
// selection are kept inside the editable text afterwards.
#include "widgets/FieldEdit.h"

#include "platform/text/Cp1252.h"
#include "platform/text/IntegerReading.h"
#include "platform/text/LocaleSeparators.h"
#include "widgets/FieldEditText.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <cstdlib>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsHexDigit(char c)
{
    return HexDigit(c) >= 0;
}

bool IsAlphaNumeric(char c)
{
    return IsDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool Contains(const std::string& s, char c)
{
    return s.find(c) != std::string::npos;
}

constexpr char kBackspace = 8;
constexpr char kTab = 9;
constexpr char kEnter = 13;
constexpr char kEscape = 27;
constexpr char kCtrlA = 1;
constexpr char kCtrlC = 3;
constexpr char kCtrlV = 0x16;
constexpr char kCtrlX = 0x18;
constexpr char kCtrlZ = 0x1A;

// The characters a key event types, as the system's character messages would carry
// them: Ctrl with a letter gives its control character, Alt alone types nothing, and
// a character without a Windows-1252 code arrives as "?".
std::string CharsOf(const QKeyEvent& e)
{
    const auto mods = e.modifiers();
    const bool ctrl = mods.testFlag(Qt::ControlModifier);
    const bool alt = mods.testFlag(Qt::AltModifier);
    if (ctrl && !alt) {
        if (e.key() >= Qt::Key_A && e.key() <= Qt::Key_Z)
            return std::string(1, static_cast<char>(e.key() - Qt::Key_A + 1));
        if (e.key() == Qt::Key_Backspace)
            return std::string(1, kBackspace);
        return {};
    }
    if (alt && !ctrl)
        return {};
    if (e.key() == Qt::Key_Backspace)
        return std::string(1, kBackspace);
    std::string chars;
    for (const QChar ch : e.text()) {
        if (ch.unicode() < 32 || ch.unicode() == 127)
            continue;
        const int code = UnicodeToCp1252(ch.unicode());
        chars += code < 0 ? '?' : static_cast<char>(code);
    }
    return chars;
}

}  // namespace

// ---------------------------------------------------------------- keys

void TFieldEdit::keyPressEvent(QKeyEvent* e)
{
    if (LookupKeyDown(e)) {
        e->accept();
        return;
    }
    const int key = e->key();
    const bool ctrl = e->modifiers().testFlag(Qt::ControlModifier);
    if (key == Qt::Key_Escape) {
        if (!canUndo_) {
            if (onKeyPress_) {
                char copy = kEscape;
                onKeyPress_(*this, copy);
            }
            QLineEdit::keyPressEvent(e);  // left to the window's own Esc handling
            return;
        }
        WantSpecialKey(key);
        HandleChar(kEscape, false, ctrl);
        KeepCaretInEditable();
        e->accept();
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        // Enter-as-Tab goes on as Tab alone: were Enter also posted on, the window's
        // default button would take it before the focus moves.
        if (!returnIsTab_)
            WantSpecialKey(Qt::Key_Return);
        else if (isVisible())
            PostKey(this, Qt::Key_Tab);
        // The Enter character never reaches the text; the handler sees a copy.
        if (onKeyPress_) {
            char copy = kEnter;
            onKeyPress_(*this, copy);
        }
        e->accept();
        return;
    }
    if (KeyDown(e)) {
        KeepCaretInEditable();
        e->accept();
        return;
    }
    const std::string chars = CharsOf(*e);
    if (chars.empty()) {
        e->ignore();  // function keys and shortcuts belong to the window
        return;
    }
    const bool keypad = e->modifiers().testFlag(Qt::KeypadModifier);
    for (const char ch : chars)
        HandleChar(ch, keypad, ctrl);
    KeepCaretInEditable();
    e->accept();
}

void TFieldEdit::inputMethodEvent(QInputMethodEvent* e)
{
    // Composed characters are typed characters: they pass the same filter.
    for (const QChar ch : e->commitString()) {
        const int code = UnicodeToCp1252(ch.unicode());
        HandleChar(code < 0 ? '?' : static_cast<char>(code), false, false);
    }
    KeepCaretInEditable();
    e->accept();
}

void TFieldEdit::PostKey(QWidget* target, int key)
{
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
    if (target != this)
        QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier));
}

// Esc restores the text the edit had when it got the focus; Esc and Enter are then
// posted to the parent, which sees them after this key has been handled.
void TFieldEdit::WantSpecialKey(int key)
{
    QWidget* parent = parentWidget();
    if (key == Qt::Key_Escape) {
        SetText(undoText_);
        SetFontColor(focusFontColor_);
        SelectEditableText();
        MarkModified(false);
        if (parent)
            PostKey(parent, Qt::Key_Escape);
        return;
    }
    const bool keyPreview = parent && parent->isWindow() && parent->property("KeyPreview").toBool();
    if (parent && !keyPreview)
        PostKey(parent, Qt::Key_Return);
}

bool TFieldEdit::KeyDown(QKeyEvent* e)
{
    const int p = static_cast<int>(prefix_.size());
    const std::string text = Text();
    const int end = p + static_cast<int>(text.size());
    const int caret = SelStart();
    const int selEnd = caret + SelLength();
    const bool nothingSelected = SelLength() == 0;
    const auto mods = e->modifiers();
    const bool shift = mods.testFlag(Qt::ShiftModifier);
    const bool ctrl = mods.testFlag(Qt::ControlModifier);
    switch (e->key()) {
    case Qt::Key_Right:
        if (!suffix_.empty() && selEnd >= end)
            return true;
        break;
    case Qt::Key_Left:
        if (!prefix_.empty() && selEnd <= p)
            return true;
        break;
    case Qt::Key_End:
        if (suffix_.empty())
            break;
        SetSel(shift ? caret : end, shift ? end - caret : 0);
        return true;
    case Qt::Key_Home:
        if (prefix_.empty())
            break;
        if (shift)
            SetSel(end, p - end);
        else
            SetSel(p, 0);
        return true;
    case Qt::Key_Backspace:
        // The character rules decide; only the prefix is guarded here.
        if (!prefix_.empty()) {
            if (caret <= p && nothingSelected)
                return true;
            MarkModified(true);
        }
        return false;
    case Qt::Key_Delete: {
        if (!suffix_.empty()) {
            if (selEnd >= end && nothingSelected)
                return true;
            MarkModified(true);
        }
        if (caret >= p) {
            std::string copy = text;
            const auto from = static_cast<size_t>(caret - p);
            if (from < copy.size())
                copy.erase(from, nothingSelected ? 1 : static_cast<size_t>(SelLength()));
            if (lengthLimit_ > 0 && IntegerPartEnd(copy) - 1 > lengthLimit_)
                return true;
            MarkModified(true);
        }
        if (shift && !ctrl)
            WMCut();
        else if (!isReadOnly())
            del();
        if (editType_ == TFieldEditType::etMoney)
            ApplyThousandSeparators();
        return true;
    }
    case Qt::Key_Insert:
        if (shift && !ctrl)
            WMPaste();
        else if (ctrl && !shift)
            WMCopy();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        break;
    default:
        return false;
    }
    PassKeyOn(e);
    return true;
}

void TFieldEdit::PassKeyOn(QKeyEvent* e)
{
    QLineEdit::keyPressEvent(e);
}

void TFieldEdit::HandleChar(char ch, bool keypad, bool ctrlDown)
{
    if (excelStyleDecimalSeparator_ && ch == '.' && keypad)
        ch = DecimalSeparator();
    const int p = static_cast<int>(prefix_.size());
    const std::string text = Text();
    const int caret = SelStart();
    const bool nothingSelected = SelLength() == 0;
    if (ch == kBackspace && !prefix_.empty() && caret <= p && nothingSelected)
        return;
    if (lengthLimit_ > 0 && IntegerPartEnd(text) > lengthLimit_ && nothingSelected &&
        caret < DecimalPos() && ch != kBackspace && ch != DecimalSeparator())
        return;
    if (ch == kBackspace) {
        std::string copy = text;
        if (nothingSelected) {
            const int at = caret - p - 1;
            if (at >= 0 && at < static_cast<int>(copy.size()))
                copy.erase(static_cast<size_t>(at), 1);
        } else if (caret - p >= 0 && caret - p < static_cast<int>(copy.size())) {
            copy.erase(static_cast<size_t>(caret - p), static_cast<size_t>(SelLength()));
        }
        if (lengthLimit_ > 0 && IntegerPartEnd(copy) - 1 > lengthLimit_)
            return;
    }
    const bool numberType = editType_ == TFieldEditType::etNumeric ||
                            editType_ == TFieldEditType::etFloat ||
                            editType_ == TFieldEditType::etMoney;
    if (ch == '-' && numberType && !signed_)
        return;
    FilterChar(ch, ctrlDown);
}

void TFieldEdit::FilterChar(char ch, bool ctrlDown)
{
    const bool basic = ch == kBackspace || ch == kTab;
    switch (editType_) {
    case TFieldEditType::etString:
    case TFieldEditType::etPassword:
        PassCharOn(ch);
        break;
    case TFieldEditType::etNumeric:
        if (ch == '-')
            ToggleSign(false);
        else if (basic || IsDigit(ch) || ctrlDown)
            PassCharOn(ch);
        break;
    case TFieldEditType::etHex:
        if (basic || ch == '-' || IsHexDigit(ch))
            PassCharOn(ch);
        break;
    case TFieldEditType::etAlphaNumeric:
        if (basic || IsAlphaNumeric(ch))
            PassCharOn(ch);
        break;
    case TFieldEditType::etUppercase:
        PassCharOn(UpperCaseChar(ch));
        break;
    case TFieldEditType::etLowerCase:
        PassCharOn(LowerCaseChar(ch));
        break;
    case TFieldEditType::etMixedCase: {
        PassCharOn(ch);
        // The caret stays where the key left it (after a typed character: one right
        // of where it was) when the words are re-capitalised.
        const int caret = cursorPosition();
        const std::string text = Text();
        const std::string mixed = MixedCase(text);
        if (mixed != text)
            SetEditableTextPlain(mixed);
        SetSel(caret, 0);
        break;
    }
    case TFieldEditType::etRange:
        if (ch == ',' || ch == '-' || ch == ';') {
            const std::string w = WindowText() + " ";
            const int caret = SelStart();
            const auto isSeparator = [](char c) { return c == ',' || c == '-' || c == ';'; };
            if (caret <= static_cast<int>(prefix_.size()) ||
                isSeparator(w[static_cast<size_t>(caret - 1)]) ||
                isSeparator(w[static_cast<size_t>(caret)]))
                return;
            PassCharOn(ch);
        } else if (basic || IsDigit(ch)) {
            PassCharOn(ch);
        }
        break;
    case TFieldEditType::etFloat:
    case TFieldEditType::etMoney:
        if (!DecimalRules(ch))
            return;
        break;
    }
    AfterChar();
}

// The decimal rules of etFloat and etMoney; false when the handler ends at once.
bool TFieldEdit::DecimalRules(char ch)
{
    const char ds = DecimalSeparator();
    const char ts = ThousandSeparator();
    const bool money = editType_ == TFieldEditType::etMoney;
    const std::string text = Text();
    const std::string selected = SelectedEditableText();
    const int p = static_cast<int>(prefix_.size());
    const int caret = SelStart();
    const bool nothingSelected = SelLength() == 0;
    if (money) {
        if (ch == ds && (Contains(text, ds) || precision_ == 0)) {
            if (precision_ > 0)
                CaretAfterDecimal();
            return false;
        }
    } else {
        if (ch == ',' && ds != ',' && ts != ',')
            return false;
        if (ch == '.' && ds != '.' && ts != '.')
            return false;
    }
    const bool passed = ch == kBackspace || ch == kTab || ch == '-' || IsDigit(ch) ||
                        (money ? ch == ds : (ch == ',' || ch == '.'));
    if (!passed)
        return true;
    if (!money) {
        if (ch == ds && !Contains(selected, ds) && (Contains(text, ds) || precision_ == 0)) {
            if (precision_ > 0)
                CaretAfterDecimal();
            return false;
        }
        if (ch == ',' && Contains(text, ',') && !Contains(selected, ',') && ts != ',')
            return false;
    }
    if ((ch == ts || ch == ds) && SeparatorSpacingWrong(text, caret))
        return false;
    if (DecimalsFull(text, caret) && (IsDigit(ch) || ch == ds) && nothingSelected) {
        if (ch == ds || caret >= p + static_cast<int>(text.size()))
            return false;
        SetSel(caret, 1);  // overtype the next decimal
    }
    if (ch == ds && text.empty() && caret <= p) {
        SetEditableTextPlain(std::string("0") + ds);
        SetSel(p + 2, 0);
        MarkModified(true);
        return false;
    }
    if (ch == '-' && nothingSelected) {
        ToggleSign(true);
        return false;
    }
    PassCharOn(ch);
    const std::string now = Text();
    if (money && !now.empty() && now != "-" && ch != ds) {
        if (isModified())
            MarkModified(true);
        ApplyThousandSeparators();
    }
    return true;
}

void TFieldEdit::ToggleSign(bool decimalType)
{
    const int p = static_cast<int>(prefix_.size());
    const int caret = SelStart();
    const int selLength = SelLength();
    const std::string text = Text();
    const int16_t precision = precision_;
    if (decimalType)
        precision_ = 0;
    int newCaret = 0;
    if (Contains(text, '-')) {
        SetText(text.substr(1));
        newCaret = caret > 0 && caret > p ? caret - 1 : p;
        SetSel(newCaret, 0);
        if (decimalType)
            MarkModified(true);
    } else {
        SetText("-" + text);
        newCaret = caret + 1;
        SetSel(newCaret, 0);
        MarkModified(true);
    }
    precision_ = precision;
    if (!decimalType)
        SetSel(newCaret, selLength);
}

// The platform edit's own handling of a character that the rules let through.
void TFieldEdit::PassCharOn(char ch)
{
    if (onKeyPress_) {
        onKeyPress_(*this, ch);
        if (ch == 0)
            return;
    }
    switch (ch) {
    case kBackspace:
        if (!isReadOnly())
            backspace();
        return;
    case kCtrlC:
        WMCopy();
        return;
    case kCtrlV:
        WMPaste();
        return;
    case kCtrlX:
        WMCut();
        return;
    case kCtrlZ:
        if (!isReadOnly())
            undo();
        return;
    case kCtrlA:
        SelectEditableText();
        return;
    default:
        break;
    }
    if (static_cast<unsigned char>(ch) < 32 || ch == 127 || isReadOnly())
        return;
    // The standard edit's limit counts the whole window text and stops typing only.
    if (maxLength_ > 0 && static_cast<int>(QLineEdit::text().size()) - SelLength() + 1 > maxLength_)
        return;
    insert(QString(QChar(Cp1252ToUnicode(static_cast<unsigned char>(ch)))));
}

// Automatic advance, queued so that the completing character is in the text before
// the focus moves; then the modified colour is renewed.
void TFieldEdit::AfterChar()
{
    const int p = static_cast<int>(prefix_.size());
    if (tabOnFullLength_ && lengthLimit_ > 0 && IntegerPartEnd(Text()) > lengthLimit_ &&
        SelLength() == 0 && SelStart() - p == lengthLimit_)
        PostKey(this, Qt::Key_Tab);
    if (isModified())
        MarkModified(true);
    UpdateLookup();
}

// ---------------------------------------------------------------- decimal helpers

int TFieldEdit::IntegerPartEnd(const std::string& text) const
{
    const std::string s = StripThousandSeparators(text);
    const auto at = s.find(DecimalSeparator());
    return at == std::string::npos ? static_cast<int>(s.size()) + 1 : static_cast<int>(at) + 1;
}

int TFieldEdit::DecimalPos() const
{
    const std::string text = Text();
    const int p = static_cast<int>(prefix_.size());
    const auto at = text.find(DecimalSeparator());
    if (at == std::string::npos)
        return static_cast<int>(text.size() + suffix_.size()) + p + 1;
    return static_cast<int>(at) + 1 + p;
}

void TFieldEdit::CaretBeforeDecimal()
{
    const auto at = Text().find(DecimalSeparator());
    const int p = static_cast<int>(prefix_.size());
    SetSel(at == std::string::npos ? p : p + static_cast<int>(at), 0);
}

void TFieldEdit::CaretAfterDecimal()
{
    const auto at = Text().find(DecimalSeparator());
    const int p = static_cast<int>(prefix_.size());
    SetSel(at == std::string::npos ? p : p + static_cast<int>(at) + 1, 0);
}

bool TFieldEdit::DecimalsFull(const std::string& text, int caret) const
{
    const int c = caret - static_cast<int>(prefix_.size());
    const int length = static_cast<int>(text.size());
    const auto at = text.find(DecimalSeparator());
    if (precision_ <= 0 || length - c > precision_ || at == std::string::npos)
        return false;
    const int position = static_cast<int>(at) + 1;
    return c >= position && length - position >= precision_;
}

bool TFieldEdit::SeparatorSpacingWrong(std::string text, int caret) const
{
    const char ts = ThousandSeparator();
    int b = caret - static_cast<int>(prefix_.size());
    int a = static_cast<int>(text.size());
    if (!Contains(text, ts))
        return false;
    while (Contains(text, ts)) {
        const int position = static_cast<int>(text.find(ts)) + 1;
        const int d = std::abs(position - b);
        if (d < a)
            a = d;
        if (d < 3)
            return true;
        if (b > position)
            b -= position;
        text.erase(0, static_cast<size_t>(position));
    }
    return a > 3;
}

// ---------------------------------------------------------------- focus

void TFieldEdit::focusInEvent(QFocusEvent* e)
{
    QLineEdit::focusInEvent(e);
    // A context menu opening and closing does not take the focus away.
    if (e->reason() == Qt::PopupFocusReason || loading_)
        return;
    clickCausedFocus_ = e->reason() == Qt::MouseFocusReason;
    undoText_ = Text();
    if (!((errorState_ && showError_) || showModified_)) {
        SetBackground(focusColor_);
        savedFontColor_ = fontColor_;
        if (!(IsURL() && showURL_))
            SetFontColor(focusFontColor_);
    }
    if (autoSelect_)
        SelectEditableText();
    else if (editType_ == TFieldEditType::etFloat || editType_ == TFieldEditType::etMoney)
        CaretBeforeDecimal();
    if (focusLabel_ && label_) {
        QFont f = label_->font();
        f.setBold(true);
        label_->setFont(f);
    }
    if (focusWidthInc_ > 0 && !focusAlignSwitching_)
        SetWidth(width() + focusWidthInc_);
    if (focusAlign_ != editAlign_ && focusAlign_ != TEditAlign::eaDefault) {
        savedAlign_ = editAlign_;
        focusAlignSwitching_ = true;
        SetEditAlign(focusAlign_);
        focusAlignSwitching_ = false;
    }
    if ((!emptyText_.empty() && Text().empty()) || focusBorder_)
        update();
}

void TFieldEdit::focusOutEvent(QFocusEvent* e)
{
    if (e->reason() == Qt::PopupFocusReason) {
        QLineEdit::focusOutEvent(e);
        return;
    }
    if (loading_)
        return;
    LookupFocusLost();
    clickCausedFocus_ = false;
    if (!((errorState_ && showError_) || showModified_)) {
        SetBackground(savedColor_);
        if (!(IsURL() && showURL_))
            SetFontColor(savedFontColor_);
    }
    if (focusLabel_ && label_) {
        QFont f = label_->font();
        f.setBold(false);
        label_->setFont(f);
    }
    if (editType_ == TFieldEditType::etFloat || editType_ == TFieldEditType::etMoney) {
        if (Text().empty())
            SetDecimalValue(0);
        if (precision_ > 0)
            SetDecimalValue(DecimalValue());
    }
    if (editType_ == TFieldEditType::etNumeric && Text().empty())
        SetText("0");
    if (onValueValidate_) {
        bool isValid = true;
        onValueValidate_(*this, Text(), isValid);
    }
    QLineEdit::focusOutEvent(e);
    if (focusBorder_)
        update();
    if (focusAlignSwitching_)
        return;
    if (focusWidthInc_ > 0)
        SetWidth(width() - focusWidthInc_);
    if (savedAlign_ != editAlign_ && focusAlign_ != TEditAlign::eaDefault)
        SetEditAlign(savedAlign_);
    if ((!emptyText_.empty() && Text().empty()) || errorMarkerLen_ > 0)
        update();
}

// ---------------------------------------------------------------- mouse

int TFieldEdit::CharFromPos(QPoint point) const
{
    return const_cast<TFieldEdit*>(this)->cursorPositionAt(point);
}

void TFieldEdit::mousePressEvent(QMouseEvent* e)
{
    const bool focusedBefore = hasFocus() && !clickCausedFocus_;
    clickCausedFocus_ = false;
    if (e->button() == Qt::LeftButton && focusedBefore) {
        const int i = CharFromPos(e->position().toPoint());
        if (urlShown_ && showURL_)
            QDesktopServices::openUrl(QUrl::fromUserInput(ToQString(Text())));
        const int caret = SelStart();
        if (SelLength() > 0 && caret <= i && i <= caret + SelLength()) {
            // The selection stays; a drag may start from here.
            dragPending_ = true;
            e->accept();
            return;
        }
    }
    QLineEdit::mousePressEvent(e);
}

void TFieldEdit::mouseMoveEvent(QMouseEvent* e)
{
    // A press inside the selection keeps the selection while the button is down; the
    // first move drags it out where the edit is a drag source.
    if (dragPending_) {
        e->accept();
        if (SelLength() > 0 && oleDropSource_)
            StartDrag();
        return;
    }
    QLineEdit::mouseMoveEvent(e);
}

void TFieldEdit::mouseReleaseEvent(QMouseEvent* e)
{
    // Every paste goes through the filtered paste; the selection clipboard has none.
    if (e->button() == Qt::MiddleButton) {
        e->accept();
        return;
    }
    if (dragPending_)
        SetSel(CharFromPos(e->position().toPoint()), 0);
    dragPending_ = false;
    QLineEdit::mouseReleaseEvent(e);
    const int p = static_cast<int>(prefix_.size());
    if (!prefix_.empty() && SelStart() < p)
        SetSel(p, static_cast<int>(Text().size()));
    KeepCaretInEditable();
}

void TFieldEdit::mouseDoubleClickEvent(QMouseEvent* e)
{
    QLineEdit::mouseDoubleClickEvent(e);
    KeepCaretInEditable();
}

void TFieldEdit::contextMenuEvent(QContextMenuEvent* e)
{
    // The standard edit menu, with every command through the edit's own rules.
    QMenu menu(this);
    const bool hasSelection = hasSelectedText();
    const bool password = echoMode() != QLineEdit::Normal;
    const QMimeData* clip = QApplication::clipboard()->mimeData();
    QAction* undoAction = menu.addAction(tr("&Undo"), this, [this] {
        undo();
        KeepCaretInEditable();
    });
    undoAction->setEnabled(isUndoAvailable() && !isReadOnly());
    menu.addSeparator();
    menu.addAction(tr("Cu&t"), this, [this] { WMCut(); })
        ->setEnabled(hasSelection && !password && !isReadOnly());
    menu.addAction(tr("&Copy"), this, [this] { WMCopy(); })->setEnabled(hasSelection && !password);
    menu.addAction(tr("&Paste"), this, [this] { WMPaste(); })
        ->setEnabled(clip && clip->hasText() && !isReadOnly());
    menu.addAction(tr("&Delete"), this, [this] { del(); })
        ->setEnabled(hasSelection && !isReadOnly());
    menu.addSeparator();
    menu.addAction(tr("Select &All"), this, [this] { SelectEditableText(); })
        ->setEnabled(!Text().empty());
    menu.exec(e->globalPos());
}
