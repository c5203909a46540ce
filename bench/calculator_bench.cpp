// Tavrin Calculator at the size of a large plate file: computing and listing 100,000
// plates read from a file, and sorting either list by a text and by a numeric column.
#include "calculator/UMain.h"
#include "platform/file/ReplaceFile.h"
#include "platform/file/ProgramPath.h"
#include "platform/toolkit/TListView.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

constexpr int PlateCount = 100000;

struct Fixture {
    QTemporaryDir dir;
    std::string plateFile;
    std::unique_ptr<quantivo::TFormMain> form;

    Fixture()
    {
        SetProgramFileNameForTesting(dir.filePath("Quantivo").toStdString());
        plateFile = dir.filePath("plates.txt").toStdString();
        std::string lines;
        for (int i = 0; i < PlateCount; ++i)
            lines += "pl-" + std::to_string(i * 7919 % PlateCount) + " x\r\n";
        WriteFileReplacing(plateFile, lines);
        form = std::make_unique<quantivo::TFormMain>();
        form->show();
    }
};

Fixture& Shared()
{
    static Fixture fixture;
    return fixture;
}

void BM_ComputeAndListPlateFile(benchmark::State& state)
{
    Fixture& f = Shared();
    for (auto _ : state) {
        f.form->mnuFileNewClick();
        f.form->LoadPlatesFromFile(f.plateFile);
        QApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * PlateCount);
}
BENCHMARK(BM_ComputeAndListPlateFile)->Unit(benchmark::kMillisecond);

// Every iteration is one header click, which turns the direction, so the rows are never
// already in order.
void SortBy(benchmark::State& state, bool lv1, int column)
{
    Fixture& f = Shared();
    if (f.form->LV1->Count() != PlateCount) {
        f.form->mnuFileNewClick();
        f.form->LoadPlatesFromFile(f.plateFile);
    }
    TListView* list = lv1 ? f.form->LV1 : f.form->LV2;
    for (auto _ : state) {
        f.form->OnColumnClick(list, column);
        QApplication::processEvents();
    }
}

void BM_SortLV1ByPlate(benchmark::State& state)
{
    SortBy(state, true, 0);
}
void BM_SortLV1ByIdNumber(benchmark::State& state)
{
    SortBy(state, true, 6);
}
void BM_SortLV2By64BitDecimal(benchmark::State& state)
{
    SortBy(state, false, 2);
}
void BM_SortLV2By64BitHex(benchmark::State& state)
{
    SortBy(state, false, 1);
}
BENCHMARK(BM_SortLV1ByPlate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortLV1ByIdNumber)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortLV2By64BitDecimal)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortLV2By64BitHex)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Shared().form.reset();
    SetProgramFileNameForTesting("");
    return 0;
}
