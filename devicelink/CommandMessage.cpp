#include "devicelink/CommandMessage.h"

void LetPendingMessagesThrough()
{
    ui::CurrentUi().ProcessMessages();
}

ui::Result ShowCommandMessage(ui::MsgKind kind, const std::string& text, ui::Buttons buttons)
{
    LetPendingMessagesThrough();
    return ui::ShowMessage(kind, text, buttons);
}
