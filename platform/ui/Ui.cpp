#include "platform/ui/Ui.h"

#include "platform/text/Cp1252.h"
#include "platform/text/Errors.h"
#include "platform/ui/Guarded.h"
#include "platform/ui/QtUi.h"

namespace ui {

namespace {

Ui* installed = nullptr;

Ui& RealUi()
{
    static QtUi real;
    return real;
}

}  // namespace

Result EscapeAnswer(Buttons buttons)
{
    switch (buttons) {
    case Buttons::OK:
        return Result::OK;
    case Buttons::YesNo:
        return Result::No;
    case Buttons::OKCancel:
    case Buttons::YesNoCancel:
    case Buttons::CancelRetry:
    case Buttons::CancelRetryIgnore:
        return Result::Cancel;
    }
    return Result::Cancel;
}

Result Ui::UnicodeMessageBox(MsgKind kind, const QString& text, Buttons buttons)
{
    return MessageBox(kind, ToCp1252(text), buttons);
}

Ui& CurrentUi()
{
    return installed ? *installed : RealUi();
}

void SetCurrentUi(Ui* ui)
{
    installed = ui;
}

Result ShowMessage(MsgKind kind, const std::string& text, Buttons buttons)
{
    return CurrentUi().MessageBox(kind, text, buttons);
}

Result ShowUnicodeMessage(MsgKind kind, const QString& text, Buttons buttons)
{
    return CurrentUi().UnicodeMessageBox(kind, text, buttons);
}

BusyCursor::BusyCursor() : ui_(CurrentUi())
{
    ui_.SetBusyCursor(true);
}

BusyCursor::~BusyCursor()
{
    ui_.SetBusyCursor(false);
}

void HandleException(const std::exception& e) noexcept
{
    try {
        ShowUnicodeMessage(MsgKind::Error, ShownText(e), Buttons::OK);
    } catch (...) {
        // The last line of defence: a failing error box must not take the program down.
    }
}

void HandleUnknownException() noexcept
{
    try {
        ShowMessage(MsgKind::Error, "Unknown error", Buttons::OK);
    } catch (...) {
    }
}

}  // namespace ui
