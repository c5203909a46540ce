#include "devicelink/TProgressSteps.h"

#include "devicelink/IDeviceCommandContext.h"

#include <algorithm>

TProgressSteps::~TProgressSteps()
{
    if (shown_)
        context_.ProgressHide();
}

void TProgressSteps::Start(int maximum)
{
    maximum_ = std::max(maximum, 0);
    position_ = 0;
    shown_ = true;
    context_.ProgressStart(maximum_);
}

void TProgressSteps::Advance(int steps)
{
    SetPosition(position_ + steps);
}

void TProgressSteps::SetPosition(int position)
{
    position_ = std::clamp(position, 0, maximum_);
    context_.ProgressPosition(position_);
}
