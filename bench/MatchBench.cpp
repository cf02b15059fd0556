// The history match: m_OOIP and m_Gaskappe of Nordfeld fitted to its measured
// rows, from the case's own values (target: at most 0.5 s). The counters show
// how many predictions and solver iterations one match needs.

#include <benchmark/benchmark.h>

#include "ExampleCases.h"
#include "case/MorvekDoc.h"
#include "match/Match.h"

namespace {

void BM_MatchNordfeld(benchmark::State& state) {
    CMorvekDoc doc;
    ExampleCases()[0].fill(doc);  // nordfeld.mvk with its measured rows
    const morvek::MatchOptions options = morvek::MatchOptionsFor({"m_OOIP", "m_Gaskappe"});
    morvek::MatchResult result;
    for (auto _ : state) {
        result = morvek::Match(doc.m_Inputs, options);
        benchmark::DoNotOptimize(result.inputs.data());
    }
    state.SetLabel(result.Converged() ? "converged" : "NOT converged: " + result.message);
    state.counters["predictions"] = result.predictions;
    state.counters["iterations"] = result.iterations;
}
BENCHMARK(BM_MatchNordfeld)->Unit(benchmark::kMillisecond);

}  // namespace
