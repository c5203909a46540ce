#pragma once

#include "platform/ui/Ui.h"

#include <QStringList>
#include <string_view>

class QFileDialog;

namespace ui {

// "Text files (*.txt)|*.txt|All files (*.*)|*.*" -> one Qt name filter per pair. The
// description is kept as the visible text; the patterns follow in parentheses where Qt
// reads them, and the Windows-style "*.*" (meant as every file) becomes "*", since here it
// would match only names with a dot.
QStringList ToQtNameFilters(std::string_view filter);

enum class FileDialogMode { Open, Save };

// Prepares a file dialog from the options (title, filters, default extension, folder,
// file name, must-exist and overwrite rules).
void ConfigureFileDialog(QFileDialog& dialog, const FileDialogOptions& options,
                         FileDialogMode mode);

}  // namespace ui
