// Gas properties of the composition and the 58-line head of every report.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ExampleCases.h"
#include "case/MorvekDoc.h"
#include "pvt/GasMixture.h"
#include "report/Report.h"

namespace {

// A new case (methane alone) at 80 deg C.
morvek::CaseInputs MethaneCase() {
    morvek::CaseInputs in;
    in.temperatureC = 80.0f;
    return in;
}

std::vector<std::string> Head(const morvek::CaseInputs& in) {
    std::vector<std::string> lines;
    morvek::AppendReportHead(lines, in, morvek::MixGas(in.gasMolePercent));
    return lines;
}

TEST(GasProperties, MethaneAloneGivesTheTableValues) {
    const morvek::GasMixture g = morvek::MixGas(MethaneCase().gasMolePercent);
    EXPECT_NEAR(g.molecularWeight, 16.042, 0.0005);
    EXPECT_NEAR(g.relativeDensity, 0.554, 0.0005);
    EXPECT_NEAR(g.standardDensityKgM3, 0.716, 0.0005);
    EXPECT_NEAR(g.ppcPsia / 14.503, 46.41, 0.005);
    EXPECT_NEAR((g.tpcRankine - 492.0) * 5.0 / 9.0 + 273.0, 190.50, 0.005);
    EXPECT_EQ(g.epsilonRankine, 0.0);
    EXPECT_EQ(g.tpcCorrectedRankine, g.tpcRankine);
    EXPECT_EQ(g.ppcCorrectedPsia, g.ppcPsia);
    const std::vector<std::string> head = Head(MethaneCase());
    ASSERT_EQ(head.size(), 58u);
    EXPECT_EQ(head[30], "     DRUCK(BAR)                            46.41");
    EXPECT_EQ(head[31], "     TEMPERATUR(GRAD K)                   190.50 ");
    EXPECT_EQ(head[37], "     TEMPERATURKORREKTUR(GRAD K)            0.00 ");
    EXPECT_EQ(head[39], "     MOLEKULARGEWICHT(-)                   16.04 ");
    EXPECT_EQ(head[40], "     GASDICHTE U. NORMALBED.(KG/M*3)       0.716 ");
    EXPECT_EQ(head[41], "     REL. GASDICHTELBED.(LUFT=1)           0.554 ");
}

TEST(GasProperties, NormalisesTheCompositionButCorrectsWithTheEnteredSourGas) {
    morvek::CaseInputs in = MethaneCase();
    in.gasMolePercent.fill(0.0f);
    in.gasMolePercent[0] = 10.0f;  // H2S
    in.gasMolePercent[1] = 5.0f;   // CO2
    in.gasMolePercent[3] = 35.0f;  // methane: the entries add up to 50
    const std::vector<std::string> head = Head(in);
    EXPECT_EQ(head[8], "     SCHWEFELWASSERST         10.00       20.00");
    EXPECT_EQ(head[9], "     KOHLENDIOXID              5.00       10.00");
    EXPECT_EQ(head[11], "     METHAN                   35.00       70.00");
    const morvek::GasMixture g = morvek::MixGas(in.gasMolePercent);
    EXPECT_NEAR(g.molecularWeight, 0.2 * 34.076 + 0.1 * 44.01 + 0.7 * 16.042, 1e-4);
    EXPECT_NEAR(g.ppcPsia, 0.2 * 1306.0 + 0.1 * 1073.0 + 0.7 * 673.1, 1e-3);
    // Wichert-Aziz with A = 0.15 and B = 0.10 taken from the entered values.
    EXPECT_NEAR(g.epsilonRankine, 20.74, 0.005);
    EXPECT_NEAR(g.tpcCorrectedRankine, g.tpcRankine - 20.735, 0.001);
    const double b = 0.1;
    EXPECT_NEAR(g.ppcCorrectedPsia,
                g.ppcPsia * g.tpcCorrectedRankine / (g.tpcRankine + b * (1 - b) * g.epsilonRankine),
                1e-9);
}

TEST(GasProperties, OptionalInputsGiveBareLinesWhenNotGiven) {
    morvek::CaseInputs in = MethaneCase();
    in.bubblePointPressureBar = 200.0f;
    std::vector<std::string> head = Head(in);
    EXPECT_EQ(head[56], "     INITALES GOEV VORGEGEBEN  (-)");
    EXPECT_EQ(head[57], "     OELVISKOSITAET BEI 200.0 BAR (CP)");

    in.initialGorSm3PerM3 = 96.96f;
    in.oilViscosityAtBubblePointCp = 0.9f;
    head = Head(in);
    EXPECT_EQ(head[56], "     INITALES GOEV VORGEGEBEN  (-)         96.96");
    EXPECT_EQ(head[57], "     OELVISKOSITAET BEI 200.0 BAR (CP)     0.900");
}

TEST(GasProperties, AnIndexOutsideTheFourCorrelationsPrintsNoName) {
    morvek::CaseInputs in = MethaneCase();
    in.correlation = 7;
    EXPECT_EQ(Head(in)[54], "     KORRELATIONSMETHODE PVT OEL ");
    in.correlation = 3;
    EXPECT_EQ(Head(in)[54], "     KORRELATIONSMETHODE PVT OEL    Kartoatmodjo");
}

TEST(GasProperties, NordfeldHeadReadsLineByLine) {
    CMorvekDoc doc;
    FillNordfeld(doc);
    const std::vector<std::string> head = Head(doc.m_Inputs);
    const std::vector<std::string> expected = {
        "     MORVEK BERECHNUNG FELD: Nordfeld ",
        " ",
        "     GASEIGENSCHAFTEN: ",
        " ",
        "     TEMPERATUR  (GRAD C):   80.0",
        " ",
        "     KOMPONENTE(PROZENT)     EINGEGEBEN   KORRIGIERT",
        " ",
        "     SCHWEFELWASSERST          0.00        0.00",
        "     KOHLENDIOXID              1.70        1.70",
        "     STICKSTOFF                1.00        1.00",
        "     METHAN                   82.00       82.00",
        "     AETHAN                    7.00        7.00",
        "     PROPAN                    4.00        4.00",
        "     I-BUTAN                   1.00        1.00",
        "     N-BUTAN                   1.50        1.50",
        "     I-PENTAN                  0.50        0.50",
        "     N-PENTAN                  0.50        0.50",
        "     HEXAN                     0.50        0.50",
        "     HEPTAN                    0.30        0.30",
        "     OKTAN                     0.00        0.00",
        "     NONAN                     0.00        0.00",
        "     DECAN                     0.00        0.00",
        " ",
        "     KONSTANTE ZUR BERECHNUNG DER VISKOSITAET NACH LEE",
        " ",
        "     K: 126.684         X: 5.260         Y: 1.348",
        " ",
        "     PSEUDOKRITISCHE WERTE FUER DRUCK UND TEMPERATUR",
        " ",
        "     DRUCK(BAR)                            46.28",
        "     TEMPERATUR(GRAD K)                   218.07 ",
        " ",
        "     NACH KORREKTUR WEGEN CO2 UND H2S",
        " ",
        "     DRUCK(BAR)                            45.94 ",
        "     TEMPERATUR(GRAD K)                   216.46 ",
        "     TEMPERATURKORREKTUR(GRAD K)            1.61 ",
        "     PSEUDOREDUZIERTE TEMPERATUR(-)         1.63 ",
        "     MOLEKULARGEWICHT(-)                   20.96 ",
        "     GASDICHTE U. NORMALBED.(KG/M*3)       0.935 ",
        "     REL. GASDICHTELBED.(LUFT=1)           0.724 ",
        " ",
        "     ORIGINAL-OIL-IN-PLACE(1000M3)        5000.0 ",
        "     INITIALDRUCK(BAR)                     250.0 ",
        "     GASENTLOESUNGSDRUCK(BAR)              200.0 ",
        "     OELDICHTE(GRAD API)                    35.0 ",
        "     OELDICHTE(T/M3)                       0.849 ",
        " ",
        " ",
        "     HAFTWASSERSAETTIGUNG(-)                0.20 ",
        "     KRITISCHE GASSAETTIGUNG(-)             0.05 ",
        "     MAX.REL.PERMIABILITAET OEL(-)          0.80 ",
        "     MAX.REL.PERMIABILITAET GAS(-)          0.60 ",
        "     KORRELATIONSMETHODE PVT OEL          Glasoe",
        "     PORENVOL.GASKAPPE/PORENVOL.OEL(-)      0.00",
        "     INITALES GOEV VORGEGEBEN  (-)",
        "     OELVISKOSITAET BEI 200.0 BAR (CP)",
    };
    ASSERT_EQ(head.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(head[i], expected[i]) << "line " << i + 1;
}

}  // namespace
