#include "widgets/FieldEdit.h"

#include "platform/ole/Ole.h"
#include "platform/text/Errors.h"
#include "platform/text/Format.h"
#include "platform/text/LocaleSeparators.h"
#include "platform/toolkit/TAlign.h"
#include "widgets/FieldEditText.h"
#include "widgets/FieldEditModule.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QPalette>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

// The module's start and end: OLE is initialised before any window exists and released
// at exit, as the drag and drop of the edits needs it.
void RaiseAssertion(const std::string& message, const char* module, int line)
{
    throw EAssertionFailed(Format("%s (%s, line %d)", message, module, line));
}

void CheckOleInitialize(ole::HRESULT result)
{
    if (result != ole::S_OK && result != ole::S_FALSE)
        RaiseAssertion(Format("OleInitialize failed ($%x)", result), "FieldEdit", __LINE__);
}

namespace {

struct FieldEditModule final {
    FieldEditModule()
    {
        try {
            CheckOleInitialize(ole::OleInitialize());
        } catch (const EAssertionFailed& e) {
            // Start-up stops here, before any window or message loop exists.
            std::fprintf(stderr, "%s\n", e.what());
            std::exit(EXIT_FAILURE);
        }
    }
    ~FieldEditModule() { ole::OleUninitialize(); }
    FieldEditModule(const FieldEditModule&) = delete;
    FieldEditModule& operator=(const FieldEditModule&) = delete;
};

const FieldEditModule fieldEditModule;

bool IsDecimalType(TFieldEditType type)
{
    return type == TFieldEditType::etFloat || type == TFieldEditType::etMoney;
}

}  // namespace

TFieldEdit::TFieldEdit(QWidget* parent) : QLineEdit(parent), labelFont_(QApplication::font())
{
    // The edit keeps its own limit, placeholder, paste and drop rules; the line edit
    // underneath must not cut or insert text by itself.
    QLineEdit::setMaxLength(std::numeric_limits<int>::max());
    setAcceptDrops(false);
    setDragEnabled(false);
    savedFontColor_ = fontColor_;
    savedColor_ = color_;
    ApplyColors();
    connect(this, &QLineEdit::textChanged, this, [this] { TextChanged(); });
    CreateLookupWindow();
    WatchHoldingWindow();
}

// An edit freed on its own stores nothing: its text is kept only when it goes with the
// window that holds it (WatchHoldingWindow).
TFieldEdit::~TFieldEdit()
{
    delete label_.data();
}

void TFieldEdit::BeginLoad()
{
    loading_ = true;
}

void TFieldEdit::Loaded()
{
    loading_ = false;
    CaptureLoadedState();
    SetHeight(loadedHeight_ > 0 ? loadedHeight_ : height());
    LoadPersistence();
}

void TFieldEdit::CaptureLoadedState()
{
    savedColor_ = color_;
    savedFontColor_ = fontColor_;
    savedBorder_ = hasFrame();
    ApplyFlat(flat_);
    if (label_)
        UpdateLabelPosition();
    if (!Enabled())
        SetBackground(disabledColor_);
}

// ---------------------------------------------------------------- edit type and options

void TFieldEdit::SetEditType(TFieldEditType value)
{
    if (value == editType_)
        return;
    editType_ = value;
    if (value == TFieldEditType::etPassword) {
        setEchoMode(QLineEdit::Password);
        canUndo_ = false;
    } else {
        setEchoMode(QLineEdit::Normal);
    }
    const uint8_t type = DetectTextType(Text());
    switch (value) {
    case TFieldEditType::etNumeric:
        if (type != ttInteger)
            SetIntegerValue(0);
        break;
    case TFieldEditType::etFloat:
    case TFieldEditType::etMoney:
        if (type == ttOther || type == ttHexadecimal)
            SetDecimalValue(0);
        break;
    case TFieldEditType::etHex:
        if (type != ttInteger && type != ttHexadecimal)
            SetIntegerValue(0);
        break;
    default:
        break;
    }
}

void TFieldEdit::SetEditAlign(TEditAlign value)
{
    if (value == editAlign_)
        return;
    editAlign_ = value;
    // The line edit changes its alignment in place, keeping text, selection and focus.
    ApplyAlignment();
}

void TFieldEdit::ApplyAlignment()
{
    Qt::Alignment horizontal = Qt::AlignLeft;
    if (editAlign_ == TEditAlign::eaRight)
        horizontal = Qt::AlignRight;
    else if (editAlign_ == TEditAlign::eaCenter)
        horizontal = Qt::AlignHCenter;
    setAlignment(horizontal | Qt::AlignVCenter);
}

void TFieldEdit::SetCanUndo(bool value)
{
    if (value == canUndo_)
        return;
    canUndo_ = value && editType_ != TFieldEditType::etPassword;
}

void TFieldEdit::SetPrecision(int16_t value)
{
    if (!IsDecimalType(editType_) || value == precision_)
        return;
    precision_ = value;
    const uint8_t type = DetectTextType(Text());
    SetDecimalValue(type == ttOther || type == ttHexadecimal ? 0 : DecimalValue());
}

void TFieldEdit::SetAutoThousandSeparator(bool value)
{
    autoThousandSeparator_ = value;
    if (IsDecimalType(editType_))
        ApplyThousandSeparators();
}

// ---------------------------------------------------------------- values

int32_t TFieldEdit::IntegerValue() const
{
    const std::string text = Text();
    switch (editType_) {
    case TFieldEditType::etNumeric:
    case TFieldEditType::etFloat:
        return ValInt(text);
    case TFieldEditType::etMoney:
        return ValInt(StripThousandSeparators(text));
    case TFieldEditType::etHex:
        return text.empty() ? 0 : HexToInt(text);
    default:
        return 0;
    }
}

void TFieldEdit::SetIntegerValue(int32_t value)
{
    switch (editType_) {
    case TFieldEditType::etNumeric:
    case TFieldEditType::etFloat:
        SetText(Format("%d", value));
        break;
    case TFieldEditType::etMoney:
        SetText(Format("%d", value));
        ApplyThousandSeparators();
        break;
    case TFieldEditType::etHex:
        SetText(Format("%x", value));
        break;
    default:
        break;
    }
    MarkModified(true);
}

double TFieldEdit::TextToFloat(const std::string& s) const
{
    return TextToFloatValue(s);
}

double TFieldEdit::DecimalValue() const
{
    std::string text = Text();
    if (text.empty())
        return 0;
    switch (editType_) {
    case TFieldEditType::etNumeric:
    case TFieldEditType::etFloat:
        return TextToFloat(text);
    case TFieldEditType::etMoney:
        text = StripThousandSeparators(text);
        if (!text.empty() && text.back() == DecimalSeparator())
            text.pop_back();
        return text.empty() || text == "-" ? 0 : TextToFloat(text);
    case TFieldEditType::etHex:
        return HexToInt(text);
    default:
        return 0;
    }
}

void TFieldEdit::SetDecimalValue(double value)
{
    switch (editType_) {
    case TFieldEditType::etNumeric:
    case TFieldEditType::etFloat:
        // Without thousand separators: a numeric edit's Text write would turn a grouped
        // number into "0".
        SetText(precision_ < 0 ? FormatGeneral(value) : FormatFixed(value, precision_, false));
        break;
    case TFieldEditType::etMoney:
        SetText(precision_ < 1 ? FormatGeneral(value) : FormatFixed(value, precision_, false));
        ApplyThousandSeparators();
        break;
    case TFieldEditType::etHex: {
        // Truncated toward zero; beyond the 32-bit range the value saturates.
        const double t = std::trunc(std::isfinite(value) ? value : 0);
        const double clamped = std::clamp(t, -2147483648.0, 4294967295.0);
        const auto bits = clamped < 0 ? static_cast<uint32_t>(static_cast<int64_t>(clamped))
                                      : static_cast<uint32_t>(clamped);
        SetText(Format("%x", bits));
        break;
    }
    default:
        break;
    }
    MarkModified(true);
}

void TFieldEdit::ApplyThousandSeparators()
{
    const std::string text = Text();
    if (text.empty())
        return;
    const int oldLength = static_cast<int>(text.size());
    const int caret = SelStart();
    std::string rest = text;
    std::string sign;
    if (rest[0] == '-') {
        sign = "-";
        rest.erase(0, 1);
    }
    std::string fraction;
    if (const auto point = rest.find(DecimalSeparator()); point != std::string::npos)
        fraction = rest.substr(point, 256);
    std::string integer =
        FormatFixed(std::trunc(std::fabs(DecimalValue())), 0, autoThousandSeparator_);
    if (const auto point = integer.find(DecimalSeparator()); point != std::string::npos)
        integer.erase(point);
    const int16_t precision = precision_;
    precision_ = 0;
    SetWindowText(prefix_ + sign + integer + fraction + suffix_);
    precision_ = precision;
    SetSel(caret + static_cast<int>(Text().size()) - oldLength, 0);
}

// ---------------------------------------------------------------- change notification

void TFieldEdit::TextChanged()
{
    if (transparent_)
        update();
    if (showURL_) {
        const bool url = IsURL();
        if (url != urlShown_)
            SetURLLook(url);
    }
    Change();
}

void TFieldEdit::Change()
{
    if (onChange_)
        onChange_(*this);
    if (loading_ || !onValueValidate_)
        return;
    bool isValid = true;
    onValueValidate_(*this, Text(), isValid);
    if (showError_)
        SetErrorState(!isValid);
}

void TFieldEdit::MarkModified(bool flag)
{
    if (loading_)
        return;
    if (showModified_)
        SetFontColor(flag ? modifiedColor_ : savedFontColor_);
    setModified(flag);
}

bool TFieldEdit::IsURL() const
{
    const std::string text = Text();
    return text.find("://") != std::string::npos || text.find('@', 1) != std::string::npos;
}

void TFieldEdit::SetURLLook(bool on)
{
    QFont f = font();
    f.setUnderline(on);
    setFont(f);
    SetFontColor(on ? urlColor_ : savedFontColor_);
    urlShown_ = on;
    setCursor(on ? Qt::PointingHandCursor : Qt::IBeamCursor);
    if (on)
        update();
}

// ---------------------------------------------------------------- colour states

void TFieldEdit::ApplyColors()
{
    QPalette p = palette();
    const QColor base = transparent_ ? QColor(Qt::transparent) : ColorToQColor(color_);
    const QColor text = ColorToQColor(fontColor_);
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Base, base);
        if (group != QPalette::Disabled)
            p.setColor(group, QPalette::Text, text);
    }
    setPalette(p);
}

void TFieldEdit::SetBackground(TColor value)
{
    color_ = value;
    ApplyColors();
}

void TFieldEdit::SetColor(TColor value)
{
    savedColor_ = value;
    SetBackground(value);
}

void TFieldEdit::SetFontColor(TColor value)
{
    fontColor_ = value;
    ApplyColors();
}

void TFieldEdit::SetDisabledColor(TColor value)
{
    disabledColor_ = value;
    update();
}

void TFieldEdit::SetErrorState(bool value)
{
    if (loading_ || value == errorState_)
        return;
    errorState_ = value;
    if (!showError_)
        return;
    if (value) {
        SetBackground(errorColor_);
        SetFontColor(errorFontColor_);
    } else if (hasFocus()) {
        SetBackground(focusColor_);
        SetFontColor(focusFontColor_);
    } else {
        SetBackground(savedColor_);
        SetFontColor(savedFontColor_);
    }
}

void TFieldEdit::SetEnabled(bool value)
{
    const bool was = Enabled();
    setEnabled(value);
    if (loading_ || value == was)
        return;
    if (value) {
        SetBackground(savedColor_);
    } else {
        savedColor_ = color_;
        SetBackground(disabledColor_);
    }
    if (label_ && !labelAlwaysEnabled_)
        label_->setEnabled(value);
}

void TFieldEdit::setVisible(bool visible)
{
    QLineEdit::setVisible(visible);
    if (label_ && label_->parentWidget())
        label_->setVisible(visible);
}

// The edit is placed as every other control is, in its parent's client area; the label
// follows at once, also while the edit is hidden and gets no move event.
void TFieldEdit::SetBounds(int left, int top, int width, int height)
{
    ::SetBounds(this, left, top, width, height);
    UpdateLabelPosition();
}

void TFieldEdit::SetWidth(int value)
{
    ::SetWidth(this, value);
    UpdateLabelPosition();
}

void TFieldEdit::SetHeight(int value)
{
    if (loading_)
        loadedHeight_ = value;
    ::SetHeight(this, value);
    UpdateLabelPosition();
}
