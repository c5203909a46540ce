#include "platform/ui/EndOfSessionUi.h"

#include "platform/text/Cp1252.h"
#include "platform/ui/MessageText.h"

#include <cstdio>

namespace ui {

Result EndOfSessionUi::MessageBox(MsgKind kind, const std::string& text, Buttons buttons)
{
    return UnicodeMessageBox(kind, ToQString(text), buttons);
}

Result EndOfSessionUi::UnicodeMessageBox(MsgKind, const QString& text, Buttons buttons)
{
    const QByteArray line =
        (ApplicationTitle() + QStringLiteral(": ") + MessageDisplayText(text) + '\n').toUtf8();
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
    std::fflush(stderr);
    return EscapeAnswer(buttons);
}

bool EndOfSessionUi::InputBox(const std::string&, const std::string&, std::string&)
{
    return false;
}

std::optional<std::string> EndOfSessionUi::OpenFile(const FileDialogOptions&)
{
    return std::nullopt;
}

std::optional<std::string> EndOfSessionUi::SaveFile(const FileDialogOptions&)
{
    return std::nullopt;
}

int EndOfSessionUi::ShowModal(QWidget&)
{
    return 0;
}

void EndOfSessionUi::ProcessMessages()
{
    replaced_.ProcessMessages();
}

void EndOfSessionUi::SetBusyCursor(bool busy)
{
    replaced_.SetBusyCursor(busy);
}

}  // namespace ui
