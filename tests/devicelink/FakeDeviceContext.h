#pragma once

#include "devicelink/IDeviceCommandContext.h"
#include "matchlist/Wiegand.h"

#include <functional>
#include <optional>

#include <string>
#include <vector>

// The main window as the device commands see it, kept in plain members. Unless a test sets
// a real Wiegand format, the format is the identity: an id-number's frame value is the
// number itself, so a test reads the id-numbers straight off the wire.
class FakeDeviceContext final : public IDeviceCommandContext {
public:
    struct Row {
        std::string plate;
        std::string id;
        bool operator==(const Row&) const = default;
    };
    struct Special {
        bool checked = false;
        std::string text;
    };

    std::vector<Row> rows;
    Special specials[3];
    std::vector<std::string> hosts;
    std::vector<std::string> log;  // the text of each line, after its time stamp
    std::function<void(const std::string& text)> onLog;  // told each of them

    bool progressShown = false;
    int progressMax = -1;
    int progressPos = 0;
    int progressHighest = 0;
    int updateUICount = 0;
    int clearCount = 0;
    std::vector<bool> holdOffs;
    std::optional<TWiegandFormat> wiegand;

    // Rows 0 to n-1 with plates P0, P1, ... and id-numbers 1, 2, ...
    void SetPlates(int n);
    Special& special(TSpecialEntry entry) { return specials[static_cast<int>(entry)]; }

    int PlateCount() const override { return static_cast<int>(rows.size()); }
    std::string PlateText(int row) const override { return rows.at(row).plate; }
    std::string IdNumberText(int row) const override { return rows.at(row).id; }
    bool SpecialChecked(TSpecialEntry entry) const override;
    std::string SpecialText(TSpecialEntry entry) const override;
    void SetSpecial(TSpecialEntry entry, bool checked, const std::string& text) override
    {
        special(entry) = {checked, text};
    }
    void AddPlateEntry(const std::string& plate, const std::string& idText) override;
    void ClearMatchList() override;
    uint64_t EncodeWiegand(std::string_view idText) const override;
    int64_t DecodeWiegand(std::string_view hexText) const override;
    std::vector<std::string> SelectedDeviceHosts() const override { return hosts; }
    void ProgressStart(int max) override;
    void ProgressPosition(int position) override;
    void ProgressHide() override { progressShown = false; }
    void AppendLog(const std::string& line) override;
    void UpdateUI() override { ++updateUICount; }
    void HoldOffInput(bool hold) override { holdOffs.push_back(hold); }
};
