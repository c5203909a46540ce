#pragma once

#include "devicelink/IDeviceCommandContext.h"

namespace pellicor {

class TFormMain;

// The main window as the device commands see it: its plate rows, special entries,
// Wiegand format, selected devices, progress bar, log and refresh.
class TMainDeviceContext final : public IDeviceCommandContext {
public:
    explicit TMainDeviceContext(TFormMain& form) : form_(form) {}

    int PlateCount() const override;
    std::string PlateText(int row) const override;
    std::string IdNumberText(int row) const override;
    bool SpecialChecked(TSpecialEntry entry) const override;
    std::string SpecialText(TSpecialEntry entry) const override;
    void AddPlateEntry(const std::string& plate, const std::string& idText) override;
    void ClearMatchList() override;
    uint64_t EncodeWiegand(std::string_view idText) const override;
    int64_t DecodeWiegand(std::string_view hexText) const override;
    std::vector<std::string> SelectedDeviceHosts() const override;
    void ProgressStart(int max) override;
    void ProgressPosition(int position) override;
    void ProgressHide() override;
    void AppendLog(const std::string& line) override;
    void UpdateUI() override;
    void HoldOffInput(bool hold) override;

private:
    TFormMain& form_;
};

}  // namespace pellicor
