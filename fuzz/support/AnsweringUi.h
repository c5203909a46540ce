#pragma once

#include "simulators/UnattendedUi.h"

#include <string>

namespace fuzz {

// Answers each box with the next byte of a script (taken modulo the box's buttons); once
// the script is spent, with the answer that ends the command (Cancel, else No, else OK), so
// no input can keep a command retrying for ever.
class AnsweringUi final : public UnattendedUi {
public:
    void SetScript(std::string script);
    int BoxCount() const { return boxes_; }

    ui::Result MessageBox(ui::MsgKind kind, const std::string& text, ui::Buttons buttons) override;

private:
    std::string script_;
    std::size_t next_ = 0;
    int boxes_ = 0;
};

}  // namespace fuzz
