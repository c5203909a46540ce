#include "fuzz/support/AnsweringUi.h"

#include "fuzz/support/Fuzz.h"

#include <vector>

namespace fuzz {

namespace {

std::vector<ui::Result> Choices(ui::Buttons buttons)
{
    using ui::Result;
    switch (buttons) {
    case ui::Buttons::OK:
        return {Result::OK};
    case ui::Buttons::OKCancel:
        return {Result::OK, Result::Cancel};
    case ui::Buttons::YesNo:
        return {Result::Yes, Result::No};
    case ui::Buttons::YesNoCancel:
        return {Result::Yes, Result::No, Result::Cancel};
    case ui::Buttons::CancelRetry:
        return {Result::Cancel, Result::Retry};
    case ui::Buttons::CancelRetryIgnore:
        return {Result::Cancel, Result::Retry, Result::Ignore};
    }
    return {Result::OK};
}

}  // namespace

void AnsweringUi::SetScript(std::string script)
{
    script_ = std::move(script);
    next_ = 0;
    keeping_ = true;
    shown_.clear();
}

ui::Result AnsweringUi::MessageBox(ui::MsgKind kind, const std::string& text, ui::Buttons buttons)
{
    Require(!text.empty(), "every box tells the person something");
    if (keeping_)
        shown_.push_back({kind, text, buttons});
    const std::vector<ui::Result> choices = Choices(buttons);
    if (next_ >= script_.size())
        return ui::EscapeAnswer(buttons);
    const auto byte = static_cast<unsigned char>(script_[next_++]);
    return choices[byte % choices.size()];
}

}  // namespace fuzz
