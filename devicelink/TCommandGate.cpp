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
    for (auto& action : deferred_)
        QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(action),
                                  Qt::QueuedConnection);
    deferred_.clear();
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
