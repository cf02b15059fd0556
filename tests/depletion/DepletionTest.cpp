// The material-balance depletion prediction: report, steps, stops, graph
// series and measured values.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "ExampleCases.h"
#include "base/Format.h"
#include "case/MorvekDoc.h"
#include "depletion/Prediction.h"
#include "pvt/GasMixture.h"
#include "report/Report.h"
#include "support/ScriptedMessageSink.h"
#include "support/TestSupport.h"

namespace {

const std::vector<std::string> kTableHead = {
    " ",
    " ",
    "      DRUCK  OELPROD.  GASPROD   GOEV   SO    BO    NUO    RS    KRG/KRO",
    "      (BAR)  (1000M3)  (Mio M3) (M3/M3) (-)   (-)   (CP) (M3/M3)  (-)",
    " ",
};
const std::string kClosing = " Morvek Berechnung abgeschlossen";
const std::string kNoGasCap = "     INITIALE GASKAPPE (MIO SM3):           0.00 ";

// The form of a report line: every digit written as 9, so that a comparison
// checks widths, decimals and blanks but not the values.
std::string Shape(std::string line) {
    for (char& c : line)
        if (c >= '0' && c <= '9') c = '9';
    return line;
}

// The fluids of the case as its prediction uses them (Glasoe for Nordfeld).
morvek::FluidModel Fluid(const CMorvekDoc& doc) {
    return morvek::FluidModel(doc.m_Inputs);
}

struct Row {
    double p, np, gpMio, gor, so, bo, muo, rs, ratio;
};

// A case run as the run sequence does it; Lines() are the lines the
// prediction added after the report head.
class Prediction {
public:
    explicit Prediction(void (*fill)(CMorvekDoc&) = &FillNordfeld) {
        doc.SetMessageSink(&sink);
        fill(doc);
    }
    void Run() {
        head.clear();
        morvek::AppendReportHead(head, doc.m_Inputs, morvek::MixGas(doc.m_Gas));
        doc.RunCalculation();
    }
    std::vector<std::string> Lines() const {
        return {doc.m_Text.begin() + static_cast<long>(head.size()), doc.m_Text.end()};
    }
    // The table rows, in order, with their nine numbers.
    std::vector<Row> Rows() const {
        std::vector<Row> rows;
        for (const std::string& line : Lines()) {
            Row r{};
            if (std::sscanf(line.c_str(), "%lf %lf %lf %lf %lf %lf %lf %lf %lf", &r.p, &r.np,
                            &r.gpMio, &r.gor, &r.so, &r.bo, &r.muo, &r.rs, &r.ratio) == 9)
                rows.push_back(r);
        }
        return rows;
    }
    size_t Count(const std::string& line) const {
        size_t n = 0;
        for (const std::string& l : doc.m_Text) n += l == line;
        return n;
    }

    CMorvekDoc doc;
    ScriptedMessageSink sink;
    std::vector<std::string> head;
};

// The predicted pressure at a cumulative production, between graph points.
float PredictedPressureAt(const CMorvekDoc& doc, float oil) {
    int k = 1;
    while (k < doc.m_MaxWerte - 1 && doc.m_XWerte[k] < oil) ++k;
    const float x0 = doc.m_XWerte[k - 1], x1 = doc.m_XWerte[k];
    const float t = (oil - x0) / (x1 - x0);
    return doc.m_Y1Werte[k - 1] + t * (doc.m_Y1Werte[k] - doc.m_Y1Werte[k - 1]);
}

std::vector<std::string> TwoNumberRows() {
    return {"   100.000                230.0   * ", "   400.000                190.0   * "};
}

}  // namespace

// --- The Nordfeld prediction --------------------------------------------------------

class NordfeldPrediction : public testing::Test {
protected:
    void SetUp() override { run.Run(); }
    Prediction run;
};

TEST_F(NordfeldPrediction, StartsWithTheGasCapLineAndTheTableHead) {
    const std::vector<std::string> lines = run.Lines();
    ASSERT_GE(lines.size(), 7u);
    EXPECT_EQ(lines[0], kNoGasCap);
    for (size_t i = 0; i < kTableHead.size(); ++i) EXPECT_EQ(lines[1 + i], kTableHead[i]) << i;
}

TEST_F(NordfeldPrediction, FirstRowIsTheInitialStateProducingAtTheSolutionRatio) {
    const std::vector<std::string> lines = run.Lines();
    EXPECT_EQ(Shape(lines[6]),
              "      999.9    9.99    9.9999   999.9  9.999 9.99  9.999  999.9  9.99999");
    const Row first = run.Rows().front();
    EXPECT_EQ(first.p, 250.0);
    EXPECT_EQ(first.np, 0.0);
    EXPECT_EQ(first.gpMio, 0.0);
    EXPECT_EQ(first.gor, first.rs);
    EXPECT_EQ(first.so, 0.8);
    EXPECT_EQ(first.ratio, 0.0);
    EXPECT_NEAR(first.rs, Fluid(run.doc).Rs(250.0f), 0.05);
}

TEST_F(NordfeldPrediction, EndsWithTheClosingLineAndNoBalanceWarning) {
    EXPECT_EQ(run.doc.m_Text.back(), kClosing);
    EXPECT_EQ(run.Count(" Gasentlösungsdruck zu niedrig?"), 0u);
    for (const std::string& line : run.Lines()) EXPECT_EQ(line.find("Fehler"), std::string::npos);
}

TEST_F(NordfeldPrediction, PressureFallsAndProductionRises) {
    const std::vector<Row> rows = run.Rows();
    ASSERT_EQ(rows.size(), 50u);  // steps 0, 10, ..., 490
    for (size_t i = 1; i < rows.size(); ++i) {
        EXPECT_LT(rows[i].p, rows[i - 1].p) << i;
        EXPECT_GT(rows[i].np, rows[i - 1].np) << i;
        EXPECT_GT(rows[i].gpMio, rows[i - 1].gpMio) << i;
        EXPECT_LE(rows[i].so, rows[i - 1].so) << i;
    }
    EXPECT_EQ(rows.back().p, 5.0);
    EXPECT_LT(rows.back().np, run.doc.m_OOIP);
}

TEST_F(NordfeldPrediction, CumulativeProductionBalancesTheExpansion) {
    // At the last row: N Et = Np (Bo - Rs Bg) + Gp Bg within the rounding of
    // the printed numbers and the tolerance of the inner iteration.
    CMorvekDoc& doc = run.doc;
    const Row last = run.Rows().back();
    const float p = static_cast<float>(last.p);
    const double rsi = Fluid(doc).Rs(250.0f), boi = Fluid(doc).Bo(250.0f, rsi);
    const double rs = Fluid(doc).Rs(p), bo = Fluid(doc).Bo(p, rs), bg = Fluid(doc).Bg(p);
    const double et = (rsi - rs) * bg + (bo - boi);
    const double produced = last.np * (bo - rs * bg) + last.gpMio * 1000.0 * bg;
    EXPECT_NEAR(produced / (double(doc.m_OOIP) * et), 1.0, 0.01);
}

TEST_F(NordfeldPrediction, StoresTheInitialPointAndEveryFifthStep) {
    const CMorvekDoc& doc = run.doc;
    EXPECT_EQ(doc.m_MaxWerte, 100);  // steps 0, 5, ..., 495
    EXPECT_EQ(doc.m_XWerte[0], 0.0f);
    EXPECT_EQ(doc.m_Y1Werte[0], 250.0f);
    EXPECT_NEAR(doc.m_Y2Werte[0], Fluid(doc).Rs(250.0f), 1e-4);
    EXPECT_NEAR(doc.m_Y1Werte[1], 247.5f, 1e-3);   // step 5, 0.5 bar each
    EXPECT_NEAR(doc.m_Y1Werte[20], 200.0f, 1e-3);  // step 100 at the bubble point
    EXPECT_NEAR(doc.m_Y1Werte[21], 197.5f, 1e-3);  // then pb/400 = 0.5 bar a step
    for (int i = 1; i < doc.m_MaxWerte; ++i) {
        EXPECT_LT(doc.m_Y1Werte[i], doc.m_Y1Werte[i - 1]) << i;
        EXPECT_GT(doc.m_XWerte[i], doc.m_XWerte[i - 1]) << i;
    }
    EXPECT_EQ(doc.m_XWerte[100], 0.0f);
    for (float v : doc.m_X2Werte) EXPECT_EQ(v, 0.0f);
}

TEST_F(NordfeldPrediction, SetsTheLabelsOfThePressureAndGorGraph) {
    const CMorvekDoc& doc = run.doc;
    EXPECT_EQ(doc.m_TitelX, "Kum.Reinölförderung in 1000 m3");
    EXPECT_EQ(doc.m_TitelY1, "Druck(Bar)");
    EXPECT_EQ(doc.m_TitelY2, "GOEV(sm3/m3)");
    EXPECT_EQ(doc.m_Legende1, "     Druck (Bar)      ");
    EXPECT_EQ(doc.m_Legende2, "    GOEV (sm3/m3)    ");
    EXPECT_EQ(doc.m_Legende3, "Meßwerte Druck/GOEV");
    EXPECT_EQ(doc.m_Ueberschrift, "Schließdrücke und GÖV");
}

TEST_F(NordfeldPrediction, MeasuredRowsOfTheExampleLieNearThePredictedPressure) {
    const CMorvekDoc& doc = run.doc;
    ASSERT_GE(doc.m_Max2Werte, 4);
    ASSERT_LE(doc.m_Max2Werte, 6);
    EXPECT_EQ(doc.m_Max3Werte, doc.m_Max2Werte - 1);
    for (int i = 0; i < doc.m_Max2Werte; ++i)
        EXPECT_NEAR(doc.m_Mess1YWerte[i] / PredictedPressureAt(doc, doc.m_Mess1XWerte[i]), 1.0,
                    0.05)
            << i;
}

TEST_F(NordfeldPrediction, MeasuredDataFileOfTheExampleLiesNearThePredictedPressure) {
    const std::vector<std::string> lines =
        SplitLines(ReadBytes(SourcePath("examples/nordfeld-messwerte.txt")));
    ASSERT_GE(lines.size(), 5u);
    float oil = 0, pressure = 0, gor = 0;
    EXPECT_LT(ScanRow(lines[0], oil, pressure, gor), 2) << "header: " << lines[0];
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_LT(lines[i].size(), 99u) << i;
        if (i == 0) continue;
        ASSERT_GE(ScanRow(lines[i], oil, pressure, gor), 2) << lines[i];
        EXPECT_LT(oil, run.doc.m_OOIP);
        EXPECT_LE(pressure, run.doc.m_Initialdruck);
        EXPECT_NEAR(pressure / PredictedPressureAt(run.doc, oil), 1.0, 0.05) << lines[i];
    }
}

// --- Step size and stop ---------------------------------------------------------------

TEST(DepletionSteps, AtTheBubblePointStepsArePb500AndTheFirstRowIsTheInitialState) {
    Prediction run;
    run.doc.m_Initialdruck = 200.0f;
    run.doc.m_Messwerte.clear();
    run.Run();
    const std::vector<Row> rows = run.Rows();
    ASSERT_EQ(rows.size(), 50u);
    EXPECT_EQ(rows[0].p, 200.0);
    EXPECT_EQ(rows[0].np, 0.0);
    EXPECT_EQ(rows[0].gor, rows[0].rs);
    EXPECT_EQ(rows[0].so, 0.8);  // 1 - Swi
    EXPECT_EQ(rows[0].ratio, 0.0);
    EXPECT_EQ(rows[1].p, 196.0);  // ten steps of 0.4 bar
    EXPECT_GT(rows[1].np, 0.0);
}

TEST(DepletionSteps, StopsAtTheFirstPressureNotAbove1Bar) {
    // pb / 500 = 0.4 bar: steps 0 to 497 run (p = 1.2 bar), step 498 would be
    // at 0.8 bar. The last graph point is step 495.
    Prediction run;
    run.doc.m_Initialdruck = 200.0f;
    run.Run();
    EXPECT_EQ(run.doc.m_MaxWerte, 100);
    EXPECT_NEAR(run.doc.m_Y1Werte[99], 2.0f, 0.001);
    EXPECT_EQ(run.Rows().back().p, 4.0);
    EXPECT_EQ(run.doc.m_Text.back(), kClosing);
}

TEST(DepletionSteps, AboveTheBubblePointTenRowsReachItThenRowsAreTenPb400Apart) {
    Prediction run;
    run.doc.m_Initialdruck = 300.0f;
    run.Run();
    const std::vector<Row> rows = run.Rows();
    ASSERT_GT(rows.size(), 15u);
    for (size_t i = 0; i <= 10; ++i) {
        EXPECT_NEAR(rows[i].p, 300.0 - 10.0 * double(i), 0.051) << i;
        EXPECT_GE(rows[i].p, 200.0) << i;
        EXPECT_EQ(rows[i].rs, rows[0].rs) << i;  // undersaturated
    }
    for (size_t i = 11; i < rows.size(); ++i)
        EXPECT_NEAR(rows[i].p, 200.0 - 5.0 * double(i - 10), 0.051) << i;
}

// --- Gas cap ----------------------------------------------------------------------------

TEST(DepletionGasCap, IsTheFreeGasOfTheCapInMillionSm3) {
    EXPECT_NEAR(morvek::InitialGasCapMioSm3(1000.0, 1.2, 0.5, 0.005), 120.00, 0.005);
    EXPECT_EQ(morvek::InitialGasCapMioSm3(1000.0, 1.2, 0.0, 0.005), 0.0);
}

// The gas-cap line before the table: the free gas of the cap, N m Boi / Bgi,
// from the case's fluids at the initial pressure; 0.00 without a cap.
TEST(DepletionGasCap, LineShowsTheCapOfTheCase) {
    for (auto [fill, m] : {std::pair{&FillNordfeld, 0.0}, std::pair{&FillGaskappe, 0.5}}) {
        SCOPED_TRACE(m);
        Prediction run(fill);
        run.Run();
        CMorvekDoc& doc = run.doc;
        ASSERT_EQ(doc.m_Gaskappe, float(m));
        const double rsi = Fluid(doc).Rs(250.0f);
        const double expected =
            0.001 * 5000.0 * Fluid(doc).Bo(250.0f, rsi) * m / Fluid(doc).Bg(250.0f);
        const std::string line = run.Lines().front();
        double shown = -1.0;
        ASSERT_EQ(std::sscanf(line.c_str(), "     INITIALE GASKAPPE (MIO SM3):%lf", &shown), 1)
            << line;
        EXPECT_NEAR(shown, expected, 0.005);
        EXPECT_EQ(line.size(), kNoGasCap.size());
        if (m == 0.0) {
            EXPECT_EQ(line, kNoGasCap);
        }
        EXPECT_EQ(doc.m_Text.back(), kClosing);
    }
}

// --- Runs that end early ------------------------------------------------------------

TEST(DepletionEdge, InitialPressureOf1BarLeavesOnlyTheHeadButReadsMeasuredValues) {
    Prediction run;
    run.doc.m_Initialdruck = 1.0f;
    run.doc.m_Entloesungsdruck = 1.0f;
    run.doc.m_Messwerte = {"0.5 1.0 3.0", "0.7 0.9"};
    run.Run();
    EXPECT_EQ(run.head.size(), 58u);
    EXPECT_EQ(run.doc.m_Text, run.head);
    EXPECT_EQ(run.doc.m_MaxWerte, 0);
    EXPECT_EQ(run.doc.m_Max2Werte, 2);
    EXPECT_EQ(run.doc.m_Max3Werte, 1);
    EXPECT_EQ(run.doc.m_Mess1XWerte[1], 0.7f);
    EXPECT_EQ(run.doc.m_Mess2YWerte[0], 3.0f);
}

TEST(DepletionEdge, NegativeExpansionAboveTheBubblePointIsReportedAndEndsTheRun) {
    // Cold heavy oil with little gas: the Vasquez & Beggs compressibility is
    // negative, so Bo falls with the pressure above pb and the first step
    // would produce a negative amount of oil.
    Prediction run;
    run.doc.m_Initialdruck = 100.0f;
    run.doc.m_Entloesungsdruck = 20.0f;
    run.doc.m_Temperatur = 20.0f;
    run.doc.m_API = 15.0f;
    run.Run();
    const std::vector<std::string> lines = run.Lines();
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[0], kNoGasCap);
    EXPECT_EQ(lines[7], " Fehler Rs=Initiales Rs,deshalb dd<0");
    EXPECT_EQ(lines[8], " Gasentlösungsdruck auf Initialdruck erhöhen");
    EXPECT_EQ(Shape(lines[9]), " Ölviskosität betägt 9999.99 cp  !!!");
    EXPECT_EQ(Shape(lines[10].substr(0, 17)), " Fehler dnp:-9.99");
    EXPECT_EQ(lines[10].substr(17), "<0 ");
    // The balance ratio of that step is 0: all of it is missing.
    EXPECT_EQ(lines[11], " Materialbilanzfehler: 100.0 Prozent");
    EXPECT_EQ(lines[12], " Gasentlösungsdruck zu niedrig?");
    EXPECT_EQ(run.doc.m_MaxWerte, 1);  // the initial point only: no closing line
}

TEST(DepletionEdge, ProductionBeyondOilInPlaceEndsTheRunWithTheRemainingOil) {
    // A gas cap of 300 times the oil zone drives more than all the oil out in
    // the first step.
    Prediction run;
    run.doc.m_Initialdruck = 200.0f;
    run.doc.m_Gaskappe = 300.0f;
    run.Run();
    const std::string last = run.doc.m_Text.back();
    EXPECT_EQ(Shape(last), "\nABBRUCH Kum.Oelprod.: 9999.9 > OOIP: 9999.9\n");
    EXPECT_NE(last.find("> OOIP: 5000.0"), std::string::npos) << last;
    EXPECT_EQ(run.doc.m_MaxWerte, 1);
    EXPECT_EQ(run.Count(kClosing), 0u);
}

TEST(DepletionEdge, VeryViscousOilPrintsRatioAndViscosityInExponentForm) {
    Prediction run;
    run.doc.m_Initialdruck = 100.0f;
    run.doc.m_Entloesungsdruck = 100.0f;
    run.doc.m_Temperatur = 20.0f;
    run.doc.m_API = 10.0f;
    run.Run();
    const std::string row = run.Lines()[6];
    EXPECT_EQ(Shape(row),
              "      999.9    9.99    9.9999 9.9e+99  9.999 9.99  9.9e+99   99.9  9.99999");
}

TEST(DepletionEdge, AStepLostInSinglePrecisionDoesNotRepeatTheInitialState) {
    // pi just one float above pb: (pi - pb) / 100 does not change p, so every
    // step is idle at pi until ten idle steps end the run.
    Prediction run;
    run.doc.m_Entloesungsdruck = 200.0f;
    run.doc.m_Initialdruck = std::nextafter(200.0f, 300.0f);
    run.doc.m_Messwerte.clear();
    run.Run();
    EXPECT_EQ(run.Count(kNoGasCap), 1u);
    EXPECT_EQ(run.Count(kTableHead[2]), 1u);
    EXPECT_EQ(run.Rows().size(), 1u);
    EXPECT_EQ(run.doc.m_MaxWerte, 2);  // the initial point and step 5
    EXPECT_EQ(run.doc.m_XWerte[1], 0.0f);
    EXPECT_EQ(run.doc.m_Text.back(), kClosing);
}

// --- Measured values ------------------------------------------------------------------

// The measured rows as the graph takes them: every row's pressure, the
// ratio of the rows that hold a third number, up to the first row without
// two numbers and at most 300 rows.
TEST(DepletionMeasured, RowsGiveThePressureAndGorPointsOfTheGraph) {
    using Points = std::vector<std::pair<float, float>>;
    struct Case {
        const char* what;
        std::vector<std::string> rows;
        Points pressures, gors;
    };
    const std::vector<Case> cases = {
        {"rows of two numbers give no ratio", TwoNumberRows(), {{100, 230}, {400, 190}}, {}},
        {"rows of three numbers give the ratios",
         {"50 240 100", "100 230 * ", "200.5 215 98.5", "300 200 99 Bemerkung"},
         {{50, 240}, {100, 230}, {200.5f, 215}, {300, 200}},
         {{50, 100}, {200.5f, 98.5f}, {300, 99}}},
        {"the first row without two numbers ends them", {"50 240 100", "100", "200 215 98"},
         {{50, 240}}, {{50, 100}}},
        {"at most three hundred", std::vector<std::string>(310, "10 200 90"),
         Points(300, {10, 200}), Points(300, {10, 90})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Prediction run;
        run.doc.m_Messwerte = c.rows;
        run.Run();
        const CMorvekDoc& doc = run.doc;
        ASSERT_EQ(doc.m_Max2Werte, static_cast<int>(c.pressures.size()));
        ASSERT_EQ(doc.m_Max3Werte, static_cast<int>(c.gors.size()));
        for (size_t i = 0; i < c.pressures.size(); ++i) {
            EXPECT_EQ(doc.m_Mess1XWerte[i], c.pressures[i].first) << i;
            EXPECT_EQ(doc.m_Mess1YWerte[i], c.pressures[i].second) << i;
        }
        for (size_t i = 0; i < c.gors.size(); ++i) {
            EXPECT_EQ(doc.m_Mess2XWerte[i], c.gors[i].first) << i;
            EXPECT_EQ(doc.m_Mess2YWerte[i], c.gors[i].second) << i;
        }
        for (size_t i = c.pressures.size(); i < doc.m_Mess1XWerte.size(); ++i)
            EXPECT_EQ(doc.m_Mess1XWerte[i], 0.0f) << i;
        for (size_t i = c.gors.size(); i < doc.m_Mess2XWerte.size(); ++i)
            EXPECT_EQ(doc.m_Mess2XWerte[i], 0.0f) << i;
    }
}

// --- Correlation choice -------------------------------------------------------------

TEST(DepletionCorrelation, AnIndexOutside0To3PredictsWithVasquezBeggs) {
    Prediction vasquezBeggs, foreign;
    vasquezBeggs.doc.m_Methode = 1;
    foreign.doc.m_Methode = 7;
    vasquezBeggs.Run();
    foreign.Run();
    EXPECT_EQ(foreign.Lines(), vasquezBeggs.Lines());
    EXPECT_NE(foreign.Lines(), Prediction().Lines());
}
