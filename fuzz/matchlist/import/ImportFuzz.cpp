// A delimited text file in the import dialog's preview, for any first line, separator and
// quote character the dialog is given or offers: the lines split, and every cell is cut so
// that drawing a file of megabyte-long lines stays quick.
#include "fuzz/support/Fuzz.h"
#include "matchlist/UImport.h"

#include <QComboBox>
#include <QSpinBox>
#include <QTableWidget>
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

TFormImport* dialog = nullptr;

void RequireShortCells()
{
    const auto* grid = dialog->findChild<QTableWidget*>(QStringLiteral("SG1"));
    for (int row = 0; row < grid->rowCount(); ++row)
        for (int column = 0; column < grid->columnCount(); ++column)
            fuzz::Require(grid->item(row, column)->text().size() <= 1024,
                          "a preview cell shows 1024 characters at most");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::StartApplication();
    dialog = new TFormImport;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    int firstLine = input.ConsumeIntegral<int>();
    char delimiter = input.ConsumeIntegral<char>();
    char quote = input.ConsumeIntegral<char>();
    const int chosenRow = input.ConsumeIntegralInRange(0, 40);
    const int chosenDelimiter = input.ConsumeIntegralInRange(-1, 3);
    const int chosenQuote = input.ConsumeIntegralInRange(-1, 1);
    const std::string file =
        fuzz::WriteScratchFile("import.txt", input.ConsumeRemainingBytesAsString());

    dialog->ShowImportDialog(file, firstLine, delimiter, quote);
    RequireShortCells();
    dialog->findChild<QSpinBox*>(QStringLiteral("EditRow1"))->setValue(chosenRow);
    dialog->findChild<QComboBox*>(QStringLiteral("EditDelim"))->setCurrentIndex(chosenDelimiter);
    dialog->findChild<QComboBox*>(QStringLiteral("EditQuote"))->setCurrentIndex(chosenQuote);
    RequireShortCells();
    return 0;
}
