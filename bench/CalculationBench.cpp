// One calculation run of each bundled example: the depletion prediction alone
// (about 500 pressure steps with its report), and the whole run sequence for
// each result kind.

#include <benchmark/benchmark.h>

#include "AllocationCounter.h"
#include "BenchCases.h"
#include "ExampleCases.h"

namespace {

enum class Result { Depletion, Pvt, RelPerm };

void Prepare(CMorvekDoc& doc, QuietSink& sink, ConfirmingRunner& runner, int example,
             Result result) {
    doc.SetMessageSink(&sink);
    doc.SetDataEntryRunner(&runner);
    ExampleCases()[static_cast<size_t>(example)].fill(doc);
    doc.m_bPVTAusgabe = result == Result::Pvt;
    doc.m_bRelPermAusgabe = result == Result::RelPerm;
}

// ComputeDepletion after the report head, as the run sequence calls it. The
// counters show the allocations of one run next to the report lines it adds:
// the run allocates nothing but those lines.
void BM_DepletionRun(benchmark::State& state) {
    CMorvekDoc doc;
    QuietSink sink;
    ConfirmingRunner runner;
    Prepare(doc, sink, runner, static_cast<int>(state.range(0)), Result::Depletion);
    doc.Gasprop();
    doc.CheckOilGravity();
    const size_t headLines = doc.m_Text.size();
    size_t allocations = 0, lines = 0;
    for (auto _ : state) {
        const size_t before = AllocationCount();
        doc.ComputeDepletion();
        allocations = AllocationCount() - before;
        lines = doc.m_Text.size() - headLines;
        benchmark::DoNotOptimize(doc.m_Text.data());
        state.PauseTiming();
        doc.m_Text.resize(headLines);
        state.ResumeTiming();
    }
    state.SetLabel(ExampleCases()[static_cast<size_t>(state.range(0))].fileName);
    state.counters["report_lines"] = static_cast<double>(lines);
    state.counters["allocations"] = static_cast<double>(allocations);
    state.counters["points"] = doc.m_MaxWerte;
}
BENCHMARK(BM_DepletionRun)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// The whole run sequence of the dialog's OK: gas properties with the report
// head, oil-gravity check, then the result.
void BM_CalculationRun(benchmark::State& state) {
    CMorvekDoc doc;
    QuietSink sink;
    ConfirmingRunner runner;
    const auto result = static_cast<Result>(state.range(1));
    Prepare(doc, sink, runner, static_cast<int>(state.range(0)), result);
    for (auto _ : state) {
        doc.OnDataChange();
        benchmark::DoNotOptimize(doc.m_Text.data());
    }
    static const char* const kKinds[] = {"Prognose", "PVT", "RelPerm"};
    state.SetLabel(ExampleCases()[static_cast<size_t>(state.range(0))].fileName + " " +
                   kKinds[state.range(1)]);
    state.counters["report_lines"] = static_cast<double>(doc.m_Text.size());
}
BENCHMARK(BM_CalculationRun)->ArgsProduct({{0, 1, 2}, {0, 1, 2}})->Unit(benchmark::kMicrosecond);

}  // namespace
