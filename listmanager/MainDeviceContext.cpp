#include "listmanager/MainDeviceContext.h"

#include "listmanager/UMain.h"
#include "matchlist/MatchList.h"
#include "matchlist/Wiegand.h"
#include "netsetup/DeviceRows.h"
#include "platform/text/Cp1252.h"
#include "platform/toolkit/TListView.h"

#include <QPlainTextEdit>

namespace pellicor {

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

void TMainDeviceContext::AddPlateEntry(const std::string& plate, const std::string& idText)
{
    ::AddPlateEntry(form_, plate, idText, false);
}

void TMainDeviceContext::ClearMatchList()
{
    ::ClearMatchList(form_);
}

uint64_t TMainDeviceContext::EncodeWiegand(std::string_view idText) const
{
    return ::EncodeWiegand(form_.WiegandFormat(), idText);
}

int64_t TMainDeviceContext::DecodeWiegand(std::string_view hexText) const
{
    return ::DecodeWiegand(form_.WiegandFormat(), hexText);
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
    form_.ShowProgress(max);
}

void TMainDeviceContext::ProgressPosition(int position)
{
    form_.SetProgressPosition(position);
}

void TMainDeviceContext::ProgressHide()
{
    form_.HideProgress();
}

void TMainDeviceContext::AppendLog(const std::string& line)
{
    form_.Memo1->appendPlainText(ToQString(line));
}

void TMainDeviceContext::UpdateUI()
{
    form_.UpdateUI();
}

void TMainDeviceContext::HoldOffInput(bool hold)
{
    form_.HoldOffInput(hold);
}

}  // namespace pellicor
