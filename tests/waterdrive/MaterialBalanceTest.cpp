// The material balance with water influx on a published water-drive case:
// Dake, Fundamentals of Reservoir Engineering (1978), exercise 9.2 (also the
// water-drive example of the Rmbal package's black-oil vignette). A
// saturated oil at 2740 psia with a 140 degree sector of a radial aquifer
// (re = 9200 ft, reD = 5, h = 100 ft, k = 200 mD, phi = 0.25, mu = 0.55 cP,
// ct = 7e-6 1/psi) and ten years of pressure, Np and Rp. Dake finds that only
// the van Everdingen-Hurst aquifer of reD = 5 puts the Havlena-Odeh points
// F/Eo against We/Eo on a line of slope 1, with N = 312 MMstb (fig. 9.15).
// The PVT table and the history are entered as the files a user would write
// (examples/tabellen/dake1978-pvt.txt, examples/dake1978-historie.txt, the
// book's field units converted); Dake's balance leaves the rock and connate
// water out (F/Eo), so the case has cf = cw = 0.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "model/LabTables.h"
#include "waterdrive/Aquifer.h"
#include "waterdrive/HistoryFile.h"
#include "waterdrive/MaterialBalance.h"
#include "waterdrive/WaterDriveGraphs.h"
#include "waterdrive/WaterDriveReport.h"
#include "match/MatchReport.h"
#include <algorithm>

namespace morvek {
namespace {

constexpr double kFt = 0.3048;
constexpr double kPsi = 0.0689475729;
constexpr double kDakeN1000m3 = 312e6 * 0.158987294928 / 1000;  // 312 MMstb

std::string Source(const char* path) {
    return std::string(MORVEK_SOURCE_DIR) + "/" + path;
}

CaseInputs DakeCase() {
    CaseInputs in;
    in.fieldName = "Dake 1978, Übung 9.2";
    in.ooip1000m3 = 40000;  // a start of the regressions
    in.initialPressureBar = 188.9163f;
    in.bubblePointPressureBar = 188.9163f;
    in.temperatureC = 80;
    in.apiGravity = 35;
    in.connateWaterSaturation = 0.05f;
    std::vector<std::string> problems;
    LabPvtTable pvt;
    EXPECT_EQ(ReadPvtTableFile(Source("examples/tabellen/dake1978-pvt.txt"), pvt, problems),
              TableReadStatus::Read);
    in.pvtTable = pvt;
    ProductionHistory history;
    EXPECT_EQ(ReadHistoryFile(Source("examples/dake1978-historie.txt"), history, problems),
              TableReadStatus::Read);
    in.history = history;
    in.aquiferModel = static_cast<int32_t>(AquiferModel::VehRadial);
    in.reservoirRadiusM = static_cast<float>(9200 * kFt);
    in.aquiferRadiusM = static_cast<float>(5 * 9200 * kFt);
    in.aquiferThicknessM = static_cast<float>(100 * kFt);
    in.aquiferPermeabilityMd = 200;
    in.aquiferPorosity = 0.25f;
    in.waterViscosityCp = 0.55f;
    in.aquiferCompressibilityPerBar = static_cast<float>(7e-6 / kPsi);
    in.aquiferAngleDeg = 140;
    return in;
}

MbFitOptions Fit(std::initializer_list<const char*> names, MbObjective objective) {
    MbFitOptions o;
    for (const char* n : names) o.parameters.push_back({n, std::nullopt, std::nullopt});
    o.objective = objective;
    return o;
}

const FittedInput& Fitted(const MatchResult& r, const char* record) {
    for (const FittedInput& f : r.inputs)
        if (f.name == record) return f;
    static FittedInput none;
    ADD_FAILURE() << record;
    return none;
}

TEST(MaterialBalance, DakeWaterDriveGivesHisOilInPlace) {
    const CaseInputs in = DakeCase();
    const MatchResult r = MbFit(in, Fit({"ooip_1000m3"}, MbObjective::F));
    ASSERT_TRUE(r.Converged()) << r.message;
    // Dake reads N off a hand-drawn straight line through ten points; his
    // We comes from WD curves read by eye. 1 %.
    EXPECT_NEAR(Fitted(r, "ooip_1000m3").fitted / kDakeN1000m3, 1.0, 0.01);
    EXPECT_TRUE(Fitted(r, "ooip_1000m3").hasStatistics);
    EXPECT_LT(r.rmsAfter, r.rmsBefore);
}

TEST(MaterialBalance, DakeWaterDriveGivesTheAquiferSizeToo) {
    CaseInputs in = DakeCase();
    in.aquiferRadiusM = static_cast<float>(8 * 9200 * kFt);  // start from reD = 8
    const MatchResult r = MbFit(in, Fit({"ooip_1000m3", "aquifer_radius_m"}, MbObjective::F));
    ASSERT_TRUE(r.Converged()) << r.message;
    EXPECT_NEAR(Fitted(r, "ooip_1000m3").fitted / kDakeN1000m3, 1.0, 0.01);
    EXPECT_NEAR(Fitted(r, "aquifer_radius_m").fitted / (5 * 9200 * kFt), 1.0, 0.01);
    ASSERT_EQ(r.correlation.size(), 2u);
}

TEST(MaterialBalance, HavlenaOdehPointsLieOnSlopeOneWithTheRightAquifer) {
    CaseInputs in = DakeCase();
    in.ooip1000m3 = static_cast<float>(kDakeN1000m3);
    const HistoryBalance b = BalanceOfHistory(in);
    ASSERT_EQ(b.problem, "");
    ASSERT_EQ(b.rows.size(), 10u);
    EXPECT_EQ(b.initialRows, 1);
    // F/Et = N + We/Et: slope 1 and intercept N by least squares.
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const HistoryBalanceRow& r : b.rows) {
        const double x = r.we1000m3 / r.et, y = r.f1000m3 / r.et;
        sx += x;
        sy += y;
        sxx += x * x;
        sxy += x * y;
    }
    const double n = b.rows.size();
    const double slope = (n * sxy - sx * sy) / (n * sxx - sx * sx);
    EXPECT_NEAR(slope, 1.0, 0.05);
    EXPECT_NEAR((sy - slope * sx) / n / kDakeN1000m3, 1.0, 0.05);
    // The drive indices add up to about 1 where the balance closes.
    for (const HistoryBalanceRow& r : b.rows) {
        ASSERT_TRUE(r.hasIndices);
        EXPECT_NEAR(r.ddi + r.gdi + r.cdi + r.wdi, r.sum, 1e-12);
        EXPECT_NEAR(r.sum, 1.0, 0.05) << r.days;
        EXPECT_GT(r.wdi, 0.0);
        EXPECT_EQ(r.gdi, 0.0);  // no gas cap
    }
}

TEST(MaterialBalance, LeavingTheAquiferOutOverstatesN) {
    CaseInputs in = DakeCase();
    const MatchResult with = MbFit(in, Fit({"ooip_1000m3"}, MbObjective::F));
    in.aquiferModel = 0;
    const MatchResult without = MbFit(in, Fit({"ooip_1000m3"}, MbObjective::F));
    ASSERT_TRUE(with.Converged() && without.Converged());
    EXPECT_GT(Fitted(without, "ooip_1000m3").fitted, 1.3 * Fitted(with, "ooip_1000m3").fitted);
    // Campbell: F/Et rises with F without the aquifer (influx read as oil).
    in.ooip1000m3 = Fitted(without, "ooip_1000m3").stored;
    const HistoryBalance b = BalanceOfHistory(in);
    ASSERT_EQ(b.problem, "");
    const HistoryBalanceRow& first = b.rows.front();
    const HistoryBalanceRow& last = b.rows.back();
    // Dake's fig. 9.15 without influx: from about 450 to 540 MMstb.
    EXPECT_GT(last.f1000m3 / last.et, 1.15 * first.f1000m3 / first.et);
    for (size_t i = 1; i < b.rows.size(); ++i)
        EXPECT_GT(b.rows[i].f1000m3, b.rows[i - 1].f1000m3);
    EXPECT_EQ(last.we1000m3, 0.0);
}

TEST(MaterialBalance, PressureObjectiveSolvesTheBalanceForEachRow) {
    CaseInputs in = DakeCase();
    in.ooip1000m3 = static_cast<float>(kDakeN1000m3);
    const HistoryBalance b = BalanceOfHistory(in, {}, true);
    ASSERT_EQ(b.problem, "");
    EXPECT_EQ(b.unsolvedRows, 0);
    for (const HistoryBalanceRow& r : b.rows) {
        // The balance closes at the computed pressure...
        EXPECT_NEAR(r.f1000m3, in.ooip1000m3 * r.et + r.we1000m3, 1e-6 * r.f1000m3);
        // ... which lies near the measured one for Dake's N and aquifer.
        EXPECT_NEAR(r.pressureBar, r.measuredPressureBar, 0.03 * r.measuredPressureBar) << r.days;
    }
    const MatchResult fit = MbFit(DakeCase(), Fit({"ooip_1000m3"}, MbObjective::Pressure));
    ASSERT_TRUE(fit.Converged()) << fit.message;
    EXPECT_NEAR(Fitted(fit, "ooip_1000m3").fitted / kDakeN1000m3, 1.0, 0.02);
    ASSERT_EQ(fit.rowsAfter.size(), 10u);
}

TEST(MaterialBalance, RefusesWhatCannotBeFitted) {
    CaseInputs in = DakeCase();
    EXPECT_NE(CheckMbFit(in, Fit({"m_Swi"}, MbObjective::F)).find("kann nicht angepaßt werden"),
              std::string::npos);
    EXPECT_NE(CheckMbFit(in, Fit({"ooip_1000m3", "m_OOIP"}, MbObjective::F)).find("zweimal"),
              std::string::npos);
    in.aquiferRadiusM = 0;  // infinite: no radius to fit
    EXPECT_NE(CheckMbFit(in, Fit({"aquifer_radius_m"}, MbObjective::F)).find("unendlich"),
              std::string::npos);
    in.aquiferModel = static_cast<int32_t>(AquiferModel::Pot);
    in.aquiferConstantM3PerBar = 1000;
    EXPECT_NE(CheckMbFit(in, Fit({"aquifer_permeability_md"}, MbObjective::F)).find("Topf"),
              std::string::npos);
    in.history.reset();
    EXPECT_EQ(CheckMbFit(in, Fit({"ooip_1000m3"}, MbObjective::F)),
              "Der Fall hat keine Produktionshistorie.");
    const MatchResult refused = MbFit(in, Fit({"ooip_1000m3"}, MbObjective::F));
    EXPECT_EQ(refused.status, MatchStatus::Refused);
    EXPECT_TRUE(refused.fittedInputs == in);
}

TEST(MaterialBalance, ReportAndCsvNameTheFitAsGiven) {
    const CaseInputs in = DakeCase();
    MbFitOptions options = Fit({"m_OOIP", "aquifer_constant_m3_per_bar"}, MbObjective::F);
    const MatchResult r = MbFit(in, options);
    ASSERT_TRUE(r.Converged()) << r.message;
    // The columns of --match-csv, one line per input as named on the command line.
    const std::string csv = MatchCsvText(r);
    EXPECT_EQ(csv.substr(0, csv.find('\n')), "name;start;fitted;std_error;ci95_low;ci95_high");
    EXPECT_NE(csv.find("\nm_OOIP;40000;"), std::string::npos) << csv;
    EXPECT_NE(csv.find("\naquifer_constant_m3_per_bar;"), std::string::npos) << csv;
    const std::vector<std::string> lines = MbFitSummaryLines(r, in, MbObjective::F, in.fieldName);
    ASSERT_GT(lines.size(), 10u);
    EXPECT_EQ(lines[0], "Materialbilanz mit Wasserzufluß: Dake 1978, Übung 9.2");
    EXPECT_NE(lines[1].find("van Everdingen-Hurst, radial"), std::string::npos);
    EXPECT_NE(lines[1].find("ra/re = 5"), std::string::npos) << lines[1];

    CaseInputs fitted = r.fittedInputs;
    const HistoryBalance measured = BalanceOfHistory(fitted);
    const HistoryBalance computed = BalanceOfHistory(fitted, {}, true);
    const std::string history = HistoryCsvText(measured, computed);
    EXPECT_EQ(history.substr(0, history.find('\n')),
              "days;pressure_bar;computed_pressure_bar;np_1000m3;f_1000m3;eo;eg;efw;et;we_1000m3;"
              "ddi;gdi;cdi;wdi;sum");
    EXPECT_EQ(std::count(history.begin(), history.end(), '\n'), 11);
    EXPECT_NE(history.find("\n365;172.3689;"), std::string::npos) << history;
}

TEST(MaterialBalance, DiagnosticGraphsShowTheRowsAndTheLines) {
    CaseInputs in = DakeCase();
    in.ooip1000m3 = static_cast<float>(kDakeN1000m3);
    const HistoryBalance b = BalanceOfHistory(in);
    const GraphSeries ho = HavlenaOdehInfluxGraph(b);
    ASSERT_EQ(ho.measuredPoints, 10);
    ASSERT_EQ(ho.curvePoints, 2);
    // The line of slope 1 through N of the case.
    EXPECT_FLOAT_EQ(ho.y1[0], in.ooip1000m3);
    EXPECT_NEAR(ho.y1[1] - ho.y1[0], ho.x[1] - ho.x[0], 1e-3 * ho.y1[1]);
    for (int i = 0; i < ho.measuredPoints; ++i) {
        const HistoryBalanceRow& r = b.rows[static_cast<size_t>(i)];
        EXPECT_FLOAT_EQ(ho.measuredX[i], static_cast<float>(r.we1000m3 / r.et));
        EXPECT_FLOAT_EQ(ho.measuredY[i], static_cast<float>(r.f1000m3 / r.et));
    }
    const GraphSeries campbell = CampbellGraph(b);
    EXPECT_EQ(campbell.measuredPoints, 10);
    EXPECT_FLOAT_EQ(campbell.measuredX[9], static_cast<float>(b.rows[9].f1000m3));
    const GraphSeries drive = HistoryDriveIndexGraph(b);
    EXPECT_EQ(drive.curvePoints, 10);
    EXPECT_EQ(drive.measuredGorPoints, 10);
    EXPECT_FLOAT_EQ(drive.x[0], 365.0f);
    EXPECT_FLOAT_EQ(drive.measuredGorY[4], static_cast<float>(b.rows[4].wdi));
    EXPECT_FLOAT_EQ(drive.measuredY[4], static_cast<float>(b.rows[4].sum));
    const WaterDrivePlotNames names = WaterDrivePlotFiles("bilder/dake.svg");
    EXPECT_EQ(names.havlenaOdeh, "bilder/dake-havlena-odeh.svg");
    EXPECT_EQ(WaterDrivePlotFiles("bilder.v2/dake").campbell, "bilder.v2/dake-campbell.png");
}

}  // namespace
}  // namespace morvek
