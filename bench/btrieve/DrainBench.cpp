// Records per second of the message-file drain: 10,000 records written by the automation's code,
// then read and deleted through BTRieve (get greater or equal, delete). Target: 5,000/s.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "bench/support/BenchSite.h"
#include "btrieve/BtrState.h"
#include "btrieve/Catalogue.h"
#include "btrieve/OpenClose.h"
#include "btrieve/Operation.h"
#include "foundation/NeighbourServices.h"
#include "tests/tools/automation/AutomationSide.h"

namespace {

constexpr int kRecords = 10000;
constexpr double kTarget = 5000;
const std::string kFolder = "C:\\AL_Data\\";

// A C: root of its own with a base's message file for station 1.
struct Site : bench::TempDrive {
    Site() : TempDrive("btrieve") {
        std::filesystem::create_directories(root() / "AL_Data");
        PbSDossierDataBase[0] = kFolder;
        Lib_Data_BTrieve_2::InitGeneralData();
        std::string failed;
        if (automation::createBaseFiles(kFolder, 1, {55}, failed) != 0) std::abort();
        Lib_Data_BTrieve::FichierPervasiveOuvrir(0, 1, 1, 55, 0);
        if (!PbBBtrFileOpen[0][0][55]) std::abort();
    }
};

Site& site() {
    static Site s;
    return s;
}

void fill() {
    automation::MessageWriter writer;
    if (writer.open(kFolder, 1) != 0) std::abort();
    for (int n = 1; n <= kRecords; ++n)
        if (writer.insert(automation::sequenceKey(n), "EVT",
                          "<NoStation:1><CurrLib:Message " + std::to_string(n) + ">") != 0)
            std::abort();
}

void DrainMessageFile(benchmark::State& state) {
    site();
    int64_t drained = 0;
    std::chrono::steady_clock::duration spent{};
    for (auto _ : state) {
        state.PauseTiming();
        fill();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        for (;;) {
            PbSBtrKey = std::string(16, '\0');
            Lib_Data_BTrieve::BTRieve(0, 9, PbSBtrKey, 0, 55, 1, "Bench:Drain");
            if (PbIBtrStatus != 0) break;
            Lib_Data_BTrieve::BTRieve(0, 4, PbSBtrKey, 0, 55, 1, "Bench:Drain");
            if (PbIBtrStatus != 0) break;
            ++drained;
        }
        spent += std::chrono::steady_clock::now() - start;
        if (PbIBtrStatus != 9) state.SkipWithError("the drain stopped on a failure");
    }
    if (drained != int64_t(state.iterations()) * kRecords)
        state.SkipWithError("not every record was drained");
    const double rate = double(drained) / std::chrono::duration<double>(spent).count();
    if (rate < kTarget) state.SkipWithError("below 5,000 records per second");
    state.counters["records/s"] = benchmark::Counter(double(drained), benchmark::Counter::kIsRate);
    state.counters["target/s"] = kTarget;
}

// Writing through the automation's code, for comparison.
void FillMessageFile(benchmark::State& state) {
    site();
    for (auto _ : state) {
        fill();
        state.PauseTiming();
        PbSBtrKey = std::string(16, '\0');
        for (;;) {
            Lib_Data_BTrieve::BTRieve(0, 9, PbSBtrKey, 0, 55, 1, "");
            if (PbIBtrStatus != 0) break;
            Lib_Data_BTrieve::BTRieve(0, 4, PbSBtrKey, 0, 55, 1, "");
        }
        state.ResumeTiming();
    }
    state.counters["records/s"] =
        benchmark::Counter(double(state.iterations()) * kRecords, benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(DrainMessageFile)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(FillMessageFile)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK_MAIN();
