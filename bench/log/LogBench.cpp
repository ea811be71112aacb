// Lines per second through TraceLog into the day's file, beside a plain buffered append.
// Target: 10,000 lines/s through TraceLog.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "bench/support/BenchSite.h"
#include "foundation/DailyLog.h"
#include "foundation/LogBuffers.h"

namespace fs = std::filesystem;

namespace {

constexpr int kLines = 100000;
constexpr double kTarget = 10000;
const std::string kText = "UDP: <NoStation:1><Titre:Morning show><Artiste:Someone> received";

bench::LogSite& site() {
    static bench::LogSite s("log");
    return s;
}

void TraceLogToTheDaysFile(benchmark::State& state) {
    site();
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) Lib_Public::TraceLog(-1, -1, -1, kText);
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
    if (!logbuffers::fileBuffer().empty()) state.SkipWithError("lines were left unwritten");
    if (double(state.iterations()) / spent.count() < kTarget)
        state.SkipWithError("below 10,000 lines per second");
    state.counters["lines/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["target/s"] = kTarget;
}

void PlainBufferedAppend(benchmark::State& state) {
    const fs::path file = site().root() / "plain.log";
    std::ofstream out(file, std::ios::app | std::ios::binary);
    const std::string line = "09:41:07:045 : : : :    :" + kText + "\r\n";
    for (auto _ : state) out << line;
    out.flush();
    state.counters["lines/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(TraceLogToTheDaysFile)->Iterations(kLines)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(PlainBufferedAppend)->Iterations(kLines)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_MAIN();
