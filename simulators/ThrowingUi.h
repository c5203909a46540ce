#pragma once

#include "simulators/UnattendedUi.h"

#include <stdexcept>
#include <string>

// A Ui with nobody to ask: every box raises. For benchmarks, which must never show a box,
// and for the default handler, which must survive a box that fails.
class ThrowingUi final : public UnattendedUi {
public:
    ui::Result MessageBox(ui::MsgKind, const std::string& text, ui::Buttons) override
    {
        throw std::runtime_error("unexpected box: " + text);
    }
};
