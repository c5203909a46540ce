#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class TSpecialEntry { NoMatch, NoRead, NoPlate };

// What the device commands need of the main window, which implements it over its own
// controls: the plate list's rows, the special entries, the Wiegand format on screen, the
// selected device rows, the progress bar, the communication log and the refresh. The
// commands keep no copy of any list.
class IDeviceCommandContext {
public:
    virtual ~IDeviceCommandContext() = default;

    // The plate entries as the last UpdateUI counted them (PlateCount) and, for row 0 to
    // PlateCount - 1, the plate (column 1) and the id-number (column 2) as GetColumnText
    // gives them.
    virtual int PlateCount() const = 0;
    virtual std::string PlateText(int row) const = 0;
    virtual std::string IdNumberText(int row) const = 0;

    // A special entry's check box and the text of its id-number field.
    virtual bool SpecialChecked(TSpecialEntry entry) const = 0;
    virtual std::string SpecialText(TSpecialEntry entry) const = 0;
    virtual void SetSpecial(TSpecialEntry entry, bool checked, const std::string& text) = 0;

    // AddPlateEntry(plate, idText, not interactive): appends a row, or sets the special
    // entry when the plate is NOMATCH, NOREAD or NOPLATE.
    virtual void AddPlateEntry(const std::string& plate, const std::string& idText) = 0;
    virtual void ClearMatchList() = 0;

    // The frame value of an id-number and back, for the Wiegand format on screen.
    virtual uint64_t EncodeWiegand(std::string_view idText) const = 0;
    virtual int64_t DecodeWiegand(std::string_view hexText) const = 0;

    // The target hosts of the selected device rows in list order: each row's ip-address,
    // or its hostname when the address is empty.
    virtual std::vector<std::string> SelectedDeviceHosts() const = 0;

    // ProgressBar1: position 0 of max, shown; a new position (never above max); hidden.
    // max may be 0 (nothing to send): the bar then shows empty, not as a busy bar.
    virtual void ProgressStart(int max) = 0;
    virtual void ProgressPosition(int position) = 0;
    virtual void ProgressHide() = 0;

    // Appends one line to the communication log (Memo1).
    virtual void AppendLog(const std::string& line) = 0;

    virtual void UpdateUI() = 0;

    // true while a device command runs and processes window messages: the window then
    // takes no command and no change to its lists or fields (the progress bar and the log
    // stay live); false when the command has ended.
    virtual void HoldOffInput(bool hold) = 0;
};
