#pragma once

#include "platform/ui/Ui.h"

#include <stdexcept>
#include <string>

// A Ui with nobody to ask: every box raises, every dialog is cancelled, modal windows
// return at once. For benchmarks, which must never show a box, and for the default
// handler, which must survive a box that fails.
class ThrowingUi final : public ui::Ui {
public:
    ui::Result MessageBox(ui::MsgKind, const std::string& text, ui::Buttons) override
    {
        throw std::runtime_error("unexpected box: " + text);
    }
    bool InputBox(const std::string&, const std::string&, std::string&) override { return false; }
    std::optional<std::string> OpenFile(const ui::FileDialogOptions&) override { return {}; }
    std::optional<std::string> SaveFile(const ui::FileDialogOptions&) override { return {}; }
    int ShowModal(QWidget&) override { return 0; }
    void ProcessMessages() override {}
    void SetBusyCursor(bool) override {}
};
