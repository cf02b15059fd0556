#include <gtest/gtest.h>

#include <cmath>

#include "ExampleCases.h"
#include "base/Format.h"
#include "base/NumberText.h"
#include "case/MorvekDoc.h"
#include "input/CaseSetting.h"
#include "input/ExchangeTable.h"
#include "model/CaseFile.h"
#include "support/ScriptedMessageSink.h"

namespace {

struct NordfeldCase {
    NordfeldCase() { FillNordfeld(doc); }
    // Applies the assignment; when refused, checks that the case is unchanged.
    bool Set(const std::string& assignment) {
        sink.Clear();
        const morvek::CaseInputs before = doc.m_Inputs;
        const int32_t pvt = doc.m_bPVTAusgabe, relPerm = doc.m_bRelPermAusgabe;
        const bool ok = ApplyCaseSetting(doc, assignment, sink);
        if (!ok) {
            EXPECT_TRUE(doc.m_Inputs == before) << assignment;
            EXPECT_EQ(doc.m_bPVTAusgabe, pvt);
            EXPECT_EQ(doc.m_bRelPermAusgabe, relPerm);
            EXPECT_EQ(sink.Log().size(), 1u) << assignment;
        }
        return ok;
    }
    std::string Said() const { return sink.Texts().empty() ? "" : sink.Texts().front(); }
    CMorvekDoc doc;
    ScriptedMessageSink sink;
};

}  // namespace

TEST(CaseSetting, ParsesAndRangeChecksNumbersAsTheDialogDoes) {
    NordfeldCase c;
    EXPECT_TRUE(c.Set("m_OOIP=0.1"));
    EXPECT_EQ(c.doc.m_OOIP, 0.1f);
    EXPECT_TRUE(c.Set("m_OOIP=99000"));
    EXPECT_EQ(c.doc.m_OOIP, 99000.0f);
    EXPECT_TRUE(c.Set("m_Swi=-3"));  // no range in the dialog either
    EXPECT_EQ(c.doc.m_Swi, -3.0f);

    EXPECT_FALSE(c.Set("m_OOIP=100000"));
    EXPECT_EQ(c.Said(), "--set m_OOIP=100000: " + OutOfRangeMessage(*FindField("m_OOIP")));
    for (const char* bad : {"m_API=nan", "m_API=inf", "m_API=1e999", "m_API=0x10", "m_API="}) {
        EXPECT_FALSE(c.Set(bad)) << bad;
        EXPECT_EQ(c.Said(), Format("--set %s: ", bad) + NotANumberMessage(*FindField("m_API")));
    }
    // A comma is never a decimal point; the message says how numbers are written.
    EXPECT_FALSE(c.Set("m_API=1,5"));
    EXPECT_EQ(c.Said(), "--set m_API=1,5: " + NotANumberMessage(*FindField("m_API")) +
                            "\nZahlen werden mit Dezimalpunkt geschrieben, zum Beispiel 10.5 "
                            "statt 10,5.");
    // What is physically impossible is refused as in the dialog.
    EXPECT_FALSE(c.Set("m_Temperatur=-300"));
    EXPECT_EQ(c.Said(),
              "--set m_Temperatur=-300: " + OutOfRangeMessage(*FindField("m_Temperatur")));
    EXPECT_FALSE(c.Set("m_Gaskappe=-0.5"));
    EXPECT_TRUE(c.Set("m_Gaskappe=5"));
}

TEST(CaseSetting, SetsAGasComponentByItsIndex) {
    NordfeldCase c;
    EXPECT_TRUE(c.Set("m_Gas[0]=2.5"));
    EXPECT_EQ(c.doc.m_Gas[0], 2.5f);
    EXPECT_TRUE(c.Set("m_Gas[14]=100"));
    EXPECT_EQ(c.doc.m_Gas[14], 100.0f);
    EXPECT_FALSE(c.Set("m_Gas[3]=101"));
    EXPECT_FALSE(c.Set("m_Gas[15]=1"));
}

TEST(CaseSetting, EveryInputOfTheDialogCanBeSetByItsCaseName) {
    for (const ExchangeField& f : ExchangeTable()) {
        if (f.caseMember == nullptr) continue;
        std::string value;
        switch (f.kind) {
            case FieldKind::Float:
                value = !f.bounded                 ? "7"
                        : std::isinf(f.max) ? FloatForDisplay(f.min + 100)
                                            : FloatForDisplay((f.min + f.max) / 2);
                break;
            case FieldKind::Text:
                value = "Westfeld";
                break;
            default:
                value = "1";
                break;
        }
        NordfeldCase c;
        c.doc.m_bPVTAusgabe = c.doc.m_bRelPermAusgabe = 0;
        const morvek::CaseInputs before = c.doc.m_Inputs;
        ASSERT_TRUE(c.Set(std::string(f.caseMember) + "=" + value)) << f.caseMember;
        const bool changed =
            !(c.doc.m_Inputs == before) || c.doc.m_bPVTAusgabe == 1 || c.doc.m_bRelPermAusgabe == 1;
        EXPECT_TRUE(changed) << f.caseMember;
    }
}

TEST(CaseSetting, FieldNameMustFitCodePage1252) {
    NordfeldCase c;
    EXPECT_TRUE(c.Set("m_Feldname=Ölfeld Süd = 2 €"));
    EXPECT_EQ(c.doc.m_Feldname, "Ölfeld Süd = 2 €");
    EXPECT_FALSE(c.Set("m_Feldname=北海"));
    EXPECT_EQ(c.Said(),
              "--set m_Feldname=北海: Das Feld \"Feldesname\" enthält das Zeichen \"北\", das "
              "nicht gespeichert werden kann.\nBitte nur westeuropäische Zeichen verwenden.");
    EXPECT_FALSE(c.Set("m_Feldname=\xff\xfe"));  // not UTF-8 at all
}

// A control character would split a report line or reach a terminal as a
// command; the message shows the assignment with each as \xNN.
TEST(CaseSetting, FieldNameRefusesControlCharacters) {
    NordfeldCase c;
    const struct {
        const char* value;
        const char* shown;
        const char* code;
    } cases[] = {
        {"a\nb\x1b[31m", "a\\x0Ab\\x1B[31m", "U+000A"},
        {"\t", "\\x09", "U+0009"},
        {"Feld\r", "Feld\\x0D", "U+000D"},
        {"x\x7f", "x\\x7F", "U+007F"},
        {"Nord\u0090feld", "Nord\\xC2\\x90feld", "U+0090"},
        {"\u009d31m", "\\xC2\\x9D31m", "U+009D"},
    };
    for (const auto& t : cases) {
        EXPECT_FALSE(c.Set(std::string("m_Feldname=") + t.value)) << t.shown;
        EXPECT_EQ(c.Said(), std::string("--set m_Feldname=") + t.shown + ": " +
                                ControlCharacterMessage(*FindField("m_Feldname"), t.code));
    }
    EXPECT_EQ(ControlCharacterMessage(*FindField("m_Feldname"), "U+001B"),
              "Das Feld \"Feldesname\" enthält ein Steuerzeichen (U+001B).\n"
              "Bitte nur druckbare Zeichen in einer Zeile eingeben.");
    EXPECT_EQ(c.doc.m_Feldname, "Nordfeld");
}

TEST(CaseSetting, CorrelationIsAWholeNumberFrom0To3) {
    NordfeldCase c;
    EXPECT_TRUE(c.Set("m_Methode=3"));
    EXPECT_EQ(c.doc.m_Methode, 3);
    for (const char* bad : {"m_Methode=4", "m_Methode=-1", "m_Methode=1.0", "m_Methode="})
        EXPECT_FALSE(c.Set(bad)) << bad;
    EXPECT_EQ(c.Said(),
              "--set m_Methode=: Bitte 0 (Glasoe), 1 (Vasquez & Beggs), 2 (Standing) oder 3 "
              "(Kartoatmodjo & Schmidt) eingeben: \"Korrelationsmethode\".");
}

TEST(CaseSetting, OutputBoxesTakeZeroOrOneAndExcludeEachOther) {
    NordfeldCase c;
    EXPECT_TRUE(c.Set("m_bPVTAusgabe=1"));
    EXPECT_TRUE(c.Set("m_bRelPermAusgabe=1"));
    EXPECT_EQ(c.doc.m_bRelPermAusgabe, 1);
    EXPECT_EQ(c.doc.m_bPVTAusgabe, 0);
    EXPECT_TRUE(c.Set("m_bRelPermAusgabe=0"));
    EXPECT_EQ(c.doc.m_bRelPermAusgabe, 0);
    EXPECT_FALSE(c.Set("m_bPVTAusgabe=2"));
    EXPECT_EQ(c.Said(), "--set m_bPVTAusgabe=2: Bitte 0 oder 1 eingeben: \"PVT-Daten ausgeben\".");
}

TEST(CaseSetting, UnknownNameOrMissingValueIsRefusedClearly) {
    NordfeldCase c;
    EXPECT_FALSE(c.Set("m_Ooip=5"));
    EXPECT_EQ(
        c.Said().rfind("--set: unbekannter Name \"m_Ooip\".\nMögliche Namen: m_Gaskappe, ", 0), 0u)
        << c.Said();
    EXPECT_NE(c.Said().find("m_Gas[14]"), std::string::npos);
    // Names that belong to the dialog alone are no inputs of the case.
    EXPECT_FALSE(c.Set("m_C1=5"));
    EXPECT_FALSE(c.Set("m_strSumme=5"));
    EXPECT_FALSE(c.Set("m_OOIP"));
    EXPECT_EQ(c.Said(), "--set erwartet NAME=WERT, nicht \"m_OOIP\".");
}
