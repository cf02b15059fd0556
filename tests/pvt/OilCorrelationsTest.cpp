#include <gtest/gtest.h>

#include <string>

#include "PvtTestCases.h"
#include "pvt/OilCorrelations.h"

namespace {

struct CorrelationReference {
    int methode;
    const char *rsBubble, *boBubble;  // at the bubble point, 200 bar
    const char* boAbove;              // at 250 bar, nullptr: no reference printed
};

const CorrelationReference kAtBubblePoint[] = {
    {0, "96.96", "1.2841", "1.2736"},
    {1, "101.18", "1.3436", nullptr},
    {2, "116.13", "1.3756", "1.3628"},
    {3, "103.98", "1.3303", nullptr},
};

TEST(OilCorrelations, MatchTheReferencesAtAndAboveTheBubblePoint) {
    for (const CorrelationReference& r : kAtBubblePoint) {
        SCOPED_TRACE(testing::Message() << "m_Methode " << r.methode);
        const morvek::OilParameters oil = ReferenceOil(r.methode);
        const double rs = morvek::Rs(200.0f, oil);
        EXPECT_THAT(rs, RoundsTo(r.rsBubble));
        EXPECT_THAT(morvek::Bo(200.0f, rs, oil), RoundsTo(r.boBubble));
        EXPECT_EQ(morvek::Rs(250.0f, oil), rs);
        if (r.boAbove != nullptr) {
            EXPECT_THAT(morvek::Bo(250.0f, rs, oil), RoundsTo(r.boAbove));
        }
    }
}

TEST(OilCorrelations, GlasoeMatchesTheReferenceBelowTheBubblePoint) {
    const morvek::OilParameters oil = ReferenceOil(0);
    const double rs = morvek::RsGlasoe(100.0f, oil);
    EXPECT_THAT(rs, RoundsTo("44.20"));
    EXPECT_THAT(morvek::BoGlasoe(100.0f, rs, oil), RoundsTo("1.1355"));
}

TEST(OilCorrelations, CompressibilityMatchesTheReferenceAtTheBubblePoint) {
    const morvek::OilParameters oil = ReferenceOil(0);
    EXPECT_THAT(morvek::OilCompressibility(200.0f, morvek::RsGlasoe(200.0f, oil), oil),
                RoundsTo("2.040e-4"));
}

// Every Rs is flat above the bubble point and rises below it; every Bo rises
// with Rs below the bubble point and falls slightly above it.
TEST(OilCorrelations, BehaveLikeOilAboveAndBelowTheBubblePoint) {
    for (int methode = 0; methode < 4; ++methode) {
        SCOPED_TRACE(testing::Message() << "m_Methode " << methode);
        const morvek::OilParameters oil = ReferenceOil(methode);
        const double rsBubble = morvek::Rs(200.0f, oil);
        const double boBubble = morvek::Bo(200.0f, rsBubble, oil);
        double previousRs = 0.0, previousBo = 0.0;
        for (float p = 10.0f; p <= 200.0f; p += 10.0f) {
            const double rs = morvek::Rs(p, oil);
            const double bo = morvek::Bo(p, rs, oil);
            EXPECT_GT(rs, previousRs) << p << " bar";
            EXPECT_GT(bo, previousBo) << p << " bar";
            previousRs = rs;
            previousBo = bo;
        }
        previousBo = boBubble;
        for (float p = 210.0f; p <= 400.0f; p += 10.0f) {
            const double rs = morvek::Rs(p, oil);
            const double bo = morvek::Bo(p, rs, oil);
            EXPECT_EQ(rs, rsBubble) << p << " bar";
            EXPECT_LT(bo, previousBo) << p << " bar";
            EXPECT_GT(bo, 0.95 * boBubble) << p << " bar";
            previousBo = bo;
        }
    }
}

// An API gravity of exactly 30 belongs to the heavy-oil coefficients: the
// value there continues the curve from below and jumps just above it.
TEST(OilCorrelations, ThirtyApiUsesTheHeavyOilCoefficients) {
    auto at = [](float api, auto member) { return member(ReferenceOil(0, api)); };
    const float below = std::nextafter(30.0f, 0.0f);
    const float above = std::nextafter(30.0f, 100.0f);
    using morvek::OilParameters;
    auto rsVasquezBeggs = [](const OilParameters& o) { return morvek::RsVasquezBeggs(150.0f, o); };
    auto rsKartoatmodjo = [](const OilParameters& o) { return morvek::RsKartoatmodjo(150.0f, o); };
    auto boVasquezBeggs = [](const OilParameters& o) {
        return morvek::BoVasquezBeggs(150.0f, 50.0, o);
    };
    for (auto f : {+rsVasquezBeggs, +rsKartoatmodjo, +boVasquezBeggs}) {
        const double atThirty = at(30.0f, f);
        EXPECT_NEAR(atThirty, at(below, f), 1e-5 * atThirty);
        EXPECT_GT(std::fabs(at(above, f) - atThirty), 1e-3 * atThirty);
    }
}

TEST(OilCorrelations, SelectsByIndexWithVasquezBeggsForAnyOtherIndex) {
    const std::string literature[] = {"Glasoe JPT Mai 1980 S.785",
                                      "Vasquez U.Beggs JPT Juni 1980 S.968",
                                      "Standing DRILL. und PROD.PRAC.,API 1947 S.275",
                                      "Kartoatmodjo und Schmidt OGJ Juli 1994 S.51"};
    for (int methode = 0; methode < 4; ++methode) {
        EXPECT_EQ(morvek::CorrelationLiterature(morvek::CorrelationOf(methode)),
                  literature[methode]);
        EXPECT_EQ(std::string(morvek::CorrelationReportName(methode)).size(), 15u);
    }
    for (int outside : {-1, 4, 99}) {
        EXPECT_EQ(morvek::CorrelationOf(outside), morvek::OilCorrelationId::VasquezBeggs);
        EXPECT_STREQ(morvek::CorrelationReportName(outside), "");
        EXPECT_EQ(morvek::Rs(150.0f, ReferenceOil(outside)), morvek::Rs(150.0f, ReferenceOil(1)));
    }
}

}  // namespace
