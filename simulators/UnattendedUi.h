#pragma once

#include "platform/ui/Ui.h"

#include <optional>
#include <string>

// A Ui with nobody at the screen: every dialog is cancelled, modal windows return at once,
// nothing waits for a person. How a box is answered, each kind says.
class UnattendedUi : public ui::Ui {
public:
    bool InputBox(const std::string&, const std::string&, std::string&) override { return false; }
    std::optional<std::string> OpenFile(const ui::FileDialogOptions&) override { return {}; }
    std::optional<std::string> SaveFile(const ui::FileDialogOptions&) override { return {}; }
    int ShowModal(QWidget&) override { return 0; }
    void ProcessMessages() override {}
    void SetBusyCursor(bool) override {}
};
