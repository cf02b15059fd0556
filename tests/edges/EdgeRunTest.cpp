// Inputs at the edges of what the data-entry dialog accepts, one changed at a
// time from the Nordfeld example (and a few together), through every result
// kind and every correlation: each run finishes with a report, prints no
// "nan" or "inf", hands the graph only finite values, and names a quantity it
// cannot compute where, and only where, a correlation has no value.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "EdgeRun.h"
#include "base/Format.h"

namespace {

enum Component { H2S, CO2, N2, C1, C10 = 14 };

// Correlations (bits for m_Methode 0..3) whose runs must name a quantity they
// cannot compute.
constexpr unsigned kNone = 0x0, kAll = 0xF;
constexpr unsigned kGlasoe = 0x1, kVasquezBeggs = 0x2, kStanding = 0x4, kKartoatmodjo = 0x8;

struct EdgeCase {
    const char* what;
    void (*change)(CMorvekDoc&);
    unsigned noResultDepletion;  // the relative-permeability table always has its numbers
    unsigned noResultPvt;
    Answer answer = Answer::No;  // to the oil-gravity and calibration questions
    // The dialog refuses the input as physically impossible: the OK checks
    // say so, and the run without them must still finish.
    bool refused = false;
};

const char* NameOf(RunKind kind) {
    switch (kind) {
        case RunKind::Depletion:
            return "depletion";
        case RunKind::PvtTable:
            return "PVT table";
        case RunKind::RelPerm:
            return "relative permeabilities";
    }
    return "";
}

void ExpectEveryRunFinishes(const std::vector<EdgeCase>& cases) {
    for (const EdgeCase& c : cases) {
        for (RunKind kind : {RunKind::Depletion, RunKind::PvtTable, RunKind::RelPerm}) {
            for (int methode = 0; methode < 4; ++methode) {
                SCOPED_TRACE(Format("%s, %s, m_Methode %d, answer %s", c.what, NameOf(kind),
                                    methode, c.answer == Answer::Yes ? "ja" : "nein"));
                if (c.refused) {
                    std::unique_ptr<EdgeRun> checked = RunEdge(c.change, kind, methode, c.answer);
                    EXPECT_FALSE(checked->accepted);
                    ASSERT_EQ(checked->checks.Texts().size(), 1u);
                    EXPECT_NE(checked->checks.Texts()[0].find("Bitte einen Wert "),
                              std::string::npos)
                        << checked->checks.Texts()[0];
                }
                std::unique_ptr<EdgeRun> run =
                    RunEdge(c.change, kind, methode, c.answer,
                            c.refused ? Checks::Skip : Checks::Run);
                ExpectFinishedRun(*run, kind);
                const unsigned mask = kind == RunKind::Depletion  ? c.noResultDepletion
                                      : kind == RunKind::PvtTable ? c.noResultPvt
                                                                  : kNone;
                EXPECT_EQ(HasNoResultLine(run->doc), (mask >> methode & 1u) != 0);
            }
        }
    }
}

void PureGas(CMorvekDoc& doc, int component) {
    doc.m_Gas.fill(0.0f);
    doc.m_Gas[component] = 100.0f;
}

std::vector<std::string> MeasuredRows(int count) {
    std::vector<std::string> rows;
    for (int i = 0; i < count; ++i)
        rows.push_back(Format("%d %g %d", 10 * i, 200.0 - 0.5 * i, 90 + i));
    return rows;
}

TEST(EdgeRuns, TemperaturesOfMinus50And300CelsiusFinish) {
    // Below 0 deg F the dead-oil viscosity (and Glasoe's Rs) have no value.
    ExpectEveryRunFinishes({
        {"-50 C", [](CMorvekDoc& d) { d.m_Temperatur = -50.0f; }, kAll, kAll},
        {"300 C", [](CMorvekDoc& d) { d.m_Temperatur = 300.0f; }, kNone, kNone},
    });
}

TEST(EdgeRuns, ApiGravitiesOf9Point85And80Finish) {
    ExpectEveryRunFinishes({
        {"API 9.85", [](CMorvekDoc& d) { d.m_API = 9.85f; }, kNone, kNone},
        {"API 80", [](CMorvekDoc& d) { d.m_API = 80.0f; }, kNone, kNone},
    });
}

TEST(EdgeRuns, InitialAndBubblePointPressuresOf1And1000BarFinish) {
    ExpectEveryRunFinishes({
        {"pi = pb = 1",
         [](CMorvekDoc& d) {
             d.m_Initialdruck = d.m_Entloesungsdruck = 1.0f;
             d.m_Messwerte.clear();  // Nordfeld's surveys lie above 1 bar
         },
         kNone, kNone},
        {"pi = pb = 1000", [](CMorvekDoc& d) { d.m_Initialdruck = d.m_Entloesungsdruck = 1000.0f; },
         kNone, kNone},
        {"pi 1000, pb 1",
         [](CMorvekDoc& d) {
             d.m_Initialdruck = 1000.0f;
             d.m_Entloesungsdruck = 1.0f;
         },
         kNone, kNone},
        {"pi 1000, pb one float below",
         [](CMorvekDoc& d) {
             d.m_Initialdruck = 1000.0f;
             d.m_Entloesungsdruck = std::nextafter(1000.0f, 0.0f);
         },
         kNone, kNone},
        {"pi 250, pb one float below",
         [](CMorvekDoc& d) { d.m_Entloesungsdruck = std::nextafter(250.0f, 0.0f); }, kNone, kNone},
    });
}

TEST(EdgeRuns, SaturationsAtTheEdgesOfTheChecksFinish) {
    ExpectEveryRunFinishes({
        {"Swi 1e-6", [](CMorvekDoc& d) { d.m_Swi = 1e-6f; }, kNone, kNone},
        {"Swi 0.5 + Sgc 0.4999",
         [](CMorvekDoc& d) {
             d.m_Swi = 0.5f;
             d.m_Sgc = 0.4999f;
         },
         kNone, kNone},
        {"Swi 0.5 + Sgc one float below 0.5",
         [](CMorvekDoc& d) {
             d.m_Swi = 0.5f;
             d.m_Sgc = std::nextafter(0.5f, 0.0f);
         },
         kNone, kNone},
        {"Swi 0.999999, Sgc 0",
         [](CMorvekDoc& d) {
             d.m_Swi = 0.999999f;
             d.m_Sgc = 0.0f;
         },
         kNone, kNone},
    });
}

TEST(EdgeRuns, PureGasesFinishAndNameTheGasDeviationFactorWhereItHasNoValue) {
    // At 80 C pure H2S and pure decane lie below their critical temperatures:
    // the z-factor iteration finds no gas at the higher pressures.
    ExpectEveryRunFinishes({
        {"pure H2S", [](CMorvekDoc& d) { PureGas(d, H2S); }, kAll, kAll},
        {"pure N2", [](CMorvekDoc& d) { PureGas(d, N2); }, kNone, kNone},
        {"pure C10", [](CMorvekDoc& d) { PureGas(d, C10); }, kGlasoe | kVasquezBeggs, kAll},
        {"100 H2S + 100 CO2",
         [](CMorvekDoc& d) {
             PureGas(d, H2S);
             d.m_Gas[CO2] = 100.0f;
         },
         kAll, kAll},
        {"a composition summing to 1e-45",
         [](CMorvekDoc& d) {
             d.m_Gas.fill(0.0f);
             d.m_Gas[C1] = 1e-45f;
         },
         kNone, kNone},
    });
}

TEST(EdgeRuns, GasCapsOf10AndBeyondFinish) {
    ExpectEveryRunFinishes({
        {"gas cap 10", [](CMorvekDoc& d) { d.m_Gaskappe = 10.0f; }, kNone, kNone},
        {"gas cap 100", [](CMorvekDoc& d) { d.m_Gaskappe = 100.0f; }, kNone, kNone},
        {"gas cap -1", [](CMorvekDoc& d) { d.m_Gaskappe = -1.0f; }, kNone, kNone, Answer::No,
         true},
        // The free gas of such a cap lies beyond any number the report can show.
        {"gas cap 3e38", [](CMorvekDoc& d) { d.m_Gaskappe = 3e38f; }, kAll, kNone, Answer::No,
         true},
    });
}

TEST(EdgeRuns, ThreeHundredMeasuredRowsAndRowsWithExtremeNumbersFinish) {
    ExpectEveryRunFinishes({
        {"300 rows", [](CMorvekDoc& d) { d.m_Messwerte = MeasuredRows(300); }, kNone, kNone},
        {"301 rows", [](CMorvekDoc& d) { d.m_Messwerte = MeasuredRows(301); }, kNone, kNone},
        {"rows of extreme numbers",
         [](CMorvekDoc& d) {
             d.m_Messwerte = {"-3.4e38 -3.4e38 3.4e38", "1e-45 1e-45 -3.4e38", "0 0 0",
                              "4999.9 250 1e30"};
         },
         kNone, kNone, Answer::No, true},
        {"rows of extreme positive numbers",
         [](CMorvekDoc& d) { d.m_Messwerte = {"1e-45 1e-45 3.4e38", "0 0 0", "4999.9 250 1e30"}; },
         kNone, kNone},
        // A case file may hold rows that no dialog edit accepts; the OK check
        // compares them with the oil in place and pi only.
        {"rows that are not numbers",
         [](CMorvekDoc& d) {
             d.m_Messwerte = {"100 200 90", "-1e39 5 1e39", "nan nan nan"};
         },
         kNone, kNone},
        {"a pressure that is not a number",
         [](CMorvekDoc& d) {
             d.m_Messwerte = {"5 nan", "nan 5 inf"};
         },
         kNone, kNone},
    });
}

TEST(EdgeRuns, FieldNamesOf0And70000BytesFinish) {
    ExpectEveryRunFinishes({
        {"empty name", [](CMorvekDoc& d) { d.m_Feldname.clear(); }, kNone, kNone},
        {"70000 bytes", [](CMorvekDoc& d) { d.m_Feldname.assign(70000, 'x'); }, kNone, kNone},
    });
}

TEST(EdgeRuns, ViscositiesAndInitialGasOilRatiosAtTheExtremesFinishWithEitherAnswer) {
    ExpectEveryRunFinishes({
        {"NuoPb 1e-30", [](CMorvekDoc& d) { d.m_NuoPb = 1e-30f; }, kNone, kNone},
        {"NuoPb 1e-45", [](CMorvekDoc& d) { d.m_NuoPb = 1e-45f; }, kNone, kNone},
        // The calibrated oil is too viscous for any number of the report.
        {"NuoPb 1e30", [](CMorvekDoc& d) { d.m_NuoPb = 1e30f; }, kAll, kAll},
        {"NuoPb 3.4e38", [](CMorvekDoc& d) { d.m_NuoPb = 3.4e38f; }, kAll, kAll},
        {"Rsi -50", [](CMorvekDoc& d) { d.m_Rsi = -50.0f; }, kNone, kNone, Answer::No},
        {"Rsi -50", [](CMorvekDoc& d) { d.m_Rsi = -50.0f; }, kNone, kNone, Answer::Yes},
        {"Rsi 1e30", [](CMorvekDoc& d) { d.m_Rsi = 1e30f; }, kNone, kNone, Answer::No},
        // The gravity that reproduces such a ratio lies outside what the dialog
        // accepts: it is not offered, and the run goes on with the entered one.
        {"Rsi 1e30", [](CMorvekDoc& d) { d.m_Rsi = 1e30f; }, kNone, kNone, Answer::Yes},
        {"Rsi 3.4e38", [](CMorvekDoc& d) { d.m_Rsi = 3.4e38f; }, kNone, kNone, Answer::Yes},
        {"Rsi 1e-30", [](CMorvekDoc& d) { d.m_Rsi = 1e-30f; }, kNone, kNone, Answer::No},
        {"Rsi 1e-30", [](CMorvekDoc& d) { d.m_Rsi = 1e-30f; }, kNone, kNone, Answer::Yes},
    });
}

TEST(EdgeRuns, RelativePermeabilityEndPointsOf0AndNearlyZeroFinish) {
    ExpectEveryRunFinishes({
        {"KroMax 0", [](CMorvekDoc& d) { d.m_KroMax = 0.0f; }, kNone, kNone},
        {"KrgMax 0", [](CMorvekDoc& d) { d.m_KrgMax = 0.0f; }, kNone, kNone},
        {"KroMax and KrgMax 0",
         [](CMorvekDoc& d) {
             d.m_KroMax = 0.0f;
             d.m_KrgMax = 0.0f;
         },
         kNone, kNone},
        // Oil that hardly flows: the producing gas-oil ratio runs beyond range.
        {"KroMax 1e-40", [](CMorvekDoc& d) { d.m_KroMax = 1e-40f; }, kAll, kNone},
    });
}

TEST(EdgeRuns, InputsFarBeyondTheUsualRangesFinish) {
    ExpectEveryRunFinishes({
        {"-300 C", [](CMorvekDoc& d) { d.m_Temperatur = -300.0f; }, kAll, kAll, Answer::No,
         true},
        {"3e38 C", [](CMorvekDoc& d) { d.m_Temperatur = 3e38f; },
         kVasquezBeggs | kStanding | kKartoatmodjo, kVasquezBeggs | kStanding | kKartoatmodjo},
        {"API 3e38", [](CMorvekDoc& d) { d.m_API = 3e38f; }, kAll, kAll},
        // Gas-oil ratios of about 1e14, the same at every graph point: the
        // right axis of the graph is flat far from zero.
        {"API 1e12 without measured rows",
         [](CMorvekDoc& d) {
             d.m_API = 1e12f;
             d.m_Messwerte.clear();
         },
         kAll, kAll & ~kGlasoe},
        {"API 1e12, pi = pb = 3 (one PVT row)",
         [](CMorvekDoc& d) {
             d.m_API = 1e12f;
             d.m_Initialdruck = d.m_Entloesungsdruck = 3.0f;
             d.m_Messwerte.clear();
         },
         kAll & ~kGlasoe, kAll & ~kGlasoe},
        {"oil in place 0.1",
         [](CMorvekDoc& d) {
             d.m_OOIP = 0.1f;
             d.m_Messwerte.clear();
         },
         kNone, kNone},
        {"oil in place 99000", [](CMorvekDoc& d) { d.m_OOIP = 99000.0f; }, kNone, kNone},
    });
}

TEST(EdgeRuns, CombinedEdgesFinish) {
    ExpectEveryRunFinishes({
        {"-50 C, pi = pb = 1000",
         [](CMorvekDoc& d) {
             d.m_Temperatur = -50.0f;
             d.m_Initialdruck = d.m_Entloesungsdruck = 1000.0f;
         },
         kAll, kAll},
        {"300 C, pure C10",
         [](CMorvekDoc& d) {
             d.m_Temperatur = 300.0f;
             PureGas(d, C10);
         },
         kAll, kAll},
        {"API 80, pi = pb = 1000",
         [](CMorvekDoc& d) {
             d.m_API = 80.0f;
             d.m_Initialdruck = d.m_Entloesungsdruck = 1000.0f;
         },
         kNone, kNone},
        {"API 9.85, pure H2S, pi 1000, pb 1",
         [](CMorvekDoc& d) {
             d.m_API = 9.85f;
             PureGas(d, H2S);
             d.m_Initialdruck = 1000.0f;
             d.m_Entloesungsdruck = 1.0f;
         },
         kAll, kAll},
        {"300 C, pure N2, pi = pb = 1000",
         [](CMorvekDoc& d) {
             d.m_Temperatur = 300.0f;
             PureGas(d, N2);
             d.m_Initialdruck = d.m_Entloesungsdruck = 1000.0f;
         },
         kNone, kNone},
        {"gas cap 10, Swi 0.5 + Sgc 0.4999",
         [](CMorvekDoc& d) {
             d.m_Gaskappe = 10.0f;
             d.m_Swi = 0.5f;
             d.m_Sgc = 0.4999f;
         },
         kNone, kNone},
        {"API 80, pb 1000, NuoPb 3.4e38",
         [](CMorvekDoc& d) {
             d.m_API = 80.0f;
             d.m_Initialdruck = d.m_Entloesungsdruck = 1000.0f;
             d.m_NuoPb = 3.4e38f;
         },
         kAll, kAll},
    });
}

}  // namespace
