#include "matchlist/MatchList.h"

#include "matchlist/IMatchListHost.h"
#include "matchlist/ListFileText.h"
#include "platform/text/FileName.h"
#include "platform/text/Format.h"
#include "platform/file/InputFile.h"
#include "platform/file/ReplaceFile.h"
#include "platform/file/FileSystem.h"
#include "platform/toolkit/TListView.h"
#include "platform/ui/Ui.h"

#include <unordered_set>
#include <vector>

namespace {

constexpr int kPlateColumn = 1;
// Lists this long show the progress bar while duplicates are deleted.
constexpr int kProgressThreshold = 1000;

int SpecialIndex(std::string_view plate)
{
    for (size_t k = 0; k < kSpecialKeywords.size(); ++k)
        if (plate == kSpecialKeywords[k])
            return static_cast<int>(k);
    return -1;
}

void SelectAndShow(TListView& view, int row)
{
    view.SetSelected(row, true);
    view.MakeVisible(view.FirstSelected());
}

int AppendPlateRow(TListView& view, const std::string& plate, const std::string& idText)
{
    return view.AddRow(std::to_string(view.Count() + 1), {plate, idText});
}

// The progress bar and hourglass of a pass, taken down on every path out.
class ProgressGuard final {
public:
    ProgressGuard(IMatchListHost& host, int maximum, bool visible) : host_(host), visible_(visible)
    {
        if (visible_)
            host_.ShowProgress(maximum);
    }
    ~ProgressGuard()
    {
        if (visible_)
            host_.HideProgress();
    }
    ProgressGuard(const ProgressGuard&) = delete;
    ProgressGuard& operator=(const ProgressGuard&) = delete;

private:
    IMatchListHost& host_;
    bool visible_;
    ui::BusyCursor busy_;
};

class UpdateGuard final {
public:
    explicit UpdateGuard(TListView& view) : view_(view) { view_.BeginUpdate(); }
    ~UpdateGuard() { view_.EndUpdate(); }
    UpdateGuard(const UpdateGuard&) = delete;
    UpdateGuard& operator=(const UpdateGuard&) = delete;

private:
    TListView& view_;
};

}  // namespace

int FindItemByColumn(const TListView& view, std::string_view text, int column)
{
    if (column < 1 || column >= view.ColumnCount())
        return -1;
    for (int row = 0; row < view.Count(); ++row)
        if (view.SubItem(row, column - 1) == text)
            return row;
    return -1;
}

void AddPlateEntry(IMatchListHost& host, const std::string& plate, const std::string& idText,
                   bool interactive)
{
    host.SetModified(true);
    if (int k = SpecialIndex(plate); k >= 0) {
        host.SetSpecial(k, !idText.empty(), idText);
        if (interactive)
            host.SwitchToExpert();
        return;
    }
    TListView& view = host.PlateList();
    if (!interactive) {
        AppendPlateRow(view, plate, idText);
        return;
    }
    if (int row = FindItemByColumn(view, plate, kPlateColumn); row >= 0) {
        SelectAndShow(view, row);
        if (ui::ShowMessage(ui::MsgKind::Confirmation,
                            "Plate already in list: update wiegand id-number ?",
                            ui::Buttons::YesNo) == ui::Result::Yes)
            view.SetSubItem(row, 1, idText);
        return;
    }
    SelectAndShow(view, AppendPlateRow(view, plate, idText));
}

void ClearMatchList(IMatchListHost& host)
{
    host.SetPlateSortColumn(-1);
    host.PlateList().Clear();
    for (int k = 0; k < static_cast<int>(kSpecialKeywords.size()); ++k)
        host.SetSpecial(k, false, "");
    host.SetModified(false);
}

void DeleteDuplicatePlates(IMatchListHost& host)
{
    TListView& view = host.PlateList();
    const int count = view.Count();
    std::vector<int> duplicates;
    {
        ProgressGuard progress(host, count, count >= kProgressThreshold);
        // One pass in view order: a plate seen before is a duplicate of the row nearest
        // the top, which is the row the pairwise pass keeps.
        std::unordered_set<std::string_view> seen;
        seen.reserve(static_cast<size_t>(count));
        // The bar shows the index the kept row will have, as the pairwise pass does.
        for (int row = 0; row < count; ++row) {
            if (!seen.insert(view.SubItem(row, kPlateColumn - 1)).second) {
                duplicates.push_back(row);
                continue;
            }
            if (count >= kProgressThreshold)
                host.SetProgressPosition(static_cast<int>(seen.size()) - 1);
        }
    }
    if (duplicates.empty()) {
        ui::ShowMessage(ui::MsgKind::Information, "No duplicates found");
        return;
    }
    view.DeleteRows(duplicates);
    host.SetModified(true);
    ui::ShowMessage(ui::MsgKind::Information,
                    Format("Deleted %d plates", static_cast<int>(duplicates.size())));
}

void LoadMatchList(IMatchListHost& host, const std::string& fileName, int firstLine, char delimiter,
                   char quote, int64_t maxId)
{
    if (!FileExists(fileName))
        return;
    const std::vector<TPlateRow> entries =
        ParseListFileText(ReadFileBytes(fileName), firstLine, delimiter, quote, maxId);
    TListView& view = host.PlateList();
    UpdateGuard update(view);
    ClearMatchList(host);
    for (const TPlateRow& entry : entries)
        AddPlateEntry(host, entry.plate, entry.idText, false);
}

std::string MatchListText(IMatchListHost& host, char delimiter, char quote)
{
    const TListView& view = host.PlateList();
    TSpecialEntries specials;
    for (int k = 0; k < static_cast<int>(specials.size()); ++k)
        specials[static_cast<size_t>(k)] = {host.SpecialChecked(k), host.SpecialIdText(k)};
    return BuildListFileText(
        view.Count(),
        [&view](int row) {
            return TPlateRow{view.SubItem(row, 0), view.SubItem(row, 1)};
        },
        specials, delimiter, quote);
}

void SaveMatchList(IMatchListHost& host, const std::string& fileName, char delimiter, char quote)
{
    WriteFileReplacing(fileName, MatchListText(host, delimiter, quote));
    ui::ShowUnicodeMessage(ui::MsgKind::Information, FileMessage("File saved %s", {fileName}));
}
