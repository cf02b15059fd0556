// The whole run sequence of the dialog's OK for each bundled example and each
// result kind, as the window and batch mode run it.

#include <benchmark/benchmark.h>

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
