#pragma once

#include <QString>
#include <optional>
#include <string>

class QWidget;

// The one door to the person. Every message box, input box, file dialog, modal window,
// busy cursor and message pump of the programs goes through the current Ui, so tests can
// install ScriptedUi (tests/support) and answer them. Texts are Windows-1252 (but for
// messages that name files, which come as the Unicode the box shows); "\r" in a message is
// a line break when drawn. File names are the file system's bytes.
namespace ui {

enum class MsgKind { Error, Warning, Information, Confirmation };
enum class Buttons { OK, OKCancel, YesNo, YesNoCancel, CancelRetry, CancelRetryIgnore };
// None: the box was closed without a button.
enum class Result { None, OK, Cancel, Yes, No, Retry, Ignore };

// The answer of a box that nobody answers, as Escape closes it: Cancel where the box has
// it, else No, else OK. It ends a command rather than repeating or widening it.
Result EscapeAnswer(Buttons buttons);

struct FileDialogOptions {
    std::string title;
    // "Text files (*.txt)|*.txt|All files (*.*)|*.*": description|pattern pairs
    std::string filter;
    // added (without its dot, or with) when the chosen name has no extension: ".txt"
    std::string defaultExt;
    std::string initialDir;  // a file name: the file system's bytes
    std::string fileName;
    bool fileMustExist = false;
    bool pathMustExist = false;
    bool overwritePrompt = false;
};

class Ui {
public:
    virtual ~Ui() = default;

    virtual Result MessageBox(MsgKind kind, const std::string& text, Buttons buttons) = 0;
    // A message that names a file (platform/text FileMessage), shown as given. A Ui that
    // draws nothing may take it as system text, which is what this does.
    virtual Result UnicodeMessageBox(MsgKind kind, const QString& text, Buttons buttons);
    // true with the edited value on OK; false (value unchanged) on Cancel.
    virtual bool InputBox(const std::string& caption, const std::string& prompt,
                          std::string& value) = 0;
    // The chosen file's full name as the file system's bytes, or nothing when cancelled.
    virtual std::optional<std::string> OpenFile(const FileDialogOptions& options) = 0;
    virtual std::optional<std::string> SaveFile(const FileDialogOptions& options) = 0;
    // Shows the window modally and returns its result code (QDialog::Accepted = 1,
    // Rejected = 0; for a plain widget 0 when it closes).
    virtual int ShowModal(QWidget& window) = 0;
    // Lets pending window events through (the system's ProcessMessages).
    virtual void ProcessMessages() = 0;
    virtual void SetBusyCursor(bool busy) = 0;
};

// The Ui in force: the real Qt one unless a test installed another.
Ui& CurrentUi();
// Installs ui (not owned) or, with nullptr, the real one again.
void SetCurrentUi(Ui* ui);

// Shorthand for CurrentUi().MessageBox.
Result ShowMessage(MsgKind kind, const std::string& text, Buttons buttons = Buttons::OK);
// Shorthand for CurrentUi().UnicodeMessageBox.
Result ShowUnicodeMessage(MsgKind kind, const QString& text, Buttons buttons = Buttons::OK);

// The hourglass for the life of the guard; guards nest. The guard restores through the Ui
// it was set by, even when another Ui was installed meanwhile.
class BusyCursor final {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    Ui& ui_;
};

}  // namespace ui
