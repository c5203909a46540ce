#include "devicelink/TCommandGate.h"

#include <QCoreApplication>
#include <QMetaObject>

void TCommandGate::WhenIdle(std::function<void()> action)
{
    if (busy_)
        deferred_.push_back(std::move(action));
    else
        action();
}

void TCommandGate::Leave()
{
    busy_ = false;
    if (holdOff_)
        holdOff_(false);
    auto actions = std::move(deferred_);
    deferred_.clear();
    for (auto& action : actions) {
        if (auto* app = QCoreApplication::instance())
            QMetaObject::invokeMethod(app, std::move(action), Qt::QueuedConnection);
        else
            action();
    }
}

TCommandGate::TBusy::TBusy(TCommandGate& gate) : gate_(gate), entered_(!gate.busy_)
{
    if (!entered_)
        return;
    gate_.busy_ = true;
    if (gate_.holdOff_)
        gate_.holdOff_(true);
}

TCommandGate::TBusy::~TBusy()
{
    if (entered_)
        gate_.Leave();
}
