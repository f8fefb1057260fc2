// Loading the record block of a large sheet must stay close to a plain copy
// of its bytes: both figures are reported side by side.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "model/archive.h"
#include "model/etrec.h"

namespace {

constexpr int kRecords = 1000000;

const std::vector<uint8_t>& StoredBlock()
{
    static const std::vector<uint8_t> bytes = [] {
        CRecordVector records(kRecords);
        for (int i = 1; i < kRecords; ++i)
            records[i] = CETREC::Make(i * 7, -i * 3, i % 16, i % 8, i % 30000, i % 5 == 0);
        CArchive ar("bench.ETT");
        StoreRecords(ar, records);
        return ar.TakeBytes();
    }();
    return bytes;
}

void LoadRecordBlock(benchmark::State& state)
{
    const auto& bytes = StoredBlock();
    for (auto _ : state) {
        CRecordVector records;
        CArchive ar(bytes, "bench.ETT");
        LoadRecords(ar, records);
        benchmark::DoNotOptimize(records.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * int64_t {kRecords} * 12);
}

void PlainMemcpy(benchmark::State& state)
{
    const auto& bytes = StoredBlock();
    for (auto _ : state) {
        // A fresh, uninitialised buffer: the copy alone, no zeroing.
        const size_t n = bytes.size() - 6;
        std::unique_ptr<uint8_t[]> copy(new uint8_t[n]);
        std::memcpy(copy.get(), bytes.data() + 6, n);
        benchmark::DoNotOptimize(copy.get());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * int64_t {kRecords} * 12);
}

} // namespace

BENCHMARK(LoadRecordBlock)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainMemcpy)->Unit(benchmark::kMillisecond);
