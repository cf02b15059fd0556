// Uncertainty runs: 10,000 samples of Nordfeld with four varied inputs, the
// CSV lines made as batch mode makes them, on one thread and on two; and both
// in one benchmark run for the speed-up and the identity of the two CSVs.

#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>
#include <string>

#include "ExampleCases.h"
#include "case/MorvekDoc.h"
#include "input/CaseRefusal.h"
#include "sweep/SweepText.h"

namespace {

constexpr uint64_t kSamples = 10000;

struct SweepCase {
    morvek::CaseInputs base;
    std::vector<morvek::Variation> variations;
};

const SweepCase& Nordfeld() {
    static const SweepCase c = [] {
        SweepCase s;
        CMorvekDoc doc;
        FillNordfeld(doc);
        s.base = doc.m_Inputs;
        for (const char* text :
             {"m_OOIP=4000:6000", "m_Gaskappe=0:0.5", "m_Sgc=0.02:0.05:0.12", "m_KrgMax=0.4:0.8"}) {
            morvek::Variation v;
            std::string problem;
            if (morvek::ParseVariation(text, v, problem)) s.variations.push_back(v);
        }
        return s;
    }();
    return c;
}

// The whole sweep as batch mode runs it (the dialog's checks on every sample,
// every CSV line made); returns the CSV's hash and counts its failures.
size_t RunSweep(int threads, uint64_t& failed) {
    const SweepCase& c = Nordfeld();
    morvek::SweepOptions options;
    options.plan.samples = kSamples;
    options.threads = threads;
    options.check = RefusalOfCase;
    size_t hash = std::hash<std::string>()(morvek::SweepCsvHeader(c.variations, false));
    const morvek::SweepResult r =
        morvek::Sweep(c.base, c.variations, options, [&](const morvek::SweepRow& row) {
            hash = hash * 1000003u ^ std::hash<std::string>()(morvek::SweepCsvLine(row, false));
        });
    failed = r.failedCount;
    return hash;
}

void BM_Sweep10000(benchmark::State& state) {
    const int threads = static_cast<int>(state.range(0));
    uint64_t failed = 0;
    for (auto _ : state) benchmark::DoNotOptimize(RunSweep(threads, failed));
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kSamples));
    state.counters["failed"] = static_cast<double>(failed);
}
BENCHMARK(BM_Sweep10000)
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(2)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// One thread, then two, in the same iteration: wall-time speed-up and whether
// the two CSVs are the same bytes (hash).
void BM_SweepThreadSpeedup(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    double one = 0, two = 0;
    bool identical = true;
    uint64_t failed = 0;
    for (auto _ : state) {
        const Clock::time_point t0 = Clock::now();
        const size_t a = RunSweep(1, failed);
        const Clock::time_point t1 = Clock::now();
        const size_t b = RunSweep(2, failed);
        const Clock::time_point t2 = Clock::now();
        one += std::chrono::duration<double>(t1 - t0).count();
        two += std::chrono::duration<double>(t2 - t1).count();
        identical = identical && a == b;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["one_thread_s"] = one / n;
    state.counters["two_threads_s"] = two / n;
    state.counters["speedup"] = one / two;
    state.counters["csv_identical"] = identical ? 1 : 0;
}
BENCHMARK(BM_SweepThreadSpeedup)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
