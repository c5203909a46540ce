#pragma once

#include "platform/ui/Ui.h"

namespace ui {

// The Ui that draws Qt dialogs; CurrentUi() gives it unless a test installed another.
class QtUi final : public Ui {
public:
    Result MessageBox(MsgKind kind, const std::string& text, Buttons buttons) override;
    Result UnicodeMessageBox(MsgKind kind, const QString& text, Buttons buttons) override;
    bool InputBox(const std::string& caption, const std::string& prompt,
                  std::string& value) override;
    std::optional<std::string> OpenFile(const FileDialogOptions& options) override;
    std::optional<std::string> SaveFile(const FileDialogOptions& options) override;
    int ShowModal(QWidget& window) override;
    void ProcessMessages() override;
    void SetBusyCursor(bool busy) override;

private:
    int busyDepth_ = 0;
};

}  // namespace ui
