#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "PvtTestCases.h"
#include "pvt/OilCorrelations.h"
#include "support/ScriptedMessageSink.h"

namespace {

using Entry = ScriptedMessageSink::Entry;

class OilGravityCheck : public testing::Test {
protected:
    void SetUpCase(int methode, float rsi) {
        SetReferenceOil(doc, methode);
        doc.SetMessageSink(&sink);
        doc.m_Rsi = rsi;
    }
    CMorvekDoc doc;
    ScriptedMessageSink sink;
};

struct BackCalculation {
    int methode;
    float rsi;
    const char* api;
};

// From the bubble-point Rs of 35 API oil the check comes back a little below
// 35, because it converts the bubble point with 14.5078 psi per bar.
const BackCalculation kBackCalculations[] = {
    {0, 96.96f, "34.990"}, {1, 101.18f, "34.991"}, {2, 116.13f, "34.991"}, {3, 103.98f, "34.993"},
    {0, 100.0f, "35.892"}, {1, 100.0f, "34.680"},  {2, 100.0f, "30.678"},  {3, 100.0f, "34.038"},
};

TEST_F(OilGravityCheck, BackCalculatesTheReferenceApiGravities) {
    for (const BackCalculation& r : kBackCalculations) {
        SCOPED_TRACE(testing::Message() << "m_Methode " << r.methode << ", Rsi " << r.rsi);
        SetUpCase(r.methode, r.rsi);
        sink.Answers({Answer::Yes});  // Glasoe asks whether to take its value
        EXPECT_THAT(doc.ApiFromGOR(), RoundsTo(r.api));
    }
}

// Round trip: the correlation at the back-calculated gravity gives the
// measured ratio again, up to the 14.5078 against 14.5038 psi per bar, also
// where the gravity crosses the 30 API between the coefficient sets.
TEST_F(OilGravityCheck, BackCalculatedGravityReproducesTheMeasuredRatio) {
    for (int methode = 1; methode < 4; ++methode) {
        for (float rsi = 40.0f; rsi <= 120.0f; rsi += 1.0f) {
            SetUpCase(methode, rsi);
            doc.m_API = doc.ApiFromGOR();
            const double rs = FindOilCorrelation(methode)->Rs(doc, 200.0f);
            EXPECT_NEAR(rs / rsi, 1.0, 4e-4) << "m_Methode " << methode << ", Rsi " << rsi;
        }
    }
}

TEST_F(OilGravityCheck, AsksNothingWithoutAMeasuredRatio) {
    for (int methode = 0; methode < 4; ++methode) {
        SetUpCase(methode, 0.0f);
        doc.CheckOilGravity();
        EXPECT_TRUE(sink.Log().empty());
        EXPECT_EQ(doc.m_API, 35.0f);
    }
}

TEST_F(OilGravityCheck, GlasoeAsksFirstAndOffersTheChangeAfterYes) {
    SetUpCase(0, 100.0f);
    sink.Answers({Answer::Yes, Answer::Yes});
    doc.CheckOilGravity();
    ASSERT_EQ(sink.Log().size(), 2u);
    EXPECT_EQ(sink.Log()[0].kind, Entry::YesNo);
    EXPECT_EQ(sink.Log()[0].text, "Soll der API-Wert nach GLASOE von   35.892 verwendet werden?");
    EXPECT_EQ(sink.Log()[1].kind, Entry::YesNo);
    EXPECT_EQ(sink.Log()[1].text,
              "AENDERUNG DER OELDICHTE(GRAD API)\n"
              "\tAlter WERT                 :35.000\n"
              "\tNeuer WERT                 :35.892\n"
              "\tGasdichte(LUFT=1)          : 0.700\n"
              "\tGasentloesungsdruck(bar)   : 200.0\n"
              "\tInitiales Gas-Öl-Verhältnis: 100.0\n"
              "Soll das initiale Gas-Öl-Verhältnis verwendet werden?");
    EXPECT_THAT(doc.m_API, RoundsTo("35.892"));
}

TEST_F(OilGravityCheck, GlasoeNoInTheFirstBoxEndsTheCheck) {
    SetUpCase(0, 100.0f);
    sink.Answers({Answer::No, Answer::Yes});
    doc.CheckOilGravity();
    ASSERT_EQ(sink.Log().size(), 1u);
    EXPECT_EQ(doc.m_API, 35.0f);
}

TEST_F(OilGravityCheck, NoInTheSecondBoxKeepsTheApiGravity) {
    SetUpCase(0, 100.0f);
    sink.Answers({Answer::Yes, Answer::No});
    doc.CheckOilGravity();
    EXPECT_EQ(sink.Log().size(), 2u);
    EXPECT_EQ(doc.m_API, 35.0f);
}

TEST_F(OilGravityCheck, GlasoeYesWithTheSameValueAsksNoSecondQuestion) {
    SetUpCase(0, 100.0f);
    sink.Answers({Answer::Yes});
    doc.m_API = doc.ApiFromGOR();
    sink.Clear();
    sink.Answers({Answer::Yes, Answer::Yes});
    doc.CheckOilGravity();
    ASSERT_EQ(sink.Log().size(), 1u);
    EXPECT_EQ(sink.Log()[0].text.rfind("Soll der API-Wert nach GLASOE", 0), 0u);
}

TEST_F(OilGravityCheck, OtherCorrelationsAskOnlyWhetherToChange) {
    const char* expected[] = {nullptr, "34.680", "30.678", "34.038"};
    for (int methode = 1; methode < 4; ++methode) {
        SCOPED_TRACE(testing::Message() << "m_Methode " << methode);
        sink.Clear();
        SetUpCase(methode, 100.0f);
        sink.Answers({Answer::Yes});
        doc.CheckOilGravity();
        ASSERT_EQ(sink.Log().size(), 1u);
        EXPECT_EQ(sink.Log()[0].text.rfind("AENDERUNG DER OELDICHTE(GRAD API)\n", 0), 0u);
        EXPECT_NE(sink.Log()[0].text.find(std::string("Neuer WERT                 :") +
                                          expected[methode]),
                  std::string::npos);
        EXPECT_THAT(doc.m_API, RoundsTo(expected[methode]));
    }
}

TEST_F(OilGravityCheck, AnUnchangedValueAsksNothing) {
    for (int methode = 1; methode < 4; ++methode) {
        sink.Clear();
        SetUpCase(methode, 100.0f);
        doc.m_API = doc.ApiFromGOR();
        doc.CheckOilGravity();
        EXPECT_TRUE(sink.Log().empty()) << "m_Methode " << methode;
    }
}

// A negative measured ratio has no API gravity: nothing is offered, the case
// keeps its value.
TEST_F(OilGravityCheck, ARatioWithoutApiGravityIsNotOffered) {
    for (int methode = 0; methode < 4; ++methode) {
        SCOPED_TRACE(testing::Message() << "m_Methode " << methode);
        sink.Clear();
        SetUpCase(methode, -50.0f);
        sink.Answers({Answer::Yes, Answer::Yes});
        EXPECT_EQ(doc.ApiFromGOR(), 35.0f);
        doc.CheckOilGravity();
        EXPECT_TRUE(sink.Log().empty());
        EXPECT_EQ(doc.m_API, 35.0f);
    }
}

TEST_F(OilGravityCheck, ANonPositiveGasGravityIsNotOffered) {
    for (int methode = 0; methode < 4; ++methode) {
        sink.Clear();
        SetUpCase(methode, 100.0f);
        doc.m_GasRelDichte = 0.0;
        sink.Answers({Answer::Yes, Answer::Yes});
        doc.CheckOilGravity();
        EXPECT_TRUE(sink.Log().empty()) << "m_Methode " << methode;
        EXPECT_EQ(doc.m_API, 35.0f);
    }
}

TEST_F(OilGravityCheck, AnIndexOutsideTheTableChecksWithVasquezBeggs) {
    SetUpCase(7, 100.0f);
    EXPECT_THAT(doc.ApiFromGOR(), RoundsTo("34.680"));
    EXPECT_TRUE(sink.Log().empty());
}

}  // namespace
