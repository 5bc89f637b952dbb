// Encoding speed of MakeData, the inner loop of batch printing, and the heap
// allocations that one call makes.

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "Barcode.h"

namespace {
std::atomic<long long> allocationCount{0};
}

// Every heap allocation of the process passes through here, so a benchmark
// can report how many one MakeData call makes.
void* operator new(std::size_t size) {
    allocationCount.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

void encode(benchmark::State& state, TBarcodeType typ, const std::string& text) {
    TKelBarcode barcode;
    barcode.SetTyp(typ);
    barcode.SetText(text);
    long long allocations = 0;
    for (auto _ : state) {
        const long long before = allocationCount.load(std::memory_order_relaxed);
        std::string modules = barcode.MakeData();
        benchmark::DoNotOptimize(modules.data());
        allocations += allocationCount.load(std::memory_order_relaxed) - before;
    }
    state.counters["allocs/call"] =
        benchmark::Counter(static_cast<double>(allocations) / static_cast<double>(state.iterations()));
    state.counters["chars/s"] = benchmark::Counter(
        static_cast<double>(text.size()) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_Code128B_Short(benchmark::State& state) { encode(state, bcCode128B, "12345678"); }
void BM_Code128B_40(benchmark::State& state) {
    encode(state, bcCode128B, "HALVEX-0123456789-abcdefghij-KLMNOPQRST!");
}
void BM_Code128C_40(benchmark::State& state) {
    encode(state, bcCode128C, "0123456789012345678901234567890123456789");
}
void BM_EAN128C_Checksum(benchmark::State& state) {
    TKelBarcode barcode;
    barcode.SetTyp(bcCodeEAN128C);
    barcode.SetCheckSum(true);
    barcode.SetText("0101234567890128");
    long long allocations = 0;
    for (auto _ : state) {
        const long long before = allocationCount.load(std::memory_order_relaxed);
        std::string modules = barcode.MakeData();
        benchmark::DoNotOptimize(modules.data());
        allocations += allocationCount.load(std::memory_order_relaxed) - before;
    }
    state.counters["allocs/call"] =
        benchmark::Counter(static_cast<double>(allocations) / static_cast<double>(state.iterations()));
}
void BM_GetWidth_Code128B_Short(benchmark::State& state) {
    TKelBarcode barcode;
    barcode.SetTyp(bcCode128B);
    barcode.SetText("12345678");
    for (auto _ : state)
        benchmark::DoNotOptimize(barcode.GetWidth());
}

// The width computation that every MakeData starts with.
void BM_MakeModules(benchmark::State& state) {
    TKelBarcode barcode;
    barcode.SetTyp(bcCode128B);
    for (auto _ : state) {
        barcode.MakeModules();
        benchmark::DoNotOptimize(barcode.ModuleWidths());
    }
}

}  // namespace

BENCHMARK(BM_MakeModules);
BENCHMARK(BM_Code128B_Short);
BENCHMARK(BM_Code128B_40);
BENCHMARK(BM_Code128C_40);
BENCHMARK(BM_EAN128C_Checksum);
BENCHMARK(BM_GetWidth_Code128B_Short);
BENCHMARK_MAIN();
