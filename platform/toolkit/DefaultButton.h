#pragma once

#include <initializer_list>

class QKeyEvent;
class QPushButton;
class QWidget;

// Enter in a window that is not a dialog, by the platform's default-button convention: a
// push button of the window that has the focus takes Enter itself; otherwise the first
// of the window's default buttons that is shown and enabled is pressed. Call it from the
// window's key handler, which sees the Enter that no control used. True when a button
// was pressed; the key is then used up.
bool PressButtonForEnter(const QWidget& window, const QKeyEvent& event,
                         std::initializer_list<QPushButton*> defaultButtons);
