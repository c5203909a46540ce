#include "tests/support/ScriptedUi.h"

#include <QDialog>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using ui::Buttons;
using ui::MsgKind;
using ui::Result;

TEST(ScriptedUi, AnswersInScriptOrderAndRecordsEveryBox)
{
    ScriptedUi script;
    script.ExpectMessage(MsgKind::Confirmation, "Save?\r", Buttons::YesNoCancel, Result::No);
    script.ExpectMessageContaining(MsgKind::Information, "saved", Buttons::OK);
    script.ExpectInput(std::string("10"));
    script.ExpectInput(std::nullopt);

    EXPECT_EQ(ui::ShowMessage(MsgKind::Confirmation, "Save?\r", Buttons::YesNoCancel), Result::No);
    EXPECT_EQ(ui::ShowMessage(MsgKind::Information, "File saved /tmp/a"), Result::OK);
    std::string value = "5";
    EXPECT_TRUE(ui::CurrentUi().InputBox("Dummy", "Count:", value));
    EXPECT_EQ(value, "10");
    EXPECT_FALSE(ui::CurrentUi().InputBox("Dummy", "Count:", value));
    EXPECT_EQ(value, "10");

    ASSERT_EQ(script.Messages().size(), 2u);
    EXPECT_EQ(script.Messages()[1].text, "File saved /tmp/a");
    ASSERT_EQ(script.Inputs().size(), 2u);
    EXPECT_EQ(script.Inputs()[0].value, "5");
}

TEST(ScriptedUi, UnexpectedOrMismatchedBoxFailsAndGetsAHarmlessAnswer)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedUi script;
            EXPECT_EQ(ui::ShowMessage(MsgKind::Warning, "Oops", Buttons::YesNoCancel),
                      Result::Cancel);
        },
        "unexpected warning box [Yes/No/Cancel] \"Oops\"");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedUi script;
            script.ExpectMessage(MsgKind::Confirmation, "Delete?", Buttons::YesNo, Result::Yes);
            EXPECT_EQ(ui::ShowMessage(MsgKind::Confirmation, "Delete ?", Buttons::YesNo),
                      Result::No);
        },
        "mismatched box");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedUi script;
            script.ExpectOpenFile(std::string("/tmp/x"));
            EXPECT_EQ(ui::ShowMessage(MsgKind::Error, "Bad"), Result::OK);
            // The open step is still there for the dialog that comes next.
            EXPECT_EQ(ui::CurrentUi().OpenFile({}), std::optional<std::string>("/tmp/x"));
        },
        "the script expects another step");
}

TEST(ScriptedUi, StepsLeftOverAndHourglassLeftOnFailTheTest)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedUi script;
            script.ExpectMessage(MsgKind::Information, "Done", Buttons::OK);
        },
        "expected box never shown: information box [OK] \"Done\"");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedUi script;
            script.SetBusyCursor(true);
        },
        "hourglass still on");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedUi script;
            script.ExpectMessage(MsgKind::Information, "Done", Buttons::OK, Result::Yes);
            ui::ShowMessage(MsgKind::Information, "Done");
        },
        "script error");
}

TEST(ScriptedUi, FileDialogsRecordTheirOptions)
{
    ScriptedUi script;
    script.ExpectSaveFile(std::string("/tmp/list.txt"));
    script.ExpectOpenFile(std::nullopt);
    ui::FileDialogOptions save;
    save.filter = "Text files (*.txt)|*.txt|All files (*.*)|*.*";
    save.defaultExt = ".txt";
    save.overwritePrompt = true;
    EXPECT_EQ(ui::CurrentUi().SaveFile(save), std::optional<std::string>("/tmp/list.txt"));
    EXPECT_EQ(ui::CurrentUi().OpenFile({}), std::nullopt);
    ASSERT_EQ(script.FileDialogs().size(), 2u);
    EXPECT_TRUE(script.FileDialogs()[0].save);
    EXPECT_TRUE(script.FileDialogs()[0].options.overwritePrompt);
    EXPECT_EQ(script.FileDialogs()[0].options.defaultExt, ".txt");
    EXPECT_FALSE(script.FileDialogs()[1].save);
}

TEST(ScriptedUi, ModalWindowsAreDrivenInPlace)
{
    ScriptedUi script;
    QDialog dialog;
    dialog.setObjectName("FormAbout");
    script.ExpectModal([](QWidget& window) {
        EXPECT_EQ(window.objectName(), "FormAbout");
        return int(QDialog::Accepted);
    });
    EXPECT_EQ(ui::CurrentUi().ShowModal(dialog), QDialog::Accepted);
    EXPECT_EQ(script.Modals(), std::vector<std::string>{"FormAbout"});
    EXPECT_NONFATAL_FAILURE(EXPECT_EQ(ui::CurrentUi().ShowModal(dialog), 0), "unexpected modal");
}

TEST(ScriptedUi, BusyCursorGuardsNestAndRestore)
{
    ScriptedUi script;
    {
        ui::BusyCursor outer;
        {
            ui::BusyCursor inner;
            EXPECT_EQ(script.BusyDepth(), 2);
        }
        EXPECT_EQ(script.BusyDepth(), 1);
    }
    EXPECT_EQ(script.BusyDepth(), 0);
}

TEST(ScriptedUi, RestoresThePreviousUi)
{
    ui::Ui* before = &ui::CurrentUi();
    {
        ScriptedUi script;
        EXPECT_EQ(&ui::CurrentUi(), &script);
    }
    EXPECT_EQ(&ui::CurrentUi(), before);
}
