#include "matchlist/UImport.h"

#include "platform/text/Cp1252.h"
#include "platform/text/Errors.h"
#include "platform/file/ReplaceFile.h"
#include "tests/support/ScriptedUi.h"
#include "simulators/TempDir.h"

#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

namespace {

class ImportDialog : public ::testing::Test {
protected:
    template <typename T> T* Find(const char* name)
    {
        T* child = form.findChild<T*>(name);
        EXPECT_NE(child, nullptr) << name;
        return child;
    }

    std::string Cell(int row, int column)
    {
        return ToCp1252(Find<QTableWidget>("SG1")->item(row - 1, column)->text());
    }

    std::string WriteFile(const std::string& bytes)
    {
        const std::string name = dir.file("import.txt");
        WriteFileReplacing(name, bytes);
        return name;
    }

    // Shows the dialog for the file with the choices given; drive acts on it in place.
    bool Show(const std::string& fileName, const std::function<void()>& drive)
    {
        ui.ExpectModal([&](QWidget& window) {
            window.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
            drive();
            return static_cast<QDialog&>(window).result();
        });
        return form.ShowImportDialog(fileName, firstLine, delimiter, quoteChar);
    }

    void Click(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }

    TempDir dir;
    ScriptedUi ui;
    TFormImport form;
    int firstLine = 1;
    char delimiter = ';';
    char quoteChar = '"';
};

std::string TenLines()
{
    std::string text;
    for (int i = 1; i <= 10; ++i)
        text += "PL " + std::to_string(i) + ";" + std::to_string(i) + ";extra\r\n";
    return text;
}

}  // namespace

TEST_F(ImportDialog, PreviewOfATenLineFile)
{
    const std::string file = WriteFile(TenLines());
    const bool ok = Show(file, [&] {
        EXPECT_EQ(ToCp1252(Find<QLabel>("PanelTitle")->text()),
                  "Example from file: " + file + " :");
        EXPECT_EQ(Find<QListView>("LB1")->model()->rowCount(), 10);
        EXPECT_EQ(Cell(1, 0), "1");
        EXPECT_EQ(Cell(1, 1), "PL");
        EXPECT_EQ(Cell(1, 2), "1");
        EXPECT_EQ(Cell(10, 0), "10");
        for (int r = 11; r <= 30; ++r)
            EXPECT_EQ(Cell(r, 0) + Cell(r, 1) + Cell(r, 2), "") << r;
        Click("btnOK");
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(firstLine, 1);
    EXPECT_EQ(delimiter, ';');
    EXPECT_EQ(quoteChar, '"');
    EXPECT_EQ(ui.Modals(), std::vector<std::string>{"FormImport"});
}

TEST_F(ImportDialog, ClickOnTheFifthLineStartsThePreviewThere)
{
    const std::string file = WriteFile(TenLines());
    EXPECT_TRUE(Show(file, [&] {
        auto* lines = Find<QListView>("LB1");
        const QRect fifth = lines->visualRect(lines->model()->index(4, 0));
        QTest::mouseClick(lines->viewport(), Qt::LeftButton, {}, fifth.center());
        EXPECT_EQ(Find<QSpinBox>("EditRow1")->value(), 5);
        EXPECT_EQ(Cell(1, 0), "5");
        EXPECT_EQ(Cell(1, 1), "PL");
        EXPECT_EQ(Cell(1, 2), "5");
        EXPECT_EQ(Cell(6, 0), "10");
        EXPECT_EQ(Cell(7, 0), "");
        Click("btnOK");
    }));
    EXPECT_EQ(firstLine, 5);
}

TEST_F(ImportDialog, CharactersOutsideTheChoicesAreKept)
{
    delimiter = '|';
    quoteChar = '#';
    const std::string file = WriteFile("#A|B# 1|7\r\n");
    EXPECT_TRUE(Show(file, [&] {
        EXPECT_EQ(Find<QComboBox>("EditDelim")->currentIndex(), -1);
        EXPECT_EQ(Find<QComboBox>("EditQuote")->currentIndex(), -1);
        // The preview splits with the program's own characters meanwhile.
        EXPECT_EQ(Cell(1, 1), "A|B");
        EXPECT_EQ(Cell(1, 2), "1");
        Click("btnOK");
    }));
    EXPECT_EQ(delimiter, '|');
    EXPECT_EQ(quoteChar, '#');
}

TEST_F(ImportDialog, ChosenTabSeparatorIsHandedBack)
{
    const std::string file = WriteFile("AB12\t5\r\n'C D'\t6\r\n");
    EXPECT_TRUE(Show(file, [&] {
        EXPECT_EQ(Cell(2, 1), "'C");
        Find<QComboBox>("EditDelim")->setCurrentIndex(2);
        Find<QComboBox>("EditQuote")->setCurrentIndex(1);
        EXPECT_EQ(Cell(1, 1), "AB12");
        EXPECT_EQ(Cell(1, 2), "5");
        EXPECT_EQ(Cell(2, 1), "C D");
        EXPECT_EQ(Cell(2, 2), "6");
        Click("btnOK");
    }));
    EXPECT_EQ(delimiter, '\t');
    EXPECT_EQ(quoteChar, '\'');
}

TEST_F(ImportDialog, CancelChangesNothing)
{
    firstLine = 3;
    const std::string file = WriteFile(TenLines());
    EXPECT_FALSE(Show(file, [&] {
        EXPECT_EQ(Cell(1, 0), "3");
        Find<QSpinBox>("EditRow1")->setValue(7);
        Find<QComboBox>("EditDelim")->setCurrentIndex(1);
        Find<QComboBox>("EditQuote")->setCurrentIndex(1);
        Click("btnCancel");
    }));
    EXPECT_EQ(firstLine, 3);
    EXPECT_EQ(delimiter, ';');
    EXPECT_EQ(quoteChar, '"');
}

TEST_F(ImportDialog, FirstLineOutsideTheRangeIsClamped)
{
    const std::string file = WriteFile(TenLines());
    firstLine = 0;
    EXPECT_TRUE(Show(file, [&] {
        EXPECT_EQ(Cell(1, 0), "1");
        Click("btnOK");
    }));
    EXPECT_EQ(firstLine, 1);
    firstLine = 5000000;
    EXPECT_TRUE(Show(file, [&] {
        EXPECT_EQ(Cell(1, 0), "");
        Click("btnOK");
    }));
    EXPECT_EQ(firstLine, 999999);
}

// A file of millions of lines lists only the lines the import can start from, so that
// its lines cost no more than the file itself; the preview still shows what follows them.
TEST_F(ImportDialog, AFileOfMoreLinesThanCanBeChosenListsTheChoosableOnes)
{
    std::string bytes;
    for (int i = 1; i <= 1000100; ++i)
        bytes += std::to_string(i) + "\n";
    const std::string file = WriteFile(bytes);
    firstLine = 999999;
    EXPECT_TRUE(Show(file, [&] {
        auto* lines = Find<QListView>("LB1");
        ASSERT_EQ(lines->model()->rowCount(), 999999);
        EXPECT_EQ(lines->model()->index(999998, 0).data().toString(), "999999");
        EXPECT_EQ(Cell(1, 0), "999999");
        EXPECT_EQ(Cell(1, 1), "999999");
        EXPECT_EQ(Cell(30, 0), "1000028");
        EXPECT_EQ(Cell(30, 1), "1000028");
        Click("btnOK");
    }));
    EXPECT_EQ(firstLine, 999999);
}

TEST_F(ImportDialog, BinaryFileAndMegabyteLinesAreShown)
{
    std::mt19937 random(7);
    std::string bytes =
        "\"" + std::string(1 << 20, 'x') + "\r\n" + std::string(1 << 20, ';') + "\n";
    for (int i = 0; i < 200000; ++i)
        bytes += static_cast<char>(1 + random() % 255);
    const std::string file = WriteFile(bytes);
    EXPECT_TRUE(Show(file, [&] {
        EXPECT_EQ(Cell(2, 0), "2");
        form.grab();
        Find<QComboBox>("EditDelim")->setCurrentIndex(3);
        form.grab();
        Click("btnOK");
    }));
    EXPECT_EQ(delimiter, ' ');
}

TEST_F(ImportDialog, UnreadableFileStopsBeforeTheDialog)
{
    EXPECT_THROW(form.ShowImportDialog(dir.file("missing.txt"), firstLine, delimiter, quoteChar),
                 EFOpenError);
    EXPECT_TRUE(ui.Modals().empty());
}

TEST_F(ImportDialog, ViewsShareTheMainPanel)
{
    form.resize(700, 600);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    auto* panel = Find<QWidget>("PanelMain");
    auto* grid = Find<QTableWidget>("SG1");
    const int half = (panel->height() - 10) / 2;
    EXPECT_EQ(Find<QListView>("LB1")->height(), half);
    EXPECT_EQ(grid->height(), half);
    EXPECT_EQ(grid->columnWidth(0), 30);
    EXPECT_EQ(grid->columnWidth(1), (grid->width() - 38) / 2);
    EXPECT_EQ(grid->columnWidth(2), grid->columnWidth(1));
    form.hide();
}
