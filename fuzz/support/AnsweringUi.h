#pragma once

#include "simulators/UnattendedUi.h"

#include <atomic>
#include <string>
#include <vector>

namespace fuzz {

// Answers each box with the next byte of a script (taken modulo the box's buttons); once
// the script is spent, with the answer that ends the command (Cancel, else No, else OK), so
// no input can keep a command retrying for ever. Once given a script, keeps the boxes it is
// shown, so that a target can hold them against the boxes a model of the command expects (a
// second instance, given the same script and shown those boxes, answers them alike); a
// target that never sets a script keeps none.
class AnsweringUi final : public UnattendedUi {
public:
    struct TBox {
        ui::MsgKind kind;
        std::string text;
        ui::Buttons buttons;

        bool operator==(const TBox&) const = default;
    };

    // A new script; the boxes kept start afresh.
    void SetScript(std::string script);
    const std::vector<TBox>& Shown() const { return shown_; }
    // How often the window's messages were let through, for a thread that must know whether
    // a waiting loop went round again after some moment.
    int Processed() const { return processed_; }

    ui::Result MessageBox(ui::MsgKind kind, const std::string& text, ui::Buttons buttons) override;
    void ProcessMessages() override { ++processed_; }

private:
    std::string script_;
    std::size_t next_ = 0;
    bool keeping_ = false;
    std::vector<TBox> shown_;
    std::atomic<int> processed_ = 0;
};

}  // namespace fuzz
