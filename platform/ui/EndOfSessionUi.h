#pragma once

#include "platform/ui/Ui.h"

namespace ui {

// The Ui once the session has ended and nobody is at the screen: each message goes to the
// standard error under the program's title and is answered at once as Escape would answer
// it; dialogs are cancelled and modal windows are not shown. Messages are still let
// through, and the cursor still set, by the Ui it stands in for.
class EndOfSessionUi final : public Ui {
public:
    explicit EndOfSessionUi(Ui& replaced) : replaced_(replaced) {}

    Result MessageBox(MsgKind kind, const std::string& text, Buttons buttons) override;
    Result UnicodeMessageBox(MsgKind kind, const QString& text, Buttons buttons) override;
    bool InputBox(const std::string& caption, const std::string& prompt,
                  std::string& value) override;
    std::optional<std::string> OpenFile(const FileDialogOptions& options) override;
    std::optional<std::string> SaveFile(const FileDialogOptions& options) override;
    int ShowModal(QWidget& window) override;
    void ProcessMessages() override;
    void SetBusyCursor(bool busy) override;

    Ui& Replaced() const { return replaced_; }

private:
    Ui& replaced_;
};

}  // namespace ui
