#pragma once

#include "devicelink/IDeviceCommandContext.h"
#include "matchlist/Wiegand.h"

#include <QTimer>

#include <chrono>
#include <optional>
#include <string>

namespace pellicor {

class TFormMain;
class TMainLog;

// The main window as the device commands see it: its plate rows, special entries,
// Wiegand format, selected devices, progress bar, log and refresh.
//
// A command reports every entry, block and log line, thousands a second, while the window
// can show only a few dozen changes a second: received rows, the progress bar's position
// and log lines are held back and shown together at most every kShowInterval, and all that
// is left when the command refreshes the window or ends (the log a slice at a time, see
// MainLog.h). What the window ends up showing is the same as if each had been shown at once.
class TMainDeviceContext final : public IDeviceCommandContext {
public:
    static constexpr std::chrono::milliseconds kShowInterval{40};

    explicit TMainDeviceContext(TFormMain& form);

    int PlateCount() const override;
    std::string PlateText(int row) const override;
    std::string IdNumberText(int row) const override;
    bool SpecialChecked(TSpecialEntry entry) const override;
    std::string SpecialText(TSpecialEntry entry) const override;
    void SetSpecial(TSpecialEntry entry, bool checked, const std::string& text) override;
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
    using Clock = std::chrono::steady_clock;

    TWiegandFormat WiegandFormat() const;
    // Shows what is held back when kShowInterval has passed since the last time; otherwise
    // makes sure it is shown within that time even when the command waits in a box.
    void Pace();
    void ShowHeldBack();
    TMainLog& Log();

    TFormMain& form_;
    // While a command holds the input off the Wiegand fields cannot change: read once.
    std::optional<TWiegandFormat> format_;
    bool rowsHeld_ = false;
    std::optional<int> position_;
    // Made with the first line, since the memo is built after this; the memo owns it.
    TMainLog* log_ = nullptr;
    Clock::time_point shown_;
    QTimer showTimer_;
};

}  // namespace pellicor
