// The list manager at a device's full size of 65,535 plates: loading and saving the list
// file, deleting duplicates, deleting or clearing all rows, one window refresh.
#include "listmanager/UMain.h"
#include "matchlist/MatchList.h"
#include "platform/file/ProgramPath.h"
#include "platform/text/Format.h"
#include "platform/toolkit/TListView.h"
#include "platform/ui/Ui.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <numeric>
#include <string>

namespace {

constexpr int kRows = 65535;

// Answers every box with OK so that the measured commands never wait.
class SilentUi final : public ui::Ui {
public:
    ui::Result MessageBox(ui::MsgKind, const std::string&, ui::Buttons) override
    {
        return ui::Result::OK;
    }
    // The dummy list's count.
    bool InputBox(const std::string&, const std::string&, std::string& value) override
    {
        value = std::to_string(kRows);
        return true;
    }
    std::optional<std::string> OpenFile(const ui::FileDialogOptions&) override { return {}; }
    std::optional<std::string> SaveFile(const ui::FileDialogOptions&) override { return {}; }
    int ShowModal(QWidget&) override { return 0; }
    void ProcessMessages() override {}
    void SetBusyCursor(bool) override {}
};

struct Bench {
    Bench()
    {
        ui::SetCurrentUi(&silent);
        folder = std::filesystem::temp_directory_path() / "tavrin-bench";
        std::filesystem::create_directories(folder);
        SetProgramFileNameForTesting((folder / "Pellicor").string());
        form = std::make_unique<pellicor::TFormMain>();
    }
    void Fill(bool duplicates)
    {
        TListView& list = *form->PlateList1;
        list.Clear();
        list.BeginUpdate();
        for (int i = 0; i < kRows; ++i)
            list.AddRow(std::to_string(i + 1),
                        {Format("P%d", duplicates ? i % 1000 : i), std::to_string(i + 1)});
        list.EndUpdate();
    }
    std::string ListFile() const { return (folder / "bench.lst").string(); }

    SilentUi silent;
    std::filesystem::path folder;
    std::unique_ptr<pellicor::TFormMain> form;
};

Bench& Shared()
{
    static Bench bench;
    return bench;
}

void BM_SaveMatchList(benchmark::State& state)
{
    Bench& b = Shared();
    b.Fill(false);
    for (auto _ : state)
        SaveMatchList(*b.form, b.ListFile(), ';', '"');
}
BENCHMARK(BM_SaveMatchList)->Unit(benchmark::kMillisecond);

void BM_LoadMatchList(benchmark::State& state)
{
    Bench& b = Shared();
    b.Fill(false);
    SaveMatchList(*b.form, b.ListFile(), ';', '"');
    for (auto _ : state)
        LoadMatchList(*b.form, b.ListFile(), 1, ';', '"', 0);
    state.counters["rows"] = b.form->PlateList1->Count();
}
BENCHMARK(BM_LoadMatchList)->Unit(benchmark::kMillisecond);

void BM_DeleteDuplicatePlates(benchmark::State& state)
{
    Bench& b = Shared();
    for (auto _ : state) {
        state.PauseTiming();
        b.Fill(true);
        state.ResumeTiming();
        DeleteDuplicatePlates(*b.form);
    }
}
BENCHMARK(BM_DeleteDuplicatePlates)->Unit(benchmark::kMillisecond);

void BM_DeleteAllSelectedRows(benchmark::State& state)
{
    Bench& b = Shared();
    for (auto _ : state) {
        state.PauseTiming();
        b.Fill(false);
        std::vector<int> all(kRows);
        std::iota(all.begin(), all.end(), 0);
        state.ResumeTiming();
        b.form->PlateList1->DeleteRows(all);
    }
}
BENCHMARK(BM_DeleteAllSelectedRows)->Unit(benchmark::kMillisecond);

void BM_ClearMatchList(benchmark::State& state)
{
    Bench& b = Shared();
    for (auto _ : state) {
        state.PauseTiming();
        b.Fill(false);
        state.ResumeTiming();
        ClearMatchList(*b.form);
    }
}
BENCHMARK(BM_ClearMatchList)->Unit(benchmark::kMillisecond);

void BM_SortPlates(benchmark::State& state)
{
    Bench& b = Shared();
    b.Fill(false);
    for (auto _ : state)
        b.form->DoColumnClick(*b.form->PlateList1, static_cast<int>(state.range(0)));
}
BENCHMARK(BM_SortPlates)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_GenerateDummyList(benchmark::State& state)
{
    Bench& b = Shared();
    for (auto _ : state)
        b.form->mnuGenerateDummyListClick();
    state.counters["rows"] = b.form->PlateList1->Count();
}
BENCHMARK(BM_GenerateDummyList)->Unit(benchmark::kMillisecond);

void BM_UpdateUI(benchmark::State& state)
{
    Bench& b = Shared();
    b.Fill(false);
    for (int i = 0; i < 300; ++i)
        b.form->HostList1->AddRow(std::to_string(i + 1), {"127.0.0.1", "", ""});
    for (auto _ : state)
        b.form->UpdateUI();
}
BENCHMARK(BM_UpdateUI)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
