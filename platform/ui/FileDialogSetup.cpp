#include "platform/ui/FileDialogSetup.h"

#include "platform/text/Cp1252.h"
#include "platform/text/FileName.h"

#include <QFileDialog>

namespace ui {

namespace {

QString ToQtPatterns(const QString& patterns)
{
    QStringList result;
    for (const QString& pattern : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString trimmed = pattern.trimmed();
        result << (trimmed == QStringLiteral("*.*") ? QStringLiteral("*") : trimmed);
    }
    return result.join(QLatin1Char(' '));
}

}  // namespace

QStringList ToQtNameFilters(std::string_view filter)
{
    const QStringList parts = ToQString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        filters << QStringLiteral("%1 (%2)").arg(parts[i], ToQtPatterns(parts[i + 1]));
    }
    return filters;
}

void ConfigureFileDialog(QFileDialog& dialog, const FileDialogOptions& options, FileDialogMode mode)
{
    const bool save = mode == FileDialogMode::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(!save && options.fileMustExist ? QFileDialog::ExistingFile
                                                      : QFileDialog::AnyFile);
    if (!options.title.empty()) {
        dialog.setWindowTitle(ToQString(options.title));
    }
    const QStringList filters = ToQtNameFilters(options.filter);
    if (!filters.isEmpty()) {
        // Each description already names its patterns ("Text files (*.txt)"): Qt's own copy
        // would show them twice.
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        dialog.setNameFilters(filters);
    }
    dialog.setDefaultSuffix(ToQString(options.defaultExt));  // Qt drops a leading dot
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.overwritePrompt);
    if (!options.initialDir.empty()) {
        dialog.setDirectory(FileNameToQString(options.initialDir));
    }
    if (!options.fileName.empty()) {
        dialog.selectFile(FileNameToQString(options.fileName));
    }
}

}  // namespace ui
