#pragma once

#include "platform/ui/Ui.h"

#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Answers the program's boxes and dialogs from a script in tests. Installed as the
// current Ui for its lifetime. A box or dialog nobody expected, or one that differs from
// the next expected step, fails the test at once and gets a harmless answer (Cancel where
// the box has it, else No, else OK; a cancelled dialog), so the code under test runs on
// and never waits for a person. The script must be used up when the test ends.
class ScriptedUi final : public ui::Ui {
public:
    struct Message {
        ui::MsgKind kind;
        std::string text;  // as system text; expectations compare with it
        ui::Buttons buttons;
        QString shown;  // as the box shows it (file names in their own characters)
    };
    struct Input {
        std::string caption;
        std::string prompt;
        std::string value;  // as offered, before the answer
    };
    struct FileDialog {
        bool save;
        ui::FileDialogOptions options;
    };

    ScriptedUi();
    ~ScriptedUi() override;
    ScriptedUi(const ScriptedUi&) = delete;
    ScriptedUi& operator=(const ScriptedUi&) = delete;

    // The next box must have exactly this kind, text and button set.
    void ExpectMessage(ui::MsgKind kind, std::string text, ui::Buttons buttons,
                       ui::Result answer = ui::Result::OK);
    // As ExpectMessage, but the text need only contain part (for texts with system
    // reasons or paths in them).
    void ExpectMessageContaining(ui::MsgKind kind, std::string part, ui::Buttons buttons,
                                 ui::Result answer = ui::Result::OK);
    // The next input box gets answer (OK with it) or, with nothing, Cancel.
    void ExpectInput(std::optional<std::string> answer);
    // The next open or save dialog chooses the file or, with nothing, is cancelled.
    void ExpectOpenFile(std::optional<std::string> answer);
    void ExpectSaveFile(std::optional<std::string> answer);
    // The next modal window is handed to drive instead of being run; its result is
    // what ShowModal returns. drive may click, type and check the window in place.
    void ExpectModal(std::function<int(QWidget&)> drive);

    // Every box shown, expected or not, in order, with its exact text.
    const std::vector<Message>& Messages() const { return messages_; }
    const std::vector<Input>& Inputs() const { return inputs_; }
    const std::vector<FileDialog>& FileDialogs() const { return fileDialogs_; }
    // Object names of the windows shown modally.
    const std::vector<std::string>& Modals() const { return modals_; }
    // Hourglass guards in force now.
    int BusyDepth() const { return busyDepth_; }
    // Fails the test for each step not used up and for an hourglass left on; clears the
    // script. The destructor calls it too.
    void VerifyDone();

    ui::Result MessageBox(ui::MsgKind kind, const std::string& text, ui::Buttons buttons) override;
    ui::Result UnicodeMessageBox(ui::MsgKind kind, const QString& text,
                                 ui::Buttons buttons) override;
    bool InputBox(const std::string& caption, const std::string& prompt,
                  std::string& value) override;
    std::optional<std::string> OpenFile(const ui::FileDialogOptions& options) override;
    std::optional<std::string> SaveFile(const ui::FileDialogOptions& options) override;
    int ShowModal(QWidget& window) override;
    void ProcessMessages() override;
    void SetBusyCursor(bool busy) override;

private:
    enum class StepKind { Message, Input, OpenFile, SaveFile, Modal };
    struct Step {
        StepKind kind = StepKind::Message;
        ui::MsgKind msgKind = ui::MsgKind::Information;
        std::string text;
        bool containing = false;
        ui::Buttons buttons = ui::Buttons::OK;
        ui::Result answer = ui::Result::OK;
        std::optional<std::string> value;
        std::function<int(QWidget&)> drive;
    };

    // The next step when it is of this kind; otherwise fails the test with what
    // arrived and gives nothing (the script stays as it is).
    std::optional<Step> Take(StepKind kind, const std::string& arrived);
    std::optional<std::string> FileDialogAnswer(bool save, const ui::FileDialogOptions& options);

    ui::Ui& previous_;
    std::deque<Step> script_;
    std::vector<Message> messages_;
    std::vector<Input> inputs_;
    std::vector<FileDialog> fileDialogs_;
    std::vector<std::string> modals_;
    int busyDepth_ = 0;
};
