// Batch mode's production history and material balance with water influx,
// as a script runs them: --historie, --mb-fit and its outputs on Dake's
// water-drive case (examples/dake1978.mvk), and the refusals.
#include <gtest/gtest.h>

#include <cstdio>

#include "TestSupport.h"
#include "case/MorvekDoc.h"
#include "model/CaseFile.h"

namespace {

const std::string kDake = SourcePath("examples/dake1978.mvk");
const std::string kDakeHistory = SourcePath("examples/dake1978-historie.txt");
constexpr double kDakeN1000m3 = 312e6 * 0.158987294928 / 1000;  // Dake's 312 MMstb

// The fitted value of an input in a --mb-fit-csv file.
double Fitted(const std::string& csv, const std::string& name) {
    const size_t at = csv.find("\n" + name + ";");
    if (at == std::string::npos) return -1;
    const size_t start = csv.find(';', at + 1) + 1;
    const size_t fitted = csv.find(';', start) + 1;
    return std::stod(csv.substr(fitted, csv.find(';', fitted) - fitted));
}

TEST(BatchWaterDrive, FitsDakesOilInPlaceAndAquiferWithTheirStatistics) {
    TempDir dir;
    const std::string csv = dir.File("fit.csv"), history = dir.File("historie.csv"),
                      saved = dir.File("angepasst.mvk"), report = dir.File("mb.txt");
    const ProcessResult r = RunMorvek(
        {"--batch", kDake, "--mb-fit", "ooip_1000m3,m_Aquiferradius", "--mb-fit-csv", csv,
         "--mb-report", report, "--history-csv", history, "--save", saved, "--report",
         dir.File("bericht.txt")});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    const std::string fit = ReadBytes(csv);
    EXPECT_EQ(fit.substr(0, fit.find('\n')), "name;start;fitted;std_error;ci95_low;ci95_high");
    // Named as given on the command line; Dake's N and reD = 5 within 1 %.
    EXPECT_NEAR(Fitted(fit, "ooip_1000m3") / kDakeN1000m3, 1.0, 0.01) << fit;
    EXPECT_NEAR(Fitted(fit, "m_Aquiferradius") / 14020.8, 1.0, 0.01) << fit;
    EXPECT_NE(ReadBytes(report).find("Materialbilanz mit Wasserzufluß: Dake 1978"),
              std::string::npos);
    const std::string rows = ReadBytes(history);
    EXPECT_EQ(rows.substr(0, rows.find('\n')),
              "days;pressure_bar;computed_pressure_bar;np_1000m3;f_1000m3;eo;eg;efw;et;"
              "we_1000m3;ddi;gdi;cdi;wdi;sum");
    // The saved case holds the fitted values, its history and aquifer.
    morvek::CaseInputs back;
    ASSERT_TRUE(DecodeCaseFile(ReadBytes(saved), back));
    EXPECT_NEAR(back.ooip1000m3 / kDakeN1000m3, 1.0, 0.01);
    ASSERT_TRUE(back.history.has_value());
    EXPECT_EQ(back.history->rows.size(), 11u);
    EXPECT_EQ(back.aquiferModel, 4);
}

TEST(BatchWaterDrive, DrawsTheThreeDiagnosticGraphs) {
    TempDir dir;
    const ProcessResult r =
        RunMorvek({"--batch", kDake, "--mb-plots", dir.File("dake.svg"), "--report",
                   dir.File("bericht.txt")});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    for (const char* name : {"dake-havlena-odeh.svg", "dake-campbell.svg",
                             "dake-antriebsindizes.svg"}) {
        const std::string svg = ReadBytes(dir.File(name));
        EXPECT_NE(svg.find("<svg"), std::string::npos) << name;
    }
    EXPECT_NE(ReadBytes(dir.File("dake-havlena-odeh.svg")).find("Havlena-Odeh mit Wasserzufluß"),
              std::string::npos);
}

TEST(BatchWaterDrive, ReadsAHistoryAndRefusesABadOneWithItsLineNumber) {
    TempDir dir;
    const std::string saved = dir.File("mit.mvk");
    ProcessResult r = RunMorvek({"--batch", SourcePath("examples/nordfeld.mvk"), "--historie",
                                 kDakeHistory, "--save", saved, "--report",
                                 dir.File("bericht.txt")});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    morvek::CaseInputs back;
    ASSERT_TRUE(DecodeCaseFile(ReadBytes(saved), back));
    ASSERT_TRUE(back.history.has_value());
    EXPECT_EQ(back.history->fileName, "dake1978-historie.txt");

    const std::string bad = dir.File("schlecht.txt");
    FILE* f = std::fopen(bad.c_str(), "w");
    std::fputs("days;pressure_bar;np_1000m3;gp_mio_sm3\n0;250;0;0\n365;240;100;9\n300;230;150;12\n",
               f);
    std::fclose(f);
    const std::string notSaved = dir.File("nicht.mvk");
    r = RunMorvek({"--batch", kDake, "--historie", bad, "--save", notSaved});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_NE(r.err.find("Zeile 4: Die Zeit 300 Tage liegt nicht nach"), std::string::npos)
        << r.err;
    EXPECT_TRUE(ReadBytes(notSaved).empty());
    r = RunMorvek({"--batch", kDake, "--historie", dir.File("fehlt.txt")});
    EXPECT_EQ(r.exitStatus, 1);
}

TEST(BatchWaterDrive, RefusesWhatItCannotDo) {
    TempDir dir;
    // No history.
    ProcessResult r = RunMorvek({"--batch", SourcePath("examples/nordfeld.mvk"), "--mb-fit",
                                 "ooip_1000m3"});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_NE(r.err.find("keine Produktionshistorie"), std::string::npos) << r.err;
    // Names that cannot be fitted, outputs without a fit, an unknown objective.
    r = RunMorvek({"--batch", kDake, "--mb-fit", "m_Swi"});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_NE(r.err.find("--mb-fit erwartet Namen aus ooip_1000m3"), std::string::npos) << r.err;
    r = RunMorvek({"--batch", kDake, "--mb-fit-csv", dir.File("x.csv")});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_NE(r.err.find("--mb-fit-csv verlangt --mb-fit"), std::string::npos);
    r = RunMorvek({"--batch", kDake, "--mb-fit", "ooip_1000m3", "--mb-objective", "rate"});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_NE(r.err.find("--mb-objective erwartet f oder pressure"), std::string::npos);
    // An aquifer whose inputs do not make a model: refused, nothing saved.
    const std::string notSaved = dir.File("nicht.mvk");
    r = RunMorvek({"--batch", kDake, "--set", "water_viscosity_cp=0", "--mb-fit", "ooip_1000m3",
                   "--save", notSaved});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_NE(r.err.find("fehlt die Wasserviskosität"), std::string::npos) << r.err;
    EXPECT_TRUE(ReadBytes(notSaved).empty());
    // --set takes the aquifer's inputs by name, checked against their range.
    r = RunMorvek({"--batch", kDake, "--set", "aquifer_model=fetkovich", "--report",
                   dir.File("b.txt")});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_NE(r.err.find("fetkovich_radial (2)"), std::string::npos) << r.err;
    r = RunMorvek({"--batch", kDake, "--set", "m_AquiferPorositaet=1.5", "--report",
                   dir.File("b.txt")});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_NE(r.err.find("zwischen 0 und 1"), std::string::npos) << r.err;
}

}  // namespace
