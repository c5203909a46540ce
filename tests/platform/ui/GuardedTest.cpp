#include "platform/text/Errors.h"
#include "platform/ui/Guarded.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/ThrowingUi.h"

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

TEST(Guarded, DefaultHandlerNeverThrows)
{
    ThrowingUi failing;
    ui::SetCurrentUi(&failing);
    EXPECT_NO_THROW(ui::HandleException(std::runtime_error("x")));
    EXPECT_NO_THROW(ui::HandleUnknownException());
    ui::SetCurrentUi(nullptr);
}
