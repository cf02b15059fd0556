// The material balance with water influx: the influx of a van Everdingen-Hurst
// aquifer over a 400-step history (target: at most 5 ms) and a two-parameter
// regression (N and the aquifer's radius) on a 40-row history (target: at
// most 0.5 s). The history is Dake's water-drive case (1978, exercise 9.2)
// taken every quarter, its annual values interpolated.

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "model/LabTables.h"
#include "waterdrive/Aquifer.h"
#include "waterdrive/HistoryFile.h"
#include "waterdrive/MaterialBalance.h"

namespace {

morvek::Aquifer DakeAquifer(morvek::AquiferModel model, double reD) {
    morvek::Aquifer a;
    a.model = model;
    a.reservoirRadiusM = 2804.16;
    a.aquiferRadiusM = reD * 2804.16;
    a.thicknessM = 30.48;
    a.permeabilityMd = 200;
    a.porosity = 0.25;
    a.waterViscosityCp = 0.55;
    a.compressibilityPerBar = 1.0152642e-4;
    a.angleDeg = 140;
    return a;
}

// Monthly for 33 years: the pressure falls by 10 % and recovers a little.
void History(std::vector<double>& days, std::vector<double>& pressures, int steps) {
    for (int i = 1; i <= steps; ++i) {
        days.push_back(30.4375 * i);
        pressures.push_back(250 - 25 * std::sin(i * 0.01) - 0.02 * i);
    }
}

void BM_InfluxVanEverdingenHurst400Steps(benchmark::State& state) {
    const double reD = static_cast<double>(state.range(0));
    const morvek::Aquifer a = DakeAquifer(morvek::AquiferModel::VehRadial, reD);
    std::vector<double> days, pressures;
    History(days, pressures, 400);
    std::vector<double> we;
    for (auto _ : state) {
        we = morvek::CumulativeInflux1000m3(a, 250, days, pressures);
        benchmark::DoNotOptimize(we.data());
    }
    state.counters["we_last_1000m3"] = we.back();
}
// 0: infinite; 5: finite (its table is filled in the first iteration).
BENCHMARK(BM_InfluxVanEverdingenHurst400Steps)->Arg(0)->Arg(5)->Unit(benchmark::kMillisecond);

morvek::CaseInputs DakeQuarterly() {
    morvek::CaseInputs in;
    in.fieldName = "Dake 1978";
    in.ooip1000m3 = 40000;
    in.initialPressureBar = 188.9163f;
    in.bubblePointPressureBar = 188.9163f;
    in.temperatureC = 80;
    in.apiGravity = 35;
    in.connateWaterSaturation = 0.05f;
    std::vector<std::string> problems;
    morvek::LabPvtTable pvt;
    morvek::ReadPvtTableFile(MORVEK_SOURCE_DIR "/examples/tabellen/dake1978-pvt.txt", pvt,
                             problems);
    in.pvtTable = pvt;
    morvek::ProductionHistory annual;
    morvek::ReadHistoryFile(MORVEK_SOURCE_DIR "/examples/dake1978-historie.txt", annual, problems);
    morvek::ProductionHistory quarterly = annual;
    quarterly.rows.clear();
    for (size_t y = 0; y + 1 < annual.rows.size(); ++y) {
        const auto a = annual.rows[y].Numbers(), b = annual.rows[y + 1].Numbers();
        for (int q = 1; q <= 4; ++q) {
            std::array<float, morvek::HistoryRow::kColumns> v{};
            for (size_t c = 0; c < v.size(); ++c)
                v[c] = static_cast<float>(a[c] + (b[c] - a[c]) * q / 4.0);
            quarterly.rows.push_back(morvek::HistoryRow::FromNumbers(v));
        }
    }
    in.history = quarterly;  // 40 rows
    const morvek::Aquifer a = DakeAquifer(morvek::AquiferModel::VehRadial, 8);
    in.aquiferModel = static_cast<int32_t>(a.model);
    in.reservoirRadiusM = static_cast<float>(a.reservoirRadiusM);
    in.aquiferRadiusM = static_cast<float>(a.aquiferRadiusM);
    in.aquiferThicknessM = static_cast<float>(a.thicknessM);
    in.aquiferPermeabilityMd = static_cast<float>(a.permeabilityMd);
    in.aquiferPorosity = static_cast<float>(a.porosity);
    in.waterViscosityCp = static_cast<float>(a.waterViscosityCp);
    in.aquiferCompressibilityPerBar = static_cast<float>(a.compressibilityPerBar);
    in.aquiferAngleDeg = static_cast<float>(a.angleDeg);
    return in;
}

void BM_MbFitVanEverdingenHurst40Rows(benchmark::State& state) {
    const morvek::CaseInputs in = DakeQuarterly();
    morvek::MbFitOptions options;
    options.parameters = {{"ooip_1000m3", {}, {}}, {"aquifer_radius_m", {}, {}}};
    options.objective = state.range(0) == 0 ? morvek::MbObjective::F : morvek::MbObjective::Pressure;
    morvek::MatchResult r;
    for (auto _ : state) {
        r = morvek::MbFit(in, options);
        benchmark::DoNotOptimize(r.inputs.data());
    }
    state.SetLabel(r.Converged() ? "converged" : "NOT converged: " + r.message);
    state.counters["rows"] = r.residualCount;
    state.counters["balances"] = r.predictions;
    state.counters["iterations"] = r.iterations;
}
// 0: objective f; 1: objective pressure.
BENCHMARK(BM_MbFitVanEverdingenHurst40Rows)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
