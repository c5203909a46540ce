#pragma once

#include <QString>
#include <string_view>

namespace ui {

// The system writes line breaks in its messages as "\r" (and "\r\n" in socket errors);
// a box shows each as one line break, so "\r\r" leaves a blank line.
QString MessageDisplayText(std::string_view cp1252);

// The title of every box: the application's title.
QString ApplicationTitle();

}  // namespace ui
