// What reading a workbook costs against its size: our own workbooks of growing size beside
// damaged ones built to make a reader loop or read one worksheet many times. Counters: bytes
// read per second and the peak of the memory the read holds over the file's size. A read
// holding more than 64 times its file (plus 1 MB) is flagged as an error.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <cstdlib>
#include <new>

#include "platform/xls/Bytes.h"
#include "platform/xls/CompoundFile.h"
#include "platform/xls/Workbook.h"

namespace {

size_t liveBytes = 0, peakBytes = 0;

}  // namespace

void* operator new(size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (!p) throw std::bad_alloc();
    liveBytes += malloc_usable_size(p);
    peakBytes = std::max(peakBytes, liveBytes);
    return p;
}
void operator delete(void* p) noexcept {
    if (p) liveBytes -= malloc_usable_size(p);
    std::free(p);
}
void operator delete(void* p, size_t) noexcept { operator delete(p); }

namespace {

using namespace platform::xls;
using namespace platform::xls::bytes;

std::string ownWorkbook(int rows) {
    Sheet s{"SheetName", {}};
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < 21; ++c)
            s.cells[{r, c}] = {c % 3 == 1 ? "Début Redémarrage " + std::to_string(r) : "04:08:15", 0xFFFFFF,
                               0};
    std::string bytes;
    encodeWorkbook(s, bytes);
    return bytes;
}

std::string record(uint16_t id, const std::string& body) {
    std::string r;
    put16(r, id);
    put16(r, uint32_t(body.size()));
    return r + body;
}

// `entries` sheet entries, all pointing at one worksheet of 200 text cells.
std::string sharedWorksheet(int entries) {
    auto bof = [](uint32_t type) {
        std::string b;
        for (uint32_t v : {0x0600u, type, 0x0DBBu, 0x07CCu}) put16(b, v);
        put32(b, 0);
        put32(b, 6);
        return record(0x0809, b);
    };
    std::string globals = bof(0x0005);
    for (int i = 0; i < 16; ++i) globals += record(0x00E0, std::string(20, '\0'));
    std::vector<size_t> offsets;
    for (int i = 0; i < entries; ++i) {
        offsets.push_back(globals.size() + 4);
        globals += record(0x0085, std::string("\0\0\0\0\0\0\x02\0S1", 10));
    }
    globals += record(0x000A, {});
    std::string sheet = bof(0x0010);
    for (int r = 0; r < 200; ++r) {
        std::string b;
        put16(b, r);
        put16(b, 0);
        put16(b, 15);
        put16(b, 1);
        put8(b, 0);
        sheet += record(0x0204, b + "x");
    }
    sheet += record(0x000A, {});
    for (size_t at : offsets) set32(globals, at, uint32_t(globals.size()));
    std::string file;
    compound::pack("Workbook", globals + sheet, file);
    return file;
}

// A kilobyte whose header declares an allocation table of 4 G sectors, its DIFAT on itself.
std::string difatOnItself() {
    std::string f;
    compound::pack("Workbook", std::string(16, '\0'), f);
    f.resize(1024, '\0');
    set32(f, 0x2C, 0xFFFFFFFF);
    set32(f, 0x44, 0);
    set32(f, 0x48, 0xFFFFFFFF);
    set32(f, 512 + 508, 0);
    return f;
}

void measure(benchmark::State& state, const std::string& file) {
    size_t peak = 0;
    for (auto _ : state) {
        const size_t before = liveBytes;
        peakBytes = liveBytes;
        std::vector<Sheet> sheets;
        benchmark::DoNotOptimize(decodeWorkbook(file, sheets));
        peak = std::max(peak, peakBytes - before);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.size()));
    state.counters["file_KB"] = double(file.size()) / 1024;
    state.counters["peak_per_file_byte"] = double(peak) / double(file.size());
    if (peak > 64 * file.size() + (1 << 20))
        state.SkipWithError("the read holds more than 64 times its file");
}

void OwnWorkbook(benchmark::State& state) { measure(state, ownWorkbook(int(state.range(0)))); }
void SheetEntriesSharingOneWorksheet(benchmark::State& state) {
    measure(state, sharedWorksheet(int(state.range(0))));
}
void DifatOnItself(benchmark::State& state) { measure(state, difatOnItself()); }

}  // namespace

BENCHMARK(OwnWorkbook)->Arg(50)->Arg(500)->Arg(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK(SheetEntriesSharingOneWorksheet)->Arg(10)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK(DifatOnItself)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
