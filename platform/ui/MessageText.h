#pragma once

#include <QString>

namespace ui {

// The system writes line breaks in its messages as "\r" (and "\r\n" in socket errors);
// a box shows each as one line break, so "\r\r" leaves a blank line.
QString MessageDisplayText(const QString& text);

// The title of every box: the application's title.
QString ApplicationTitle();

}  // namespace ui
