// The end of a desktop session: a signal, or the window system's request to end, ends
// every message loop through the boxes open, and nobody is asked anything afterwards.
#include "platform/ui/EndOfSessionUi.h"
#include "platform/ui/SessionEnd.h"
#include "platform/ui/Ui.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/WhenModal.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QTimer>
#include <QWidget>
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <string>

using ui::Buttons;
using ui::MsgKind;
using ui::Result;

namespace {

void (*Disposition(int signo))(int)
{
    struct sigaction action {};
    ::sigaction(signo, nullptr, &action);
    return action.sa_handler;
}

// Runs the message loop of `end` with a box of the real Ui up in it, ended by `ending` once
// the box is up; the box's answer.
Result BoxAnswerWhenEnded(ui::SessionEnd& end, Buttons buttons, std::function<void()> ending)
{
    ui::SetCurrentUi(nullptr);
    Result answer = Result::None;
    QTimer::singleShot(0, qApp, [&] {
        WhenModal([ending](QWidget*) { ending(); });
        answer = ui::ShowMessage(MsgKind::Error, "Error: communication failure", buttons);
    });
    // Should the end not come, the loop is ended all the same and the test fails.
    QTimer::singleShot(30000, qApp, [] { QCoreApplication::exit(1); });
    EXPECT_EQ(end.Exec(), 0);
    return answer;
}

}  // namespace

TEST(SessionEnd, NobodyIsAskedOnceTheSessionHasEnded)
{
    QApplication::setApplicationDisplayName("Tavrin List");
    ScriptedUi replaced;
    ui::EndOfSessionUi nobody(replaced);
    const std::pair<Buttons, Result> escapes[] = {
        {Buttons::OK, Result::OK},
        {Buttons::OKCancel, Result::Cancel},
        {Buttons::YesNo, Result::No},
        {Buttons::YesNoCancel, Result::Cancel},
        {Buttons::CancelRetry, Result::Cancel},
        {Buttons::CancelRetryIgnore, Result::Cancel},
    };
    for (const auto& [buttons, escape] : escapes) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(nobody.MessageBox(MsgKind::Error, "Cannot create file\r\"x\". F\xE4il", buttons),
                  escape);
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "Tavrin List: Cannot create file\n\"x\". F\xC3\xA4il\n");
    }
    std::string value = "kept";
    EXPECT_FALSE(nobody.InputBox("caption", "prompt", value));
    EXPECT_EQ(value, "kept");
    EXPECT_EQ(nobody.OpenFile({}), std::nullopt);
    EXPECT_EQ(nobody.SaveFile({}), std::nullopt);
    QWidget window;
    EXPECT_EQ(nobody.ShowModal(window), 0);
    EXPECT_FALSE(window.isVisible());
    {
        ui::SetCurrentUi(&nobody);
        ui::BusyCursor busy;
        EXPECT_EQ(replaced.BusyDepth(), 1) << "the cursor goes on through the Ui replaced";
    }
    EXPECT_EQ(replaced.BusyDepth(), 0);
    ui::SetCurrentUi(&replaced);
}

// Each signal of a session's end, with a box up that would wait for a person: the box
// gives its Escape answer (Cancel: a command stops instead of retrying), the loop ends
// with 0 and boxes after it go to the standard error. The signal changes no signal's
// disposition, so the ones that follow it at once (systemd's SIGHUP after its SIGTERM, a
// second Ctrl+C) change nothing either, also once the program is on its way out. A write
// past the file-size limit or to a closed pipe fails instead of killing the program while
// the program runs.
TEST(SessionEnd, ASignalEndsEveryLoopThroughTheBoxesOpen)
{
    for (int signo : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signo);
        {
            ui::SessionEnd end;
            EXPECT_EQ(Disposition(SIGXFSZ), SIG_IGN);
            EXPECT_EQ(Disposition(SIGPIPE), SIG_IGN);
            const auto handler = Disposition(signo);
            EXPECT_FALSE(ui::SessionEnding());
            EXPECT_EQ(
                BoxAnswerWhenEnded(end, Buttons::CancelRetryIgnore, [signo] { ::raise(signo); }),
                Result::Cancel);
            EXPECT_TRUE(ui::SessionEnding());
            for (int s : {SIGHUP, SIGTERM, SIGINT, SIGINT}) {
                ASSERT_EQ(Disposition(s), handler) << s;
                ::raise(s);
            }
            testing::internal::CaptureStderr();
            EXPECT_EQ(ui::ShowMessage(MsgKind::Confirmation, "Go on?", Buttons::YesNo), Result::No);
            EXPECT_NE(testing::internal::GetCapturedStderr().find(": Go on?\n"), std::string::npos);
        }
        for (int s : {SIGTERM, SIGHUP, SIGINT}) {
            EXPECT_NE(Disposition(s), SIG_DFL) << s;
            EXPECT_NE(Disposition(s), SIG_IGN) << s;
        }
        EXPECT_FALSE(ui::SessionEnding());
        EXPECT_EQ(Disposition(SIGXFSZ), SIG_DFL);
        EXPECT_EQ(Disposition(SIGPIPE), SIG_DFL);
        EXPECT_EQ(dynamic_cast<ui::EndOfSessionUi*>(&ui::CurrentUi()), nullptr);
    }
}

// A window that will not close (it ignores its close event) is put out of the way instead,
// so the box under it still gives its Escape answer and every loop ends.
TEST(SessionEnd, AWindowThatWillNotCloseIsHiddenAndTheBoxUnderItAnswered)
{
    class Stubborn final : public QDialog {
    protected:
        void closeEvent(QCloseEvent* event) override { event->ignore(); }
    } stubborn;
    ui::SessionEnd end;
    EXPECT_EQ(BoxAnswerWhenEnded(end, Buttons::CancelRetryIgnore,
                                 [&stubborn] {
                                     WhenModal([](QWidget*) { ::raise(SIGTERM); });
                                     stubborn.exec();
                                 }),
              Result::Cancel);
    EXPECT_FALSE(stubborn.isVisible());
}

// The session manager's request to end (a spontaneous Quit) ends as a signal does; the
// Quit that follows the last window's close is the program's own and asks no such end.
TEST(SessionEnd, TheWindowSystemsRequestToEndEndsAsASignalDoes)
{
    {
        ui::SessionEnd end;
        EXPECT_EQ(BoxAnswerWhenEnded(end, Buttons::YesNoCancel,
                                     [] {
                                         // As the window system delivers it (sendEvent
                                         // would make it the program's own).
                                         QEvent quit(QEvent::Quit);
                                         QSpontaneKeyEvent::setSpontaneous(&quit);
                                         qApp->notify(qApp, &quit);
                                     }),
                  Result::Cancel);
        EXPECT_TRUE(ui::SessionEnding());
    }
    // A run that ends by its window gives the signals back as they were.
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    for (int s : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(s, &byDefault, nullptr);
    {
        ui::SessionEnd again;
        QWidget window;
        window.show();
        QTimer::singleShot(0, &window, &QWidget::close);
        EXPECT_EQ(again.Exec(), 0);
        EXPECT_FALSE(ui::SessionEnding());
    }
    for (int s : {SIGTERM, SIGHUP, SIGINT})
        EXPECT_EQ(Disposition(s), SIG_DFL) << s;
}

// An end that comes while the start-up shows a box ends the message loop before it runs;
// a signal the program was started with ignored (nohup) stays ignored after the end.
TEST(SessionEnd, AnEndDuringTheStartUpEndsTheLoopBeforeItRuns)
{
    struct sigaction ignore {};
    struct sigaction old {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGHUP, &ignore, &old);
    {
        ui::SessionEnd end;
        EXPECT_EQ(Disposition(SIGHUP), SIG_IGN);
        ui::SetCurrentUi(nullptr);
        WhenModal([](QWidget*) { ::raise(SIGTERM); });
        EXPECT_EQ(ui::ShowMessage(MsgKind::Error, "Cannot open file", Buttons::OK), Result::OK);
        QTimer::singleShot(30000, qApp, [] { QCoreApplication::exit(1); });
        EXPECT_EQ(end.Exec(), 0);
        EXPECT_EQ(Disposition(SIGHUP), SIG_IGN);
    }
    EXPECT_EQ(Disposition(SIGHUP), SIG_IGN);
    ::sigaction(SIGHUP, &old, nullptr);
}
