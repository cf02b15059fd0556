// The forecast against time: thirty years in calendar months of Nordfeld at a
// plateau with wells that decline, above an infinite radial aquifer of van
// Everdingen and Hurst (superposition over every month); without the aquifer;
// and ten thousand samples of the forecast's uncertainty run on two threads.

#include <benchmark/benchmark.h>

#include <functional>
#include <string>

#include "ExampleCases.h"
#include "case/MorvekDoc.h"
#include "forecast/ForecastSweep.h"
#include "input/CaseRefusal.h"

namespace {

morvek::CaseInputs Nordfeld(bool aquifer) {
    CMorvekDoc doc;
    FillNordfeld(doc);
    morvek::CaseInputs in = doc.m_Inputs;
    in.forecastStartDate = 45658.0f;  // 2025-01-01
    in.forecastYears = 30.0f;
    in.oilRateTargetM3PerDay = 500.0f;
    in.productivityIndexM3PerDayBar = 8.0f;
    in.minBottomholePressureBar = 40.0f;
    in.abandonmentRateM3PerDay = 20.0f;
    if (aquifer) {
        in.aquiferModel = 4;  // van Everdingen-Hurst, radial, infinite
        in.reservoirRadiusM = 1200.0f;
        in.aquiferThicknessM = 15.0f;
        in.aquiferPorosity = 0.2f;
        in.aquiferPermeabilityMd = 50.0f;
        in.aquiferAngleDeg = 360.0f;
        in.aquiferCompressibilityPerBar = 1e-4f;
        in.waterViscosityCp = 0.5f;
    }
    return in;
}

void Forecast(benchmark::State& state, bool aquifer) {
    const morvek::CaseInputs in = Nordfeld(aquifer);
    size_t steps = 0;
    double we = 0;
    for (auto _ : state) {
        const morvek::ForecastResult r = morvek::ForecastCase(in);
        steps = r.steps.size();
        we = r.Last().we1000m3;
        benchmark::DoNotOptimize(r.steps.data());
    }
    state.counters["steps"] = static_cast<double>(steps);
    state.counters["we_1000m3"] = we;
}

void BM_Forecast30YearsVanEverdingenHurst(benchmark::State& state) {
    Forecast(state, true);
}
BENCHMARK(BM_Forecast30YearsVanEverdingenHurst)->Unit(benchmark::kMillisecond);

void BM_Forecast30YearsClosed(benchmark::State& state) {
    Forecast(state, false);
}
BENCHMARK(BM_Forecast30YearsClosed)->Unit(benchmark::kMillisecond);

// The uncertainty run as batch mode runs it: the dialog's checks on every
// sample, every CSV line made.
void BM_ForecastSweep10000(benchmark::State& state) {
    const morvek::CaseInputs base = Nordfeld(false);
    std::vector<morvek::Variation> variations;
    for (const char* text : {"m_OOIP=4000:6000", "productivity_index_m3_per_day_bar=4:12",
                             "m_KrgMax=0.4:0.8"}) {
        morvek::Variation v;
        std::string problem;
        if (morvek::ParseVariation(text, v, problem)) variations.push_back(v);
    }
    morvek::ForecastSweepOptions options;
    options.plan.samples = 10000;
    options.threads = static_cast<int>(state.range(0));
    options.check = RefusalOfCase;
    options.npByYears = {2030, 2040};
    const std::vector<morvek::ForecastOutcomeColumn> columns = morvek::ForecastOutcomeColumns(options);
    uint64_t failed = 0;
    for (auto _ : state) {
        size_t hash = 0;
        const morvek::ForecastSweepResult r =
            morvek::ForecastSweep(base, variations, options, [&](const morvek::ForecastSweepRow& row) {
                hash = hash * 1000003u ^ std::hash<std::string>()(morvek::ForecastSweepCsvLine(row, columns));
            });
        failed = r.failedCount;
        benchmark::DoNotOptimize(hash);
    }
    state.counters["failed"] = static_cast<double>(failed);
}
BENCHMARK(BM_ForecastSweep10000)->Arg(2)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
