// Relative permeabilities: the ratio the prediction uses and the table.

#include <gtest/gtest.h>

#include "case/MorvekDoc.h"
#include "depletion/RelativePermeability.h"
#include "report/Report.h"

namespace {

morvek::RelPermModel ModelWith(float swi, float sgc, float kroMax, float krgMax) {
    return morvek::RelPermModel(swi, sgc, kroMax, krgMax);
}

CMorvekDoc CaseWith(float swi, float sgc, float kroMax, float krgMax) {
    CMorvekDoc doc;
    doc.ResetCase();
    doc.m_Feldname = "Nordfeld";
    doc.m_Swi = swi;
    doc.m_Sgc = sgc;
    doc.m_KroMax = kroMax;
    doc.m_KrgMax = krgMax;
    return doc;
}

}  // namespace

TEST(KrgKro, IsZeroAtFullLiquidSaturationForAnyCriticalGasSaturation) {
    for (float sgc : {0.0f, 0.05f, 0.3f}) {
        EXPECT_EQ(ModelWith(0.2f, sgc, 0.8f, 0.6f).KrgKro(1.0), 0.0) << "Sgc " << sgc;
    }
}

TEST(KrgKro, IsZeroAtConnateWaterBecauseOilDoesNotFlow) {
    EXPECT_EQ(ModelWith(0.2f, 0.05f, 0.8f, 0.6f).KrgKro(double(0.2f)), 0.0);
}

TEST(KrgKro, MeasuresTheGasSaturationFromTheCriticalOne) {
    // So 0.4: kro = 0.8 * 0.5^4 = 0.05; s = (0.4 - 0.05) / 0.75, krg = 0.6 (1-s)^2 (1-s^2).
    // (The table's normalisation, s = So / 0.75, would give 1.870.)
    EXPECT_NEAR(ModelWith(0.2f, 0.05f, 0.8f, 0.6f).KrgKro(0.6), 2.670, 0.0005);
}

TEST(KrgKro, IsZeroWhereTheGasSaturationIsBelowCritical) {
    const morvek::RelPermModel model = ModelWith(0.2f, 0.05f, 0.8f, 0.6f);
    EXPECT_EQ(model.KrgKro(0.97), 0.0);
    EXPECT_GT(model.KrgKro(0.94), 0.0);
}

TEST(KrgKro, IsZeroWhenWaterAndCriticalGasFillThePores) {
    EXPECT_EQ(ModelWith(0.6f, 0.4f, 0.8f, 0.6f).KrgKro(0.8), 0.0);
}

TEST(KrgKro, BelowConnateWaterComputesTheRatioAndSaysWhatItWasComputedFrom) {
    // So = -0.1: S = -0.125 gives kro = 0.8 * S^4 > 0 again; s = -0.2 gives
    // krg = 0.6 * 1.44 * 0.96 = 0.82944.
    const morvek::RelPermModel model = ModelWith(0.2f, 0.05f, 0.8f, 0.6f);
    morvek::BelowConnateWater below{};
    const double ratio = model.KrgKro(0.1, &below);
    EXPECT_NEAR(ratio, 0.82944 / 0.0001953125, 0.5);
    morvek::PredictionEvent event{3, morvek::PredictionEventKind::LiquidBelowConnateWater,
                                  below.oilSaturation, below.krg, below.normalisedSaturation};
    EXPECT_EQ(morvek::BelowConnateWaterNote(event, 0.2f, 0.05f, 1),
              "so:-0.10< 0 Krg:0.829 swi: 0.2 sgc:  0.1 sle:-0.13\n");
    EXPECT_EQ(
        morvek::BelowConnateWaterNote(event, 0.2f, 0.05f, 475),
        "so:-0.10< 0 Krg:0.829 swi: 0.2 sgc:  0.1 sle:-0.13\n(475-mal in dieser Berechnung)\n");

    morvek::BelowConnateWater above{};
    model.KrgKro(0.5, &above);
    EXPECT_EQ(above.oilSaturation, 0.0);
}

class RelPermTable : public testing::Test {
protected:
    void SetUp() override {
        doc = CaseWith(0.2f, 0.05f, 1.0f, 1.0f);
        doc.m_Text = {"alter Bericht"};  // the table replaces the report
        doc.m_Mess2YWerte.fill(7.0f);
        doc.m_Max2Werte = 4;
        doc.m_Max3Werte = 2;
        doc.m_bRelPermAusgabe = 1;
        doc.RunCalculation();
    }
    CMorvekDoc doc;
};

TEST_F(RelPermTable, HasFiftyOneRowsFromNoOilToOneMinusSwi) {
    EXPECT_EQ(doc.m_MaxWerte, 51);
    ASSERT_EQ(doc.m_Text.size(), 8u + 51u);
    EXPECT_EQ(doc.m_Max2Werte, 0);
    EXPECT_EQ(doc.m_Max3Werte, 0);
    for (int i = 0; i <= 50; ++i) {
        EXPECT_NEAR(doc.m_XWerte[i], 0.016 * i, 1e-6) << i;
        EXPECT_NEAR(doc.m_X2Werte[i], 0.016 * i - 0.05, 1e-6) << i;
    }
    EXPECT_EQ(doc.m_XWerte[51], 0.0f);
    EXPECT_FLOAT_EQ(doc.m_XWerte[50], 0.8f);
}

TEST_F(RelPermTable, GasStopsFlowingFromTheRowAtCriticalGasSaturation) {
    for (int i = 0; i < 47; ++i) EXPECT_GT(doc.m_Y1Werte[i], 0.0f) << i;
    for (int i = 47; i <= 50; ++i) EXPECT_EQ(doc.m_Y1Werte[i], 0.0f) << i;
}

TEST_F(RelPermTable, CurvesRunFromAllGasToAllOil) {
    EXPECT_EQ(doc.m_Y2Werte[0], 0.0f);
    EXPECT_FLOAT_EQ(doc.m_Y1Werte[0], 1.0f);
    EXPECT_FLOAT_EQ(doc.m_Y2Werte[50], 1.0f);
    // So 0.4: kro = 0.5^4, s = 0.4 / 0.75.
    EXPECT_NEAR(doc.m_Y2Werte[25], 0.0625, 1e-6);
    EXPECT_NEAR(doc.m_Y1Werte[25], 0.1558, 0.00005);
}

TEST_F(RelPermTable, ClearsTheMeasuredSeries) {
    for (const Series* s :
         {&doc.m_Mess1XWerte, &doc.m_Mess1YWerte, &doc.m_Mess2XWerte, &doc.m_Mess2YWerte})
        for (float v : *s) EXPECT_EQ(v, 0.0f);
}

TEST_F(RelPermTable, ReportStartsWithTheFieldLineAndTheTableHead) {
    const std::vector<std::string> head = {
        " FELD:Nordfeld",
        " ",
        " Haftwassersättigung:     0.20",
        " Kritische Gassättigung:  0.05",
        " ",
        " OELSAETTIGUNG SO MIT RELATIVE PERMEABILITAETEN  GASSAETTIGUNG",
        "    SO(-)    KRO(-)   KRG(-)    KRG/KRO(-)          SG(-)",
        " ",
    };
    for (size_t i = 0; i < head.size(); ++i) EXPECT_EQ(doc.m_Text[i], head[i]) << i;
}

TEST_F(RelPermTable, RowsShowSaturationsPermeabilitiesAndTheRatio) {
    EXPECT_EQ(doc.m_Text[8], "    0.00          0    1.000            0           0.80");
    EXPECT_EQ(doc.m_Text[8 + 25], "    0.40     0.0625    0.156        2.493           0.40");
    EXPECT_EQ(doc.m_Text[8 + 50], "    0.80          1    0.000            0           0.00");
}

TEST_F(RelPermTable, SetsTheLabelsOfTheSaturationGraph) {
    EXPECT_EQ(doc.m_TitelX, "Ölsättigung (-)");
    EXPECT_EQ(doc.m_TitelY1, "Krg(-)");
    EXPECT_EQ(doc.m_TitelY2, "Kro(-)");
    EXPECT_EQ(doc.m_Legende1, "Rel. Permeabilität Gas");
    EXPECT_EQ(doc.m_Legende2, "Rel. Permeabilität Öl");
    EXPECT_EQ(doc.m_Legende3, "");
    EXPECT_EQ(doc.m_Ueberschrift, "Rel. Permeabilitäten für Öl und Gas");
}

TEST(RelPermTableDegenerate, GivesNoGasWhenWaterAndCriticalGasFillThePores) {
    CMorvekDoc doc = CaseWith(0.5f, 0.5f, 1.0f, 1.0f);
    doc.m_bRelPermAusgabe = 1;
    doc.RunCalculation();
    EXPECT_EQ(doc.m_MaxWerte, 51);
    for (int i = 0; i < 51; ++i) EXPECT_EQ(doc.m_Y1Werte[i], 0.0f) << i;
}
