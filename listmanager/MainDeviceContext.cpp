#include "listmanager/MainDeviceContext.h"

#include "listmanager/MainLog.h"
#include "listmanager/UMain.h"
#include "matchlist/MatchList.h"
#include "matchlist/Wiegand.h"
#include "netsetup/DeviceRows.h"
#include "platform/toolkit/TListView.h"
#include "platform/ui/Guarded.h"

namespace pellicor {

TMainDeviceContext::TMainDeviceContext(TFormMain& form) : form_(form)
{
    showTimer_.setSingleShot(true);
    showTimer_.setInterval(kShowInterval);
    QObject::connect(&showTimer_, &QTimer::timeout, ui::Guarded([this] { ShowHeldBack(); }));
}

int TMainDeviceContext::PlateCount() const
{
    return form_.PlateCount;
}

std::string TMainDeviceContext::PlateText(int row) const
{
    return GetColumnText(*form_.PlateList1, row, 1);
}

std::string TMainDeviceContext::IdNumberText(int row) const
{
    return GetColumnText(*form_.PlateList1, row, 2);
}

bool TMainDeviceContext::SpecialChecked(TSpecialEntry entry) const
{
    return form_.SpecialChecked(static_cast<int>(entry));
}

std::string TMainDeviceContext::SpecialText(TSpecialEntry entry) const
{
    return form_.SpecialIdText(static_cast<int>(entry));
}

void TMainDeviceContext::SetSpecial(TSpecialEntry entry, bool checked, const std::string& text)
{
    form_.SetSpecial(static_cast<int>(entry), checked, text);
}

void TMainDeviceContext::AddPlateEntry(const std::string& plate, const std::string& idText)
{
    if (!rowsHeld_) {
        form_.PlateList1->BeginUpdate();
        rowsHeld_ = true;
    }
    ::AddPlateEntry(form_, plate, idText, false);
    Pace();
}

void TMainDeviceContext::ClearMatchList()
{
    ::ClearMatchList(form_);
}

TWiegandFormat TMainDeviceContext::WiegandFormat() const
{
    return format_ ? *format_ : form_.WiegandFormat();
}

uint64_t TMainDeviceContext::EncodeWiegand(std::string_view idText) const
{
    return ::EncodeWiegand(WiegandFormat(), idText);
}

int64_t TMainDeviceContext::DecodeWiegand(std::string_view hexText) const
{
    return ::DecodeWiegand(WiegandFormat(), hexText);
}

std::vector<std::string> TMainDeviceContext::SelectedDeviceHosts() const
{
    std::vector<std::string> hosts;
    for (int row : form_.HostList1->SelectedRows())
        hosts.push_back(TargetHost(*form_.HostList1, row));
    return hosts;
}

void TMainDeviceContext::ProgressStart(int max)
{
    position_.reset();
    form_.ShowProgress(max);
}

void TMainDeviceContext::ProgressPosition(int position)
{
    position_ = position;
    Pace();
}

void TMainDeviceContext::ProgressHide()
{
    ShowHeldBack();
    form_.HideProgress();
}

TMainLog& TMainDeviceContext::Log()
{
    if (!log_)
        log_ = new TMainLog(*form_.Memo1, kShowInterval);
    return *log_;
}

void TMainDeviceContext::AppendLog(const std::string& line)
{
    Log().Append(line);
    Pace();
}

void TMainDeviceContext::UpdateUI()
{
    ShowHeldBack();
    form_.UpdateUI();
}

void TMainDeviceContext::HoldOffInput(bool hold)
{
    if (hold) {
        format_ = form_.WiegandFormat();
    } else {
        ShowHeldBack();
        format_.reset();
    }
    form_.HoldOffInput(hold);
}

void TMainDeviceContext::Pace()
{
    if (Clock::now() - shown_ >= kShowInterval)
        ShowHeldBack();
    else if (!showTimer_.isActive())
        showTimer_.start();
}

void TMainDeviceContext::ShowHeldBack()
{
    showTimer_.stop();
    shown_ = Clock::now();
    if (rowsHeld_) {
        rowsHeld_ = false;
        form_.PlateList1->EndUpdate();
    }
    if (position_) {
        form_.SetProgressPosition(*position_);
        position_.reset();
    }
    if (log_)
        log_->Show();
}

}  // namespace pellicor
