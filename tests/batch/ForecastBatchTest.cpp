// The forecast against time in batch mode as a script uses it: the German
// report on stdout, one CSV line per step with exactly the documented
// columns, the graphs, the uncertainty run with the forecast as its run, and
// refusals that say what is wrong in German and write nothing.

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <sstream>

#include "TestSupport.h"
#include "base/CalendarDate.h"
#include "model/CaseFile.h"

namespace {

const std::string kNordfeld = SourcePath("examples/nordfeld.mvk");

std::vector<std::string> Args(const std::vector<std::string>& extra) {
    std::vector<std::string> args = {"--batch",
                                     kNordfeld,
                                     "--set",
                                     "forecast_start=2025-01-01",
                                     "--set",
                                     "forecast_years=30",
                                     "--set",
                                     "oil_rate_target_m3_per_day=400",
                                     "--set",
                                     "productivity_index_m3_per_day_bar=5",
                                     "--set",
                                     "min_bottomhole_pressure_bar=50",
                                     "--set",
                                     "abandonment_rate_m3_per_day=40"};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> out;
    std::stringstream in(line);
    std::string field;
    while (std::getline(in, field, ';')) out.push_back(field);
    return out;
}

double Number(const std::string& text) {
    double v = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    EXPECT_TRUE(r.ec == std::errc() && r.ptr == text.data() + text.size()) << text;
    return v;
}

TEST(ForecastBatch, WritesTheReportTheCsvAndTheGraphs) {
    TempDir dir;
    const std::string csv = dir.File("f.csv"), svg = dir.File("f.svg");
    const ProcessResult r =
        RunMorvek(Args({"--forecast", "--forecast-csv", csv, "--forecast-graph", svg}));
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    const std::vector<std::string> report = SplitLines(r.out);
    ASSERT_FALSE(report.empty());
    EXPECT_EQ(report.front(), "     MORVEK PROGNOSE ÜBER DIE ZEIT FELD: Nordfeld ");
    EXPECT_EQ(report.back(), "     Morvek Prognose abgeschlossen");
    EXPECT_NE(r.out.find("     Die Ölrate hat die Aufgaberate von 40 m3/d erreicht."),
              std::string::npos);
    // Labels padded to their column by characters, not bytes.
    EXPECT_NE(r.out.find("\n     Plateaurate Öl" + std::string(22, ' ') + "400.0 m3/d\n"),
              std::string::npos);
    EXPECT_NE(r.out.find("\n     Höchstes Gas-Öl-Verhältnis" + std::string(10, ' ') + "keines\n"),
              std::string::npos);
    EXPECT_FALSE(ShowsNanOrInf(r.out));

    const std::vector<std::string> lines = SplitLines(ReadBytes(csv));
    ASSERT_GT(lines.size(), 100u);
    EXPECT_EQ(lines[0],
              "date;days;pressure_bar;oil_rate_m3_per_day;gas_rate_1000sm3_per_day;"
              "water_rate_m3_per_day;np_1000m3;gp_mio_sm3;wp_1000m3;we_1000m3;gor_sm3_per_m3;"
              "water_cut");
    // Each line: a date and eleven numbers; Np the sum of rate x days; the
    // date the day the step ends on.
    double days = 0, np = 0, gp = 0;
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string> f = Fields(lines[i]);
        ASSERT_EQ(f.size(), 12u) << lines[i];
        const double end = Number(f[1]);
        np += Number(f[3]) * (end - days) / 1000.0;
        gp += Number(f[4]) * (end - days) / 1000.0;
        int32_t date = 0;
        ASSERT_TRUE(morvek::ParseIsoDate(f[0], date)) << f[0];
        EXPECT_EQ(date, 45658 + static_cast<int32_t>(std::floor(end + 1e-6))) << lines[i];
        EXPECT_NEAR(Number(f[6]), np, 1e-9 * std::max(1.0, np)) << lines[i];
        EXPECT_NEAR(Number(f[7]), gp, 1e-9 * std::max(1.0, gp)) << lines[i];
        EXPECT_EQ(f[5], "0");
        EXPECT_EQ(f[11], "0");
        days = end;
    }
    const std::string picture = ReadBytes(svg);
    EXPECT_NE(picture.find("Prognose über die Zeit"), std::string::npos);
    EXPECT_NE(picture.find("Gas-Öl-Verhältnis"), std::string::npos);
}

TEST(ForecastBatch, RefusesWhatMakesNoForecastInGermanAndWritesNothing) {
    TempDir dir;
    const std::string csv = dir.File("f.csv"), saved = dir.File("s.mvk");
    const std::string falling = dir.File("wc.txt");
    WriteBytes(falling, "Entölungsgrad Wasseranteil\n0 0\n10 0.4\n20 0.3\n");
    const struct {
        std::vector<std::string> extra;
        const char* said;
    } refused[] = {
        {{"--set", "oil_rate_target_m3_per_day=0"},
         "--forecast: Die Plateaurate Öl (oil_rate_target_m3_per_day) muß größer als 0 sein."},
        {{"--set", "min_bottomhole_pressure_bar=250"},
         "--forecast: Der Mindestsohlendruck (250 bar) muß unter dem Initialdruck (250 bar) "
         "liegen."},
        {{"--set", "abandonment_rate_m3_per_day=400"},
         "--forecast: Die Aufgaberate (400 m3/d) muß unter der Plateaurate (400 m3/d) liegen."},
        {{"--wasseranteil", falling}, "Zeile 4: Der Wasseranteil 0.3 bei 20 %"},
        {{"--set", "forecast_start=2025-13-01"}, "Bitte ein Datum als JJJJ-MM-TT"},
    };
    for (const auto& c : refused) {
        std::vector<std::string> extra = c.extra;
        extra.insert(extra.end(), {"--forecast", "--forecast-csv", csv, "--save", saved});
        const ProcessResult r = RunMorvek(Args(extra));
        EXPECT_EQ(r.exitStatus, 2) << c.said;
        EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_FALSE(FileExists(csv));
        EXPECT_FALSE(FileExists(saved));
    }
    // Options of the forecast without it.
    for (const std::vector<std::string>& alone :
         {std::vector<std::string>{"--forecast-csv", csv}, {"--forecast-graph", "g.png"},
          {"--np-by", "2030"}}) {
        const ProcessResult r = RunMorvek(Args(alone));
        EXPECT_EQ(r.exitStatus, 2);
        EXPECT_NE(r.err.find("verlangt --forecast"), std::string::npos) << r.err;
    }
}

TEST(ForecastBatch, SavesTheInputsAndTheWaterCutTableWithTheCase) {
    TempDir dir;
    const std::string table = dir.File("wc.txt"), saved = dir.File("s.mvk");
    WriteBytes(table, "RF WC\n0 0\n5 0.1\n20 0.6\n");
    const ProcessResult r = RunMorvek(Args({"--wasseranteil", table, "--save", saved}));
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    morvek::CaseInputs in;
    ASSERT_TRUE(DecodeCaseFile(ReadBytes(saved), in));
    EXPECT_EQ(in.forecastStartDate, 45658.0f);
    EXPECT_EQ(in.productivityIndexM3PerDayBar, 5.0f);
    ASSERT_TRUE(in.waterCutTable.has_value());
    EXPECT_EQ(in.waterCutTable->fileName, "wc.txt");
    // The saved case forecasts with water.
    const ProcessResult f = RunMorvek({"--batch", saved, "--forecast"});
    ASSERT_EQ(f.exitStatus, 0) << f.err;
    EXPECT_NE(f.out.find("Tabelle wc.txt (3 Zeilen)"), std::string::npos);
}

TEST(ForecastBatch, TheUncertaintyRunTakesTheForecastAsItsRun) {
    TempDir dir;
    const std::string csv = dir.File("s.csv"), summary = dir.File("s.txt"),
                      fan = dir.File("fan.svg");
    const ProcessResult r = RunMorvek(
        Args({"--forecast", "--vary", "productivity_index_m3_per_day_bar=3:8", "--vary",
              "m_OOIP=4000:6000", "--samples", "50", "--np-by", "2030,2040", "--sweep-csv", csv,
              "--sweep-summary", summary, "--fan-chart", fan}));
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    const std::vector<std::string> lines = SplitLines(ReadBytes(csv));
    ASSERT_EQ(lines.size(), 51u);
    EXPECT_EQ(lines[0],
              "sample;productivity_index_m3_per_day_bar;ooip_1000m3;np_at_abandonment_1000m3;"
              "abandonment_date;plateau_end_date;np_by_2030;np_by_2040");
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string> f = Fields(lines[i]);
        ASSERT_EQ(f.size(), 8u) << lines[i];
        int32_t abandoned = 0, plateauEnd = 0;
        ASSERT_TRUE(morvek::ParseIsoDate(f[4], abandoned)) << lines[i];
        ASSERT_TRUE(morvek::ParseIsoDate(f[5], plateauEnd)) << lines[i];
        EXPECT_LT(plateauEnd, abandoned);
        EXPECT_LE(Number(f[6]), Number(f[7]));
        EXPECT_LE(Number(f[7]), Number(f[3]) + 1e-9);
    }
    const std::string text = ReadBytes(summary);
    EXPECT_NE(text.find("Unsicherheitsanalyse der Prognose über die Zeit, Feld: Nordfeld"),
              std::string::npos);
    EXPECT_NE(text.find("Kum. Ölproduktion bis Ende 2040 (1000 m3)"), std::string::npos);
    EXPECT_NE(ReadBytes(fan).find("Fächer der Prognose"), std::string::npos);
    // The pressure run's pictures are not the forecast's.
    const ProcessResult t = RunMorvek(
        Args({"--forecast", "--vary", "m_OOIP=4000:6000", "--tornado", dir.File("t.png")}));
    EXPECT_EQ(t.exitStatus, 2);
}

// As the prediction's uncertainty run: a run none of whose samples has a
// result is no success (exit 3), and still writes the forecast's report and
// every file; a summary nobody receives is a failed write.
TEST(ForecastBatch, AnUncertaintyRunWithoutResultsOrReaderIsNoSuccess) {
    TempDir dir;
    const std::string csv = dir.File("s.csv"), report = dir.File("b.txt");
    // A bottom-hole pressure above the initial pressure refuses every sample;
    // the case's own forecast (50 bar) has its result.
    ProcessResult r = RunMorvek(Args({"--forecast", "--vary", "min_bottomhole_pressure_bar=260:300",
                                      "--samples", "10", "--sweep-csv", csv, "--report", report}));
    EXPECT_EQ(r.exitStatus, 3) << r.err;
    EXPECT_NE(r.err.find("Fehlgeschlagene Stichproben: 10"), std::string::npos) << r.err;
    EXPECT_EQ(SplitLines(ReadBytes(csv)).size(), 11u);
    EXPECT_NE(ReadBytes(report).find("Nordfeld"), std::string::npos);
    // One sample with a result is a result.
    r = RunMorvek(Args({"--forecast", "--vary", "min_bottomhole_pressure_bar=40:260",
                        "--samples", "10", "--report", report}));
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    std::vector<std::string> args = Args({"--forecast", "--vary", "m_OOIP=4000:6000",
                                          "--samples", "5", "--report", report});
    r = RunShell(MorvekCommand(args) + " 2>/dev/full");
    EXPECT_EQ(r.exitStatus, 1);
}

}  // namespace
