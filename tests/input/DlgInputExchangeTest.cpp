#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "ExampleCases.h"
#include "base/NumberText.h"
#include "input/ExchangeTable.h"
#include "support/ScriptedMessageSink.h"

namespace {

const ExchangeField& Field(const char* member) {
    const ExchangeField* f = FindField(member);
    EXPECT_NE(f, nullptr) << member;
    return *f;
}

}  // namespace

TEST(DialogExchange, ShowsFloatsWithSixSignificantDigitsAndAFieldLeftAsShownKeepsItsValue) {
    OpenDialog o;
    o.dialog.m_OOIP = 1234.5678f;
    o.dialog.m_API = 0.1f;
    o.dialog.m_Methode = -1;
    o.dialog.m_bRelPermAusgabe = 1;
    o.dialog.UpdateData(false);
    EXPECT_EQ(o.controls.texts[ctl::kOOIP], "1234.57");
    EXPECT_EQ(o.controls.texts[ctl::kAPI], "0.1");
    EXPECT_EQ(o.controls.texts[ctl::kFeldname], "Nordfeld");
    EXPECT_EQ(o.controls.radios[ctl::kMethode], -1);
    EXPECT_TRUE(o.controls.checks[ctl::kRelPerm]);
    EXPECT_FALSE(o.controls.checks[ctl::kPVT]);
    EXPECT_TRUE(o.sink.Log().empty());

    // Read back untouched, a field keeps the value it shows rounded (a
    // fitted value has more digits than six); an edited one takes the text.
    ASSERT_TRUE(o.dialog.UpdateData(true));
    EXPECT_EQ(o.dialog.m_OOIP, 1234.5678f);
    o.controls.texts[ctl::kOOIP] = "1234.58";
    o.controls.texts[ctl::kAPI] = "0.10";
    ASSERT_TRUE(o.dialog.UpdateData(true));
    EXPECT_EQ(o.dialog.m_OOIP, 1234.58f);
    EXPECT_EQ(o.dialog.m_API, 0.1f);
}

TEST(DialogExchange, ReadsEveryFieldBackAsShown) {
    OpenDialog o;
    o.controls.texts[ctl::kOOIP] = " 4500.5 ";
    o.controls.texts[ctl::kFeldname] = "Südfeld €";
    o.controls.radios[ctl::kMethode] = 3;
    o.controls.checks[ctl::kPVT] = true;
    ASSERT_TRUE(o.dialog.UpdateData(true));
    EXPECT_EQ(o.dialog.m_OOIP, 4500.5f);
    EXPECT_EQ(o.dialog.m_Feldname, "Südfeld €");
    EXPECT_EQ(o.dialog.m_Methode, 3);
    EXPECT_EQ(o.dialog.m_bPVTAusgabe, 1);
    EXPECT_EQ(o.dialog.m_C1, 82.0f);
    EXPECT_TRUE(o.controls.focus.empty());
}

TEST(DialogExchange, NewCaseReportsOilInPlaceOnceAndTakesEveryOtherField) {
    OpenDialog o(StartCase::New);
    o.Type("m_KrgMax", "0.5");
    o.Type("m_Initialdruck", "250");
    o.Type("m_H2S", "12");
    o.Type("m_Temperatur", "abc");  // a second bad field: not reported this time
    EXPECT_FALSE(o.dialog.UpdateData(true));
    EXPECT_EQ(o.sink.Texts(), std::vector<std::string>{OutOfRangeMessage(Field("m_OOIP"))});
    EXPECT_EQ(o.sink.Log()[0].kind, ScriptedMessageSink::Entry::Shown);
    EXPECT_EQ(o.controls.focus, std::vector<int>{ctl::kOOIP});
    EXPECT_EQ(o.dialog.m_KrgMax, 0.5f);
    EXPECT_EQ(o.dialog.m_Initialdruck, 250.0f);
    EXPECT_EQ(o.dialog.m_H2S, 12.0f);
    EXPECT_EQ(o.dialog.m_Temperatur, 0.0f);
    EXPECT_EQ(o.dialog.m_C1, 100.0f);
    // The fields keep what was typed.
    EXPECT_EQ(o.controls.texts[ctl::kOOIP], "0");
    EXPECT_EQ(o.controls.texts[1018], "abc");
}

TEST(DialogExchange, RangeBoundsAreIncluded) {
    struct Case {
        const char* member;
        const char* text;
        bool accepted;
    };
    const Case cases[] = {
        {"m_OOIP", "0.1", true},           {"m_OOIP", "99000", true},
        {"m_OOIP", "0.05", false},         {"m_OOIP", "100000", false},
        {"m_KrgMax", "0", true},           {"m_KrgMax", "1", true},
        {"m_KrgMax", "1.0001", false},     {"m_KrgMax", "-0.0001", false},
        {"m_Initialdruck", "1", true},     {"m_Initialdruck", "1000", true},
        {"m_Initialdruck", "0.99", false}, {"m_H2S", "100", true},
        {"m_H2S", "100.01", false},        {"m_Swi", "-5", true},
    };
    for (const Case& c : cases) {
        OpenDialog o;
        const ExchangeField& f = Field(c.member);
        o.controls.texts[f.controlId] = c.text;
        EXPECT_EQ(o.dialog.UpdateData(true), c.accepted) << c.member << " " << c.text;
        if (c.accepted) {
            float expected = 0;
            ASSERT_TRUE(ParseFloatStrict(c.text, expected));
            EXPECT_EQ(f.Float(o.dialog), expected) << c.member;
            EXPECT_TRUE(o.sink.Log().empty());
        } else {
            EXPECT_EQ(o.sink.Texts(), std::vector<std::string>{OutOfRangeMessage(f)}) << c.text;
            EXPECT_EQ(o.controls.focus, std::vector<int>{f.controlId});
        }
    }
}

TEST(DialogExchange, RefusesTextsThatAreNotPlainDecimalNumbers) {
    for (const char* text :
         {"nan", "inf", "-inf", "1e999", "0x10", "1,5", "", " ", "12abc", "1e", ".", "+"}) {
        float value = 7.0f;
        EXPECT_FALSE(ParseFloatStrict(text, value)) << text;
        EXPECT_EQ(value, 7.0f);

        OpenDialog o;
        o.controls.texts[ctl::kAPI] = text;
        EXPECT_FALSE(o.dialog.UpdateData(true)) << text;
        // A comma gets the hint that numbers are written with a decimal point.
        const std::string hint =
            std::string(text) == "1,5"
                ? "\nZahlen werden mit Dezimalpunkt geschrieben, zum Beispiel 10.5 statt 10,5."
                : "";
        EXPECT_EQ(o.sink.Texts(),
                  std::vector<std::string>{NotANumberMessage(Field("m_API")) + hint});
        EXPECT_EQ(o.controls.focus, std::vector<int>{ctl::kAPI});
        EXPECT_EQ(o.dialog.m_API, 35.0f);
    }
    for (const char* text : {"1e3", "-2.5", "+.5", "7.", " 3 "}) {
        float value = 0;
        EXPECT_TRUE(ParseFloatStrict(text, value)) << text;
    }
}

TEST(DialogExchange, MessagesNameTheFieldAndItsBounds) {
    EXPECT_EQ(NotANumberMessage(Field("m_API")),
              "Bitte eine Zahl eingeben: \"Öldichte (Grad API)\".");
    EXPECT_EQ(OutOfRangeMessage(Field("m_OOIP")),
              "Bitte einen Wert zwischen 0.1 und 99000 eingeben: "
              "\"Original Oil in Place(1000 m3)\".");
}

TEST(DialogExchange, FieldNameThatCodePage1252CannotHoldIsRefusedWhereTyped) {
    OpenDialog o;
    o.controls.texts[ctl::kFeldname] = "Feld 北";
    o.controls.texts[ctl::kKrgMax] = "0.25";
    EXPECT_FALSE(o.dialog.UpdateData(true));
    EXPECT_EQ(o.sink.Texts(), std::vector<std::string>{UnstorableTextMessage(
                                  Field("m_Feldname"), "Feld 北")});
    EXPECT_EQ(o.controls.focus, std::vector<int>{ctl::kFeldname});
    EXPECT_EQ(o.dialog.m_Feldname, "Nordfeld");
    // The field after it is taken all the same.
    EXPECT_EQ(o.dialog.m_KrgMax, 0.25f);
    // The message names the character.
    EXPECT_EQ(UnstorableTextMessage(Field("m_Feldname"), "Łódź Feld"),
              "Das Feld \"Feldesname\" enthält das Zeichen \"Ł\", das nicht gespeichert werden "
              "kann.\nBitte nur westeuropäische Zeichen verwenden.");
}

TEST(DialogExchange, FieldNameWithAControlCharacterIsRefusedWhereTyped) {
    OpenDialog o;
    o.controls.texts[ctl::kFeldname] = "Nord\x1b[31mfeld";
    EXPECT_FALSE(o.dialog.UpdateData(true));
    EXPECT_EQ(o.sink.Texts(),
              std::vector<std::string>{ControlCharacterMessage(Field("m_Feldname"), "U+001B")});
    EXPECT_EQ(o.controls.focus, std::vector<int>{ctl::kFeldname});
    EXPECT_EQ(o.dialog.m_Feldname, "Nordfeld");
}

TEST(DialogExchange, WithoutControlsReadingSucceedsAndChangesNothing) {
    CMorvekDoc doc;
    FillNordfeld(doc);
    DlgInput dialog = DialogFilledFrom(doc);
    dialog.m_OOIP = 0.0f;  // out of range, but nothing is read
    EXPECT_TRUE(dialog.UpdateData(true));
    EXPECT_TRUE(dialog.UpdateData(false));
    EXPECT_EQ(dialog.m_OOIP, 0.0f);
}

TEST(DialogExchange, PhysicallyImpossibleTemperatureAndGasCapAreRefused) {
    struct Case {
        const char* member;
        const char* text;
        bool accepted;
    };
    const Case cases[] = {
        {"m_Temperatur", "-300", false},   {"m_Temperatur", "-273.15", false},
        {"m_Temperatur", "-273", true},    {"m_Temperatur", "-20", true},
        {"m_Temperatur", "350", true},     {"m_Gaskappe", "-0.5", false},
        {"m_Gaskappe", "1e30", false},     {"m_Gaskappe", "100.01", false},
        {"m_Gaskappe", "0", true},         {"m_Gaskappe", "100", true},
        {"m_Gaskappe", "5", true},
    };
    for (const Case& c : cases) {
        OpenDialog o;
        const ExchangeField& f = Field(c.member);
        o.controls.texts[f.controlId] = c.text;
        EXPECT_EQ(o.dialog.UpdateData(true), c.accepted) << c.member << " " << c.text;
        if (!c.accepted) {
            EXPECT_EQ(o.sink.Texts(), std::vector<std::string>{OutOfRangeMessage(f)}) << c.text;
        }
    }
    EXPECT_EQ(OutOfRangeMessage(Field("m_Temperatur")),
              "Bitte einen Wert über -273.15 eingeben: \"Lagerstättentemperatur (°C)\".");
    EXPECT_EQ(OutOfRangeMessage(Field("m_Gaskappe")),
              "Bitte einen Wert zwischen 0 und 100 eingeben: "
              "\"Porenvol.Gaskappe/Porenvol.Öl ( - )\".");
}
