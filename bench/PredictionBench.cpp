// The engine's prediction: one case without its report (what a match, a sweep
// or a notebook runs thousands of times), the same with report and graph, and
// ten thousand varied cases on one thread and on every core.

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "AllocationCounter.h"
#include "ExampleCases.h"
#include "case/MorvekDoc.h"
#include "depletion/PredictMany.h"
#include "report/CaseRun.h"

namespace {

morvek::CaseInputs Example(int index) {
    CMorvekDoc doc;
    ExampleCases()[static_cast<size_t>(index)].fill(doc);
    return doc.m_Inputs;
}

void Label(benchmark::State& state, int example) {
    state.SetLabel(ExampleCases()[static_cast<size_t>(example)].fileName);
}

// The prediction alone on fluids built beforehand.
void BM_Predict(benchmark::State& state) {
    const int example = static_cast<int>(state.range(0));
    const morvek::CaseInputs in = Example(example);
    const morvek::FluidModel fluid(in);
    const morvek::RelPermModel relPerm(in);
    const morvek::Reservoir reservoir = morvek::Reservoir::Of(in);
    size_t steps = 0;
    for (auto _ : state) {
        const morvek::PredictionResult r = morvek::Predict(fluid, relPerm, reservoir);
        steps = r.steps.size();
        benchmark::DoNotOptimize(r.steps.data());
    }
    Label(state, example);
    state.counters["steps"] = static_cast<double>(steps);
}
BENCHMARK(BM_Predict)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// predict(inputs): the fluids of the case, then the prediction, no report.
void BM_PredictCase(benchmark::State& state) {
    const int example = static_cast<int>(state.range(0));
    const morvek::CaseInputs in = Example(example);
    size_t allocations = 0;
    for (auto _ : state) {
        const size_t before = AllocationCount();
        const morvek::PredictionResult r = morvek::PredictCase(in);
        allocations = AllocationCount() - before;
        benchmark::DoNotOptimize(r.steps.data());
    }
    Label(state, example);
    state.counters["allocations"] = static_cast<double>(allocations);
}
BENCHMARK(BM_PredictCase)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// The same for Nordfeld on its laboratory tables (examples/tabellen) with rock
// and water compressibility: the tables' branch of the fluid and
// relative-permeability models instead of the correlations.
void BM_PredictCaseWithTables(benchmark::State& state) {
    morvek::CaseInputs in = Example(0);
    std::vector<std::string> problems;
    morvek::LabPvtTable pvt;
    morvek::LabRelPermTable relPerm;
    morvek::ReadPvtTableFile(MORVEK_SOURCE_DIR "/examples/tabellen/nordfeld-pvt.txt", pvt,
                             problems);
    morvek::ReadRelPermTableFile(MORVEK_SOURCE_DIR "/examples/tabellen/nordfeld-relperm.txt",
                                 relPerm, problems);
    in.pvtTable = pvt;
    in.relPermTable = relPerm;
    in.poreCompressibilityPerBar = 5e-5f;
    in.waterCompressibilityPerBar = 4.5e-5f;
    size_t steps = 0;
    for (auto _ : state) {
        const morvek::PredictionResult r = morvek::PredictCase(in);
        steps = r.steps.size();
        benchmark::DoNotOptimize(r.steps.data());
    }
    state.counters["steps"] = static_cast<double>(steps);
}
BENCHMARK(BM_PredictCaseWithTables)->Unit(benchmark::kMicrosecond);

// The run of the dialog's OK without its questions: prediction, report lines
// and graph series.
void BM_PredictionWithReport(benchmark::State& state) {
    const int example = static_cast<int>(state.range(0));
    const morvek::CaseInputs in = Example(example);
    size_t lines = 0;
    for (auto _ : state) {
        const morvek::CaseRun run = morvek::RunCase(in, morvek::ResultKind::Prediction);
        lines = run.report.size();
        benchmark::DoNotOptimize(run.report.data());
    }
    Label(state, example);
    state.counters["report_lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_PredictionWithReport)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// Nordfeld varied uniformly in oil in place, gas cap, critical gas saturation
// and the gas end point, the same cases every time.
std::vector<morvek::CaseInputs> VariedNordfeld(size_t count) {
    const morvek::CaseInputs base = Example(0);
    std::mt19937_64 random(1);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::vector<morvek::CaseInputs> cases(count, base);
    for (morvek::CaseInputs& c : cases) {
        c.ooip1000m3 = 3000.0f + 4000.0f * unit(random);
        c.gasCapRatio = 0.5f * unit(random);
        c.criticalGasSaturation = 0.02f + 0.1f * unit(random);
        c.krgMax = 0.3f + 0.6f * unit(random);
    }
    return cases;
}

// Ten thousand varied cases on the number of threads given (0: every core).
void BM_PredictMany(benchmark::State& state) {
    const std::vector<morvek::CaseInputs> cases = VariedNordfeld(10000);
    const int threads = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const std::vector<morvek::PredictionResult> r = morvek::PredictMany(cases, {}, threads);
        benchmark::DoNotOptimize(r.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(cases.size()));
    state.counters["threads"] = morvek::ThreadCount(threads);
}
BENCHMARK(BM_PredictMany)->Arg(1)->Arg(2)->Arg(0)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
