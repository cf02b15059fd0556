// Gas properties of the composition and the 58-line head of every report.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ExampleCases.h"
#include "case/MorvekDoc.h"

namespace {

CMorvekDoc MethaneCase() {
    CMorvekDoc doc;
    doc.OnNewDocument();  // methane alone
    doc.m_Temperatur = 80.0f;
    return doc;
}

TEST(GasProperties, MethaneAloneGivesTheTableValues) {
    CMorvekDoc doc = MethaneCase();
    doc.Gasprop();
    EXPECT_NEAR(doc.m_Molgewicht, 16.042, 0.0005);
    EXPECT_NEAR(doc.m_GasRelDichte, 0.554, 0.0005);
    EXPECT_NEAR(doc.m_GasNormDichte, 0.716, 0.0005);
    EXPECT_NEAR(doc.m_Ppc / 14.503, 46.41, 0.005);
    EXPECT_NEAR((doc.m_Tpc - 492.0) * 5.0 / 9.0 + 273.0, 190.50, 0.005);
    EXPECT_EQ(doc.m_Epsilon, 0.0);
    EXPECT_EQ(doc.m_TpcKorr, doc.m_Tpc);
    EXPECT_EQ(doc.m_PpcKorr, doc.m_Ppc);
    ASSERT_EQ(doc.m_Text.size(), 58u);
    EXPECT_EQ(doc.m_Text[30], "     DRUCK(BAR)                            46.41");
    EXPECT_EQ(doc.m_Text[31], "     TEMPERATUR(GRAD K)                   190.50 ");
    EXPECT_EQ(doc.m_Text[37], "     TEMPERATURKORREKTUR(GRAD K)            0.00 ");
    EXPECT_EQ(doc.m_Text[39], "     MOLEKULARGEWICHT(-)                   16.04 ");
    EXPECT_EQ(doc.m_Text[40], "     GASDICHTE U. NORMALBED.(KG/M*3)       0.716 ");
    EXPECT_EQ(doc.m_Text[41], "     REL. GASDICHTELBED.(LUFT=1)           0.554 ");
}

TEST(GasProperties, NormalisesTheCompositionButCorrectsWithTheEnteredSourGas) {
    CMorvekDoc doc = MethaneCase();
    doc.m_Gas.fill(0.0f);
    doc.m_Gas[0] = 10.0f;  // H2S
    doc.m_Gas[1] = 5.0f;   // CO2
    doc.m_Gas[3] = 35.0f;  // methane: the entries add up to 50
    doc.Gasprop();
    EXPECT_EQ(doc.m_Text[8], "     SCHWEFELWASSERST         10.00       20.00");
    EXPECT_EQ(doc.m_Text[9], "     KOHLENDIOXID              5.00       10.00");
    EXPECT_EQ(doc.m_Text[11], "     METHAN                   35.00       70.00");
    EXPECT_NEAR(doc.m_Molgewicht, 0.2 * 34.076 + 0.1 * 44.01 + 0.7 * 16.042, 1e-4);
    EXPECT_NEAR(doc.m_Ppc, 0.2 * 1306.0 + 0.1 * 1073.0 + 0.7 * 673.1, 1e-3);
    // Wichert-Aziz with A = 0.15 and B = 0.10 taken from the entered values.
    EXPECT_NEAR(doc.m_Epsilon, 20.74, 0.005);
    EXPECT_NEAR(doc.m_TpcKorr, doc.m_Tpc - 20.735, 0.001);
    const double b = 0.1;
    EXPECT_NEAR(doc.m_PpcKorr, doc.m_Ppc * doc.m_TpcKorr / (doc.m_Tpc + b * (1 - b) * doc.m_Epsilon),
                1e-9);
}

TEST(GasProperties, OptionalInputsGiveBareLinesWhenNotGiven) {
    CMorvekDoc doc = MethaneCase();
    doc.m_Entloesungsdruck = 200.0f;
    doc.Gasprop();
    EXPECT_EQ(doc.m_Text[56], "     INITALES GOEV VORGEGEBEN  (-)");
    EXPECT_EQ(doc.m_Text[57], "     OELVISKOSITAET BEI 200.0 BAR (CP)");

    doc.m_Rsi = 96.96f;
    doc.m_NuoPb = 0.9f;
    doc.Gasprop();
    EXPECT_EQ(doc.m_Text[56], "     INITALES GOEV VORGEGEBEN  (-)         96.96");
    EXPECT_EQ(doc.m_Text[57], "     OELVISKOSITAET BEI 200.0 BAR (CP)     0.900");
}

TEST(GasProperties, EveryRunStartsANewReport) {
    CMorvekDoc doc = MethaneCase();
    doc.m_Text = {"alter Bericht", "zweite Zeile"};
    doc.Gasprop();
    EXPECT_EQ(doc.m_Text.size(), 58u);
    doc.Gasprop();
    EXPECT_EQ(doc.m_Text.size(), 58u);
}

TEST(GasProperties, AnIndexOutsideTheFourCorrelationsPrintsNoName) {
    CMorvekDoc doc = MethaneCase();
    doc.m_Methode = 7;
    doc.Gasprop();
    EXPECT_EQ(doc.m_Text[54], "     KORRELATIONSMETHODE PVT OEL ");
    doc.m_Methode = 3;
    doc.Gasprop();
    EXPECT_EQ(doc.m_Text[54], "     KORRELATIONSMETHODE PVT OEL    Kartoatmodjo");
}

TEST(GasProperties, NordfeldHeadReadsLineByLine) {
    CMorvekDoc doc;
    FillNordfeld(doc);
    doc.Gasprop();
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
    ASSERT_EQ(doc.m_Text.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(doc.m_Text[i], expected[i]) << "line " << i + 1;
}

}  // namespace
