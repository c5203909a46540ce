// TFieldEdit: the text between Prefix and Suffix, its writes, the selection and the
// clipboard.
#include "widgets/FieldEdit.h"

#include "platform/text/Cp1252.h"
#include "platform/text/LocaleSeparators.h"
#include "platform/text/TextCase.h"
#include "widgets/FieldEditText.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <algorithm>

std::string TFieldEdit::WindowText() const
{
    return ToCp1252(QLineEdit::text());
}

void TFieldEdit::SetWindowText(const std::string& text)
{
    QLineEdit::setText(ToQString(text));
}

std::string TFieldEdit::Text() const
{
    std::string w = WindowText();
    if (!prefix_.empty() && w.starts_with(prefix_))
        w.erase(0, prefix_.size());
    // The key and mouse rules keep the suffix in place, so the tail is the suffix.
    if (!suffix_.empty() && w.size() >= suffix_.size())
        w.erase(w.size() - suffix_.size());
    return w;
}

namespace {

// Whether a field of this type shows a text of this class as it is; one it does not
// becomes "0".
bool TypeTakes(TFieldEditType editType, uint8_t type)
{
    switch (editType) {
    case TFieldEditType::etNumeric:
        return type == ttInteger;
    case TFieldEditType::etFloat:
    case TFieldEditType::etMoney:
        return type != ttOther && type != ttHexadecimal;
    case TFieldEditType::etHex:
        return type == ttInteger || type == ttHexadecimal;
    default:
        return true;
    }
}

}  // namespace

void TFieldEdit::SetText(const std::string& value)
{
    // Built afresh rather than assigned over: g++ 12 with -O3 warns falsely of an
    // overlapping copy (-Wrestrict) when a literal is assigned over a copy of the argument.
    std::string v =
        value.empty() || TypeTakes(editType_, DetectTextType(value)) ? value : std::string("0");
    if (!v.empty()) {
        if (precision_ > 0 && editType_ == TFieldEditType::etMoney)
            v = FormatFixed(TextToFloat(v), precision_, true);
        else if (precision_ > 0 && editType_ == TFieldEditType::etFloat)
            v = FormatFixed(TextToFloat(v), precision_, false);
    }
    if (editType_ == TFieldEditType::etHex)
        v = UpperCaseAscii(v);
    SetWindowText(prefix_ + v + suffix_);
    MarkModified(false);
    if (showURL_)
        SetURLLook(IsURL());
}

void TFieldEdit::SetEditableTextPlain(const std::string& text)
{
    SetWindowText(prefix_ + text + suffix_);
}

void TFieldEdit::SetPrefix(const std::string& value)
{
    const std::string t = Text();
    prefix_ = value;
    SetWindowText(t);
    SetText(t);
}

void TFieldEdit::SetSuffix(const std::string& value)
{
    const std::string t = Text();
    suffix_ = value;
    SetWindowText(t);
    SetText(t);
}

// ---------------------------------------------------------------- selection

int TFieldEdit::SelStart() const
{
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

void TFieldEdit::SetSel(int start, int length)
{
    const int size = static_cast<int>(QLineEdit::text().size());
    start = std::clamp(start, 0, size);
    const int end = std::clamp(start + length, 0, size);
    if (end == start)
        setCursorPosition(start);
    else
        setSelection(start, end - start);
}

void TFieldEdit::SelectEditableText()
{
    const int length = static_cast<int>(Text().size());
    const int p = static_cast<int>(prefix_.size());
    SetSel(p, length);
    if (!showURL_)
        return;
    const std::string text = Text();
    for (const std::string marker : {"://", "mailto:"}) {
        if (const auto at = text.find(marker); at != std::string::npos) {
            const int from = static_cast<int>(at + marker.size());
            SetSel(p + from, length - from);
        }
    }
}

void TFieldEdit::KeepCaretInEditable()
{
    const int p = static_cast<int>(prefix_.size());
    const int e = p + static_cast<int>(Text().size());
    const int caret = cursorPosition();
    if (!hasSelectedText()) {
        if (caret < p || caret > e)
            setCursorPosition(std::clamp(caret, p, e));
        return;
    }
    const int start = selectionStart();
    const int end = selectionEnd();
    const int s = std::clamp(start, p, e);
    const int t = std::clamp(end, p, e);
    if (s == start && t == end)
        return;
    if (s == t)
        setCursorPosition(s);
    else if (caret == start)
        setSelection(t, s - t);
    else
        setSelection(s, t - s);
}

std::string TFieldEdit::SelectedEditableText() const
{
    const std::string text = Text();
    const int from = SelStart() - static_cast<int>(prefix_.size());
    if (from < 0 || from >= static_cast<int>(text.size()))
        return {};
    return text.substr(static_cast<size_t>(from), static_cast<size_t>(SelLength()));
}

// ---------------------------------------------------------------- clipboard

bool TFieldEdit::AllowClipboard(const TClipboardEvent& handler) const
{
    bool allow = true;
    if (handler)
        handler(const_cast<TFieldEdit&>(*this), SelectedEditableText(), allow);
    return allow;
}

void TFieldEdit::WMCopy()
{
    if (AllowClipboard(onClipboardCopy_))
        QLineEdit::copy();
}

void TFieldEdit::WMCut()
{
    // A password is never copied, so it is not cut either (it would just be lost).
    if (AllowClipboard(onClipboardCut_) && !isReadOnly() && echoMode() == QLineEdit::Normal)
        QLineEdit::cut();
}

TPasteResult TFieldEdit::InsertPasteText(const std::string& pasted) const
{
    std::string t = Text();
    const int p = static_cast<int>(prefix_.size());
    const int a = std::clamp(SelStart() - p, 0, static_cast<int>(t.size()));
    const int selected = std::min(SelLength(), static_cast<int>(t.size()) - a);
    TPasteResult result;
    if (selected <= 0) {
        t.insert(static_cast<size_t>(a), pasted);
        result.caret = p + a + static_cast<int>(pasted.size());
    } else {
        t.replace(static_cast<size_t>(a), static_cast<size_t>(selected), pasted);
        result.caret = p + a;
        result.selLength = static_cast<int>(pasted.size());
    }
    result.text = std::move(t);
    return result;
}

void TFieldEdit::WMPaste()
{
    if (isReadOnly())
        return;
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasText()) {
        UpdateLookup();
        return;
    }
    QString clip = data->text();
    // The clipboard's text ends at its terminating zero.
    if (const auto zero = clip.indexOf(QChar(0)); zero >= 0)
        clip.truncate(zero);
    const std::string pasted = ToCp1252(clip);
    if (!AllowClipboard(onClipboardPaste_))
        return;
    const TPasteResult r = InsertPasteText(pasted);
    const std::string& n = r.text;
    const uint8_t type = DetectTextType(n);
    switch (editType_) {
    case TFieldEditType::etString:
    case TFieldEditType::etPassword:
        SetText(n);
        break;
    case TFieldEditType::etNumeric:
        if (type == ttInteger) {
            SetText(n);
            MarkModified(true);
        }
        break;
    case TFieldEditType::etFloat:
    case TFieldEditType::etMoney:
        if ((type == ttInteger || type == ttNumber) &&
            !(precision_ == 0 && pasted.find(DecimalSeparator()) != std::string::npos)) {
            SetText(n);
            SetDecimalValue(DecimalValue());
            MarkModified(true);
        }
        break;
    case TFieldEditType::etUppercase:
        SetText(UpperCaseLocale(n));
        break;
    case TFieldEditType::etLowerCase:
        SetText(LowerCaseLocale(n));
        break;
    case TFieldEditType::etMixedCase:
        SetText(MixedCase(n));
        break;
    case TFieldEditType::etAlphaNumeric:
        if (std::all_of(n.begin(), n.end(), [](char c) {
                return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
            })) {
            SetText(n);
            MarkModified(true);
        }
        break;
    case TFieldEditType::etRange:
    case TFieldEditType::etHex:
        break;
    }
    if (editType_ == TFieldEditType::etMoney && Text().size() > 3)
        SelectEditableText();
    else
        SetSel(r.caret, r.selLength);
    KeepCaretInEditable();
    switch (editType_) {
    case TFieldEditType::etString:
    case TFieldEditType::etUppercase:
    case TFieldEditType::etMixedCase:
    case TFieldEditType::etLowerCase:
    case TFieldEditType::etPassword:
        MarkModified(true);
        break;
    default:
        break;
    }
    UpdateLookup();
}
