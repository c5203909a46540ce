#include "ScriptedUi.h"

#include "platform/text/Cp1252.h"

#include <QCoreApplication>
#include <QWidget>
#include <gtest/gtest.h>

#include <utility>

namespace {

const char* Name(ui::MsgKind kind)
{
    switch (kind) {
    case ui::MsgKind::Error:
        return "error";
    case ui::MsgKind::Warning:
        return "warning";
    case ui::MsgKind::Information:
        return "information";
    case ui::MsgKind::Confirmation:
        return "confirmation";
    }
    return "?";
}

const char* Name(ui::Buttons buttons)
{
    switch (buttons) {
    case ui::Buttons::OK:
        return "OK";
    case ui::Buttons::OKCancel:
        return "OK/Cancel";
    case ui::Buttons::YesNo:
        return "Yes/No";
    case ui::Buttons::YesNoCancel:
        return "Yes/No/Cancel";
    case ui::Buttons::CancelRetry:
        return "Cancel/Retry";
    case ui::Buttons::CancelRetryIgnore:
        return "Cancel/Retry/Ignore";
    }
    return "?";
}

bool Offers(ui::Buttons buttons, ui::Result result)
{
    using ui::Result;
    switch (buttons) {
    case ui::Buttons::OK:
        return result == Result::OK;
    case ui::Buttons::OKCancel:
        return result == Result::OK || result == Result::Cancel;
    case ui::Buttons::YesNo:
        return result == Result::Yes || result == Result::No;
    case ui::Buttons::YesNoCancel:
        return result == Result::Yes || result == Result::No || result == Result::Cancel;
    case ui::Buttons::CancelRetry:
        return result == Result::Cancel || result == Result::Retry;
    case ui::Buttons::CancelRetryIgnore:
        return result == Result::Cancel || result == Result::Retry || result == Result::Ignore;
    }
    return false;
}

std::string Describe(ui::MsgKind kind, const std::string& text, ui::Buttons buttons)
{
    return std::string(Name(kind)) + " box [" + Name(buttons) + "] \"" + text + "\"";
}

}  // namespace

ScriptedUi::ScriptedUi() : previous_(ui::CurrentUi())
{
    ui::SetCurrentUi(this);
}

ScriptedUi::~ScriptedUi()
{
    VerifyDone();
    ui::SetCurrentUi(&previous_);
}

void ScriptedUi::ExpectMessage(ui::MsgKind kind, std::string text, ui::Buttons buttons,
                               ui::Result answer)
{
    if (answer != ui::Result::None && !Offers(buttons, answer)) {
        ADD_FAILURE() << "script error: the answer is not a button of "
                      << Describe(kind, text, buttons);
    }
    Step step;
    step.kind = StepKind::Message;
    step.msgKind = kind;
    step.text = std::move(text);
    step.buttons = buttons;
    step.answer = answer;
    script_.push_back(std::move(step));
}

void ScriptedUi::ExpectMessageContaining(ui::MsgKind kind, std::string part, ui::Buttons buttons,
                                         ui::Result answer)
{
    ExpectMessage(kind, std::move(part), buttons, answer);
    script_.back().containing = true;
}

void ScriptedUi::ExpectInput(std::optional<std::string> answer)
{
    Step step;
    step.kind = StepKind::Input;
    step.value = std::move(answer);
    script_.push_back(std::move(step));
}

void ScriptedUi::ExpectOpenFile(std::optional<std::string> answer)
{
    Step step;
    step.kind = StepKind::OpenFile;
    step.value = std::move(answer);
    script_.push_back(std::move(step));
}

void ScriptedUi::ExpectSaveFile(std::optional<std::string> answer)
{
    Step step;
    step.kind = StepKind::SaveFile;
    step.value = std::move(answer);
    script_.push_back(std::move(step));
}

void ScriptedUi::ExpectModal(std::function<int(QWidget&)> drive)
{
    Step step;
    step.kind = StepKind::Modal;
    step.drive = std::move(drive);
    script_.push_back(std::move(step));
}

std::optional<ScriptedUi::Step> ScriptedUi::Take(StepKind kind, const std::string& arrived)
{
    if (script_.empty()) {
        ADD_FAILURE() << "unexpected " << arrived << " (the script is used up)";
        return std::nullopt;
    }
    if (script_.front().kind != kind) {
        ADD_FAILURE() << "unexpected " << arrived << " (the script expects another step)";
        return std::nullopt;
    }
    Step step = std::move(script_.front());
    script_.pop_front();
    return step;
}

ui::Result ScriptedUi::MessageBox(ui::MsgKind kind, const std::string& text, ui::Buttons buttons)
{
    return UnicodeMessageBox(kind, ToQString(text), buttons);
}

ui::Result ScriptedUi::UnicodeMessageBox(ui::MsgKind kind, const QString& shown,
                                         ui::Buttons buttons)
{
    const std::string text = ToCp1252(shown);
    messages_.push_back({kind, text, buttons, shown});
    const std::string arrived = Describe(kind, text, buttons);
    const std::optional<Step> step = Take(StepKind::Message, arrived);
    if (!step) {
        return ui::EscapeAnswer(buttons);
    }
    const bool textMatches =
        step->containing ? text.find(step->text) != std::string::npos : text == step->text;
    if (!textMatches || step->msgKind != kind || step->buttons != buttons) {
        ADD_FAILURE() << "mismatched box: got " << arrived << ", expected "
                      << (step->containing ? "one containing " : "")
                      << Describe(step->msgKind, step->text, step->buttons);
        return ui::EscapeAnswer(buttons);
    }
    return step->answer;
}

bool ScriptedUi::InputBox(const std::string& caption, const std::string& prompt, std::string& value)
{
    inputs_.push_back({caption, prompt, value});
    const std::optional<Step> step =
        Take(StepKind::Input, "input box \"" + caption + "\" \"" + prompt + "\"");
    if (!step || !step->value) {
        return false;
    }
    value = *step->value;
    return true;
}

std::optional<std::string> ScriptedUi::FileDialogAnswer(bool save,
                                                        const ui::FileDialogOptions& options)
{
    fileDialogs_.push_back({save, options});
    const std::optional<Step> step =
        Take(save ? StepKind::SaveFile : StepKind::OpenFile,
             std::string(save ? "save" : "open") + " dialog \"" + options.title + "\"");
    return step ? step->value : std::nullopt;
}

std::optional<std::string> ScriptedUi::OpenFile(const ui::FileDialogOptions& options)
{
    return FileDialogAnswer(false, options);
}

std::optional<std::string> ScriptedUi::SaveFile(const ui::FileDialogOptions& options)
{
    return FileDialogAnswer(true, options);
}

int ScriptedUi::ShowModal(QWidget& window)
{
    const std::string name = window.objectName().toStdString();
    modals_.push_back(name);
    const std::optional<Step> step = Take(StepKind::Modal, "modal window " + name);
    return step ? step->drive(window) : 0;
}

void ScriptedUi::ProcessMessages()
{
    QCoreApplication::processEvents();
}

void ScriptedUi::SetBusyCursor(bool busy)
{
    if (busy) {
        ++busyDepth_;
    } else if (busyDepth_ > 0) {
        --busyDepth_;
    } else {
        ADD_FAILURE() << "hourglass restored more often than set";
    }
}

void ScriptedUi::VerifyDone()
{
    for (const Step& step : script_) {
        switch (step.kind) {
        case StepKind::Message:
            ADD_FAILURE() << "expected box never shown: "
                          << Describe(step.msgKind, step.text, step.buttons);
            break;
        case StepKind::Input:
            ADD_FAILURE() << "expected input box never shown";
            break;
        case StepKind::OpenFile:
            ADD_FAILURE() << "expected open dialog never shown";
            break;
        case StepKind::SaveFile:
            ADD_FAILURE() << "expected save dialog never shown";
            break;
        case StepKind::Modal:
            ADD_FAILURE() << "expected modal window never shown";
            break;
        }
    }
    script_.clear();
    if (busyDepth_ != 0) {
        ADD_FAILURE() << "hourglass still on (" << busyDepth_ << " guards)";
        busyDepth_ = 0;
    }
}
