#pragma once

class IDeviceCommandContext;

// Drives the window's progress bar for one command: never past its maximum, and hidden
// again on every path out once shown.
class TProgressSteps final {
public:
    explicit TProgressSteps(IDeviceCommandContext& context) : context_(context) {}
    ~TProgressSteps();
    TProgressSteps(const TProgressSteps&) = delete;
    TProgressSteps& operator=(const TProgressSteps&) = delete;

    void Start(int maximum);
    void Advance(int steps);
    void SetPosition(int position);

private:
    IDeviceCommandContext& context_;
    bool shown_ = false;
    int maximum_ = 0;
    int position_ = 0;
};
