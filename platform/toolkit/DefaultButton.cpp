#include "platform/toolkit/DefaultButton.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

bool PressButtonForEnter(const QWidget& window, const QKeyEvent& event,
                         std::initializer_list<QPushButton*> defaultButtons)
{
    if (event.key() != Qt::Key_Return && event.key() != Qt::Key_Enter)
        return false;
    // A button with the focus is shown and enabled; outside a dialog Qt's own buttons
    // hand Enter on unless they are default buttons.
    auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
    if (focused != nullptr && focused->window() == &window) {
        focused->click();
        return true;
    }
    for (QPushButton* button : defaultButtons) {
        if (button->isVisible() && button->isEnabled()) {
            button->click();
            return true;
        }
    }
    return false;
}
