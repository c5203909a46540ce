#pragma once

#include <functional>
#include <vector>

// Holds off other commands while one runs. A device command processes window messages and
// shows boxes, so the person can click anything meanwhile: the window asks Busy() before
// starting any command and before closing, and defers a close with WhenIdle.
class TCommandGate final {
public:
    // Told true when a command starts and false when it has ended.
    using HoldOff = std::function<void(bool hold)>;

    explicit TCommandGate(HoldOff holdOff = {}) : holdOff_(std::move(holdOff)) {}
    TCommandGate(const TCommandGate&) = delete;
    TCommandGate& operator=(const TCommandGate&) = delete;

    bool Busy() const { return busy_; }

    // Runs the action now when no command runs; otherwise once the command has ended, from
    // the event loop (after the command's own handler has returned).
    void WhenIdle(std::function<void()> action);

    // Marks the gate busy for its lifetime; Entered() is false when another command held it
    // already, and the caller must then do nothing.
    class TBusy final {
    public:
        explicit TBusy(TCommandGate& gate);
        ~TBusy();
        TBusy(const TBusy&) = delete;
        TBusy& operator=(const TBusy&) = delete;
        bool Entered() const { return entered_; }

    private:
        TCommandGate& gate_;
        bool entered_;
    };

private:
    void Leave();

    HoldOff holdOff_;
    bool busy_ = false;
    std::vector<std::function<void()>> deferred_;
};
