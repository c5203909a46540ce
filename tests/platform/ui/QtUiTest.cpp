#include "platform/ui/FileDialogSetup.h"
#include "platform/ui/MessageText.h"
#include "platform/ui/Ui.h"
#include "tests/support/ForeignNames.h"
#include "tests/support/WhenModal.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using ui::Buttons;
using ui::MsgKind;
using ui::Result;

namespace {

// The real Ui, whatever another test left installed.
ui::Ui& RealUi()
{
    ui::SetCurrentUi(nullptr);
    return ui::CurrentUi();
}

}  // namespace

TEST(QtUi, MessageBoxShowsKindTitleTextAndButtons)
{
    QApplication::setApplicationDisplayName("Tavrin List");
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    QString text;
    QStringList buttons;
    WhenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        icon = box->icon();
        title = box->windowTitle();
        text = box->text();
        for (QAbstractButton* b : box->buttons()) {
            buttons << b->text();
        }
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(RealUi().MessageBox(MsgKind::Confirmation,
                                  "Changes have been made!\r\rDo you want to save the changes?\r",
                                  Buttons::YesNoCancel),
              Result::No);
    EXPECT_EQ(icon, QMessageBox::Question);
    EXPECT_EQ(title, "Tavrin List");
    EXPECT_EQ(text, "Changes have been made!\n\nDo you want to save the changes?\n");
    EXPECT_EQ(buttons.size(), 3);

    WhenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        icon = box->icon();
        box->button(QMessageBox::Ignore)->click();
    });
    EXPECT_EQ(RealUi().MessageBox(MsgKind::Error, "Socket Error # 111\r\nrefused",
                                  Buttons::CancelRetryIgnore),
              Result::Ignore);
    EXPECT_EQ(icon, QMessageBox::Critical);
}

TEST(QtUi, AMessageThatNamesAFileShowsItAsGiven)
{
    const QString name =
        QString::fromUtf8("/tmp/\xD1\x81\xD0\xBF\xD0\xB8\xD1\x81\xD0\xBE\xD0\xBA \xE5\x90\x8D.txt");
    QString text;
    WhenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        text = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(RealUi().UnicodeMessageBox(MsgKind::Information, "File saved\r" + name, Buttons::OK),
              Result::OK);
    EXPECT_EQ(text, "File saved\n" + name);
}

TEST(QtUi, MessageTextKeepsItsBytesAndBreaksLinesAtCarriageReturns)
{
    EXPECT_EQ(ui::MessageDisplayText("a\r\rb"), "a\n\nb");
    EXPECT_EQ(ui::MessageDisplayText("x\r\ny\r"), "x\ny\n");
    EXPECT_EQ(ui::MessageDisplayText(QString::fromUtf8("«empty» <b>")),
              QString::fromUtf8("«empty» <b>"));
}

TEST(QtUi, WindowsFilterBecomesQtNameFilters)
{
    EXPECT_EQ(ui::ToQtNameFilters("Text files (*.txt)|*.txt|All files (*.*)|*.*"),
              QStringList({"Text files (*.txt) (*.txt)", "All files (*.*) (*)"}));
    EXPECT_EQ(ui::ToQtNameFilters("Lists|*.lst;*.txt"), QStringList({"Lists (*.lst *.txt)"}));
    EXPECT_TRUE(ui::ToQtNameFilters("").isEmpty());
    EXPECT_TRUE(ui::ToQtNameFilters("no pattern").isEmpty());
}

TEST(QtUi, FileDialogFollowsTheOptions)
{
    ui::FileDialogOptions options;
    options.filter = "Text files (*.txt)|*.txt|All files (*.*)|*.*";
    options.defaultExt = ".txt";
    options.fileMustExist = true;

    QFileDialog open;
    ui::ConfigureFileDialog(open, options, ui::FileDialogMode::Open);
    EXPECT_EQ(open.acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(open.fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(open.defaultSuffix(), "txt");
    EXPECT_EQ(open.nameFilters().size(), 2);

    QFileDialog save;
    ui::ConfigureFileDialog(save, options, ui::FileDialogMode::Save);
    EXPECT_EQ(save.fileMode(), QFileDialog::AnyFile);
    EXPECT_TRUE(save.testOption(QFileDialog::DontConfirmOverwrite));
    options.overwritePrompt = true;
    ui::ConfigureFileDialog(save, options, ui::FileDialogMode::Save);
    EXPECT_FALSE(save.testOption(QFileDialog::DontConfirmOverwrite));
}

TEST(QtUi, SaveDialogAddsTheDefaultExtensionToANameWithoutOne)
{
    QTemporaryDir dir;
    ui::FileDialogOptions options;
    options.filter = "Text files (*.txt)|*.txt|All files (*.*)|*.*";
    options.defaultExt = ".txt";
    options.initialDir = dir.path().toStdString();
    for (const char* typed : {"list", "list.lst"}) {
        WhenModal([typed](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            ASSERT_NE(name, nullptr);
            QTest::keyClicks(name, typed);
            QTest::keyClick(name, Qt::Key_Return);
        });
        const auto chosen = RealUi().SaveFile(options);
        ASSERT_TRUE(chosen.has_value());
        EXPECT_EQ(
            *chosen,
            (dir.path() + "/" + (std::string(typed) == "list" ? "list.txt" : typed)).toStdString());
    }
    WhenModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    EXPECT_EQ(RealUi().OpenFile(options), std::nullopt);
}

// The dialog's names are the file system's bytes, in the chosen folder and the typed name.
TEST(QtUi, FileDialogsGiveNamesInAnyLanguageAsTheFileSystemsBytes)
{
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/prog_\xC3\xA4 \xE2\x82\xAC";
    ASSERT_TRUE(QDir().mkpath(QString::fromUtf8(folder)));
    ui::FileDialogOptions options;
    options.defaultExt = ".txt";
    options.initialDir = folder;
    for (std::string_view typed : kForeignNames) {
        WhenModal([typed](QWidget* modal) {
            auto* name = modal->findChild<QLineEdit*>("fileNameEdit");
            ASSERT_NE(name, nullptr);
            name->setText(QString::fromUtf8(typed.data(), static_cast<qsizetype>(typed.size())));
            QTest::keyClick(name, Qt::Key_Return);
        });
        EXPECT_EQ(RealUi().SaveFile(options), folder + "/" + std::string(typed) + ".txt");
    }
    const std::string existing = folder + "/Liste_\xC3\xBC.txt";
    QFile(QString::fromUtf8(existing)).open(QIODevice::WriteOnly);
    options.fileName = existing;
    WhenModal([](QWidget* modal) {
        QTest::keyClick(modal->findChild<QLineEdit*>("fileNameEdit"), Qt::Key_Return);
    });
    EXPECT_EQ(RealUi().OpenFile(options), existing);
}

TEST(QtUi, InputBoxGivesTheEditedValueOnlyOnOK)
{
    std::string value = "100";
    WhenModal([](QWidget* modal) {
        auto* dialog = qobject_cast<QInputDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->labelText(), "Count:");
        EXPECT_EQ(dialog->textValue(), "100");
        dialog->setTextValue(QString::fromUtf8("2€"));
        dialog->accept();
    });
    EXPECT_TRUE(RealUi().InputBox("Dummy", "Count:", value));
    EXPECT_EQ(value, "2\x80");
    WhenModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    EXPECT_FALSE(RealUi().InputBox("Dummy", "Count:", value));
    EXPECT_EQ(value, "2\x80");
}

TEST(QtUi, ShowModalRunsDialogsAndPlainWindowsUntilTheyClose)
{
    QDialog dialog;
    WhenModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->accept(); });
    EXPECT_EQ(RealUi().ShowModal(dialog), QDialog::Accepted);

    QWidget window;
    bool wasModal = false;
    WhenModal([&wasModal](QWidget* modal) {
        wasModal = modal->windowModality() == Qt::ApplicationModal;
        modal->close();
    });
    EXPECT_EQ(RealUi().ShowModal(window), 0);
    EXPECT_TRUE(wasModal);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.windowModality(), Qt::NonModal);
}

TEST(QtUi, BusyCursorNestsAndRestores)
{
    RealUi();
    {
        ui::BusyCursor outer;
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        {
            ui::BusyCursor inner;
        }
        EXPECT_NE(QApplication::overrideCursor(), nullptr);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // An unmatched restore does not take away a cursor somebody else set.
    ui::CurrentUi().SetBusyCursor(false);
}
