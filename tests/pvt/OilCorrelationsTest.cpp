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
        CMorvekDoc doc;
        SetReferenceOil(doc, r.methode);
        const OilCorrelation& c = *FindOilCorrelation(r.methode);
        const double rs = c.Rs(doc, 200.0f);
        EXPECT_THAT(rs, RoundsTo(r.rsBubble));
        EXPECT_THAT(c.Bo(doc, 200.0f, rs), RoundsTo(r.boBubble));
        EXPECT_EQ(c.Rs(doc, 250.0f), rs);
        if (r.boAbove != nullptr) {
            EXPECT_THAT(c.Bo(doc, 250.0f, rs), RoundsTo(r.boAbove));
        }
    }
}

TEST(OilCorrelations, GlasoeMatchesTheReferenceBelowTheBubblePoint) {
    CMorvekDoc doc;
    SetReferenceOil(doc, 0);
    const double rs = doc.RsGlasoe(100.0f);
    EXPECT_THAT(rs, RoundsTo("44.20"));
    EXPECT_THAT(doc.BoGlasoe(100.0f, rs), RoundsTo("1.1355"));
}

TEST(OilCorrelations, CompressibilityMatchesTheReferenceAtTheBubblePoint) {
    CMorvekDoc doc;
    SetReferenceOil(doc, 0);
    EXPECT_THAT(doc.OilCompressibility(200.0f, doc.RsGlasoe(200.0f), 0.7), RoundsTo("2.040e-4"));
}

// Every Rs is flat above the bubble point and rises below it; every Bo rises
// with Rs below the bubble point and falls slightly above it.
TEST(OilCorrelations, BehaveLikeOilAboveAndBelowTheBubblePoint) {
    for (int methode = 0; methode < 4; ++methode) {
        SCOPED_TRACE(testing::Message() << "m_Methode " << methode);
        CMorvekDoc doc;
        SetReferenceOil(doc, methode);
        const OilCorrelation& c = *FindOilCorrelation(methode);
        const double rsBubble = c.Rs(doc, 200.0f);
        const double boBubble = c.Bo(doc, 200.0f, rsBubble);
        double previousRs = 0.0, previousBo = 0.0;
        for (float p = 10.0f; p <= 200.0f; p += 10.0f) {
            const double rs = c.Rs(doc, p);
            const double bo = c.Bo(doc, p, rs);
            EXPECT_GT(rs, previousRs) << p << " bar";
            EXPECT_GT(bo, previousBo) << p << " bar";
            previousRs = rs;
            previousBo = bo;
        }
        previousBo = boBubble;
        for (float p = 210.0f; p <= 400.0f; p += 10.0f) {
            const double rs = c.Rs(doc, p);
            const double bo = c.Bo(doc, p, rs);
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
    auto at = [](float api, auto member) {
        CMorvekDoc doc;
        SetReferenceOil(doc);
        doc.m_API = api;
        return member(doc);
    };
    const float below = std::nextafter(30.0f, 0.0f);
    const float above = std::nextafter(30.0f, 100.0f);
    auto rsVasquezBeggs = [](const CMorvekDoc& d) { return d.RsVasquezBeggs(150.0f); };
    auto rsKartoatmodjo = [](const CMorvekDoc& d) { return d.RsKartoatmodjo(150.0f); };
    auto boVasquezBeggs = [](const CMorvekDoc& d) { return d.BoVasquezBeggs(150.0f, 50.0); };
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
        ASSERT_NE(FindOilCorrelation(methode), nullptr);
        EXPECT_EQ(FindOilCorrelation(methode)->literature, literature[methode]);
        EXPECT_EQ(&OilCorrelationOrVasquezBeggs(methode), FindOilCorrelation(methode));
    }
    for (int outside : {-1, 4, 99}) {
        EXPECT_EQ(FindOilCorrelation(outside), nullptr);
        EXPECT_EQ(&OilCorrelationOrVasquezBeggs(outside), FindOilCorrelation(1));
    }
}

}  // namespace
