// --set of the forecast's inputs: by record or English name, the start as a
// date, refused values leaving the case as it was.

#include <gtest/gtest.h>

#include "ExampleCases.h"
#include "case/MorvekDoc.h"
#include "input/CaseSetting.h"
#include "support/ScriptedMessageSink.h"

TEST(ForecastSetting, TakesTheStartAsADateAndTheRatesAsNumbers) {
    CMorvekDoc doc;
    FillNordfeld(doc);
    ScriptedMessageSink sink;
    EXPECT_TRUE(ApplyCaseSetting(doc, "forecast_start=2025-07-01", sink));
    EXPECT_EQ(doc.m_Inputs.forecastStartDate, 45839.0f);
    EXPECT_TRUE(ApplyCaseSetting(doc, "m_Prognosebeginn=01.02.2026", sink));
    EXPECT_EQ(doc.m_Inputs.forecastStartDate, 46054.0f);
    EXPECT_TRUE(ApplyCaseSetting(doc, "oil_rate_target_m3_per_day=750.5", sink));
    EXPECT_EQ(doc.m_Inputs.oilRateTargetM3PerDay, 750.5f);
    EXPECT_TRUE(ApplyCaseSetting(doc, "m_Aufgabedruck=45", sink));
    EXPECT_EQ(doc.m_Inputs.abandonmentPressureBar, 45.0f);
    EXPECT_TRUE(sink.Texts().empty());

    const morvek::CaseInputs before = doc.m_Inputs;
    EXPECT_FALSE(ApplyCaseSetting(doc, "forecast_start=2025-02-29", sink));
    EXPECT_FALSE(ApplyCaseSetting(doc, "forecast_start=45839", sink));
    EXPECT_FALSE(ApplyCaseSetting(doc, "forecast_years=-1", sink));
    EXPECT_FALSE(ApplyCaseSetting(doc, "oil_rate_target_m3_per_day=1e8", sink));
    EXPECT_TRUE(doc.m_Inputs == before);
    ASSERT_EQ(sink.Texts().size(), 4u);
    EXPECT_EQ(sink.Texts()[0],
              "--set forecast_start=2025-02-29: Bitte ein Datum als JJJJ-MM-TT zwischen 1900 und "
              "2199 eingeben (zum Beispiel 2025-01-01): \"Beginn der Prognose\".");
    EXPECT_EQ(sink.Texts()[2],
              "--set forecast_years=-1: Bitte einen Wert zwischen 0 und 200 eingeben: "
              "\"Prognosezeitraum (Jahre)\".");
    // "0" takes the start away again.
    EXPECT_TRUE(ApplyCaseSetting(doc, "forecast_start=0", sink));
    EXPECT_EQ(doc.m_Inputs.forecastStartDate, 0.0f);
}
