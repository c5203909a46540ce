#include "platform/text/Errors.h"
#include "platform/ui/Guarded.h"
#include "tests/support/ScriptedUi.h"
#include "simulators/ThrowingUi.h"

#include <QPushButton>
#include <QSpinBox>
#include <gtest/gtest.h>

#include <stdexcept>

using ui::Buttons;
using ui::MsgKind;

TEST(Guarded, HandlerWithoutArgumentsConnectsToASignalWithArguments)
{
    QPushButton button;
    int calls = 0;
    QObject::connect(&button, &QPushButton::clicked, ui::Guarded([&calls] { ++calls; }));
    button.click();
    EXPECT_EQ(calls, 1);
}

TEST(Guarded, HandlerGetsTheSignalsArguments)
{
    QSpinBox box;
    int seen = -1;
    QObject::connect(&box, &QSpinBox::valueChanged, ui::Guarded([&seen](int v) { seen = v; }));
    box.setValue(7);
    EXPECT_EQ(seen, 7);
}

TEST(Guarded, EscapingErrorsAreShownAndTheProgramRunsOn)
{
    ScriptedUi script;
    QPushButton button;
    int calls = 0;
    QObject::connect(&button, &QPushButton::clicked, ui::Guarded([&calls] {
        ++calls;
        if (calls == 1) {
            throw EError("Cannot open file \"x\".\rNo such file");
        }
        throw 42;
    }));
    script.ExpectMessage(MsgKind::Error, "Cannot open file \"x\".\rNo such file", Buttons::OK);
    script.ExpectMessage(MsgKind::Error, "Unknown error", Buttons::OK);
    button.click();
    button.click();
    EXPECT_EQ(calls, 2);
}

TEST(Guarded, AnErrorThatNamesAFileShowsTheNameAsTyped)
{
    ScriptedUi script;
    const QString name =
        QString::fromUtf8("/tmp/\xD1\x81\xD0\xBF\xD0\xB8\xD1\x81\xD0\xBE\xD0\xBA \xC3\xA4.txt");
    script.ExpectMessage(MsgKind::Error, "Cannot open file \"/tmp/?????? \xE4.txt\". x",
                         Buttons::OK);
    ui::HandleException(EFOpenError("Cannot open file \"" + name + "\". x"));
    ASSERT_EQ(script.Messages().size(), 1u);
    EXPECT_EQ(script.Messages()[0].shown, "Cannot open file \"" + name + "\". x");
}

TEST(Guarded, DefaultHandlerNeverThrows)
{
    ThrowingUi failing;
    ui::SetCurrentUi(&failing);
    EXPECT_NO_THROW(ui::HandleException(std::runtime_error("x")));
    EXPECT_NO_THROW(ui::HandleUnknownException());
    ui::SetCurrentUi(nullptr);
}
