#include "calculator/ResultFile.h"
#include "calculator/UMain.h"
#include "calculator/ViewSettings.h"
#include "platform/text/FileName.h"
#include "platform/file/InputFile.h"
#include "platform/file/ReplaceFile.h"
#include "platform/toolkit/TListView.h"
#include "platform/ui/Ui.h"

#include <QPlainTextEdit>

#include <algorithm>

namespace quantivo {

namespace {

// Beyond any screen; keeps a stored width from overflowing the header's arithmetic.
constexpr int32_t MaxColumnWidth = 10000;

const char* const TextFileFilter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*";

ui::FileDialogOptions TextFileDialog()
{
    ui::FileDialogOptions options;
    options.filter = TextFileFilter;
    options.defaultExt = "txt";
    return options;
}

template <size_t N> void ApplyWidths(TListView* list, const std::array<int32_t, N>& widths)
{
    for (size_t column = 0; column < N; ++column)
        list->SetColumnWidth(static_cast<int>(column), std::min(widths[column], MaxColumnWidth));
}

template <size_t N> void TakeWidths(const TListView* list, std::array<int32_t, N>& widths)
{
    for (size_t column = 0; column < N; ++column)
        widths[column] = list->ColumnWidth(static_cast<int>(column));
}

}  // namespace

void TFormMain::LoadViewSettings(const std::string& fileName)
{
    const TViewSettings settings = ReadViewSettings(fileName);
    SetActivePageIndex(settings.mode);
    ApplyWidths(LV1, settings.lv1Widths);
    ApplyWidths(LV2, settings.lv2Widths);
}

void TFormMain::SaveViewSettings(const std::string& fileName) const
{
    TViewSettings settings;
    settings.mode = ActivePageIndex();
    TakeWidths(LV1, settings.lv1Widths);
    TakeWidths(LV2, settings.lv2Widths);
    WriteViewSettings(fileName, settings);
}

void TFormMain::LoadPlatesFromFile(const std::string& fileName)
{
    // Read first: a file that cannot be read leaves the field and the lists as they were.
    // Lines end at their line ends only: a NUL is one more control character, which the
    // plate's clean-up drops, and never hides the lines after it.
    const std::string text = ReadFileBytes(fileName);
    // The lines would only pass through the field to be computed and removed at once;
    // computing them straight away ends the same and keeps a long file quick.
    EditPlates->clear();
    CalcLines(text);
}

void TFormMain::SaveListToFile(const TListView& list, const std::string& fileName) const
{
    TResultTable table;
    for (int column = 0; column < list.ColumnCount(); ++column) {
        table.captions.push_back(list.ColumnCaption(column));
        table.widths.push_back(list.ColumnWidth(column));
    }
    table.rowCount = list.Count();
    table.cellText = [&list](int row, int column) { return GetColumnText(list, row, column); };
    WriteFileReplacing(fileName, ResultFileText(table));
}

void TFormMain::mnuFileNewClick()
{
    LV1->Clear();
    LV2->Clear();
}

void TFormMain::mnuFileOpenClick()
{
    if (const auto fileName = ui::CurrentUi().OpenFile(TextFileDialog()))
        LoadPlatesFromFile(*fileName);
}

void TFormMain::mnuFileSaveClick()
{
    const auto fileName = ui::CurrentUi().SaveFile(TextFileDialog());
    if (!fileName)
        return;
    switch (ActivePageIndex()) {
    case 0:
        SaveListToFile(*LV1, *fileName);
        break;
    case 1:
        SaveListToFile(*LV2, *fileName);
        break;
    default:
        return;  // no page, no list to save: nothing is written and nothing shown
    }
    ui::ShowUnicodeMessage(ui::MsgKind::Information, FileMessage("OK: file %s saved", {*fileName}));
}

}  // namespace quantivo
