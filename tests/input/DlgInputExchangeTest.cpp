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

TEST(DialogExchange, ShowsFloatsWithSixSignificantDigitsAndTheChoices) {
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

TEST(DialogExchange, NewCaseStopsAtOilInPlaceAndKeepsTheFieldsBelow) {
    OpenDialog o(StartCase::New);
    o.Type("m_KrgMax", "0.5");  // above oil in place: taken
    o.Type("m_Initialdruck", "250");
    o.Type("m_H2S", "12");
    EXPECT_FALSE(o.dialog.UpdateData(true));
    EXPECT_EQ(o.sink.Texts(), std::vector<std::string>{OutOfRangeMessage(Field("m_OOIP"))});
    EXPECT_EQ(o.controls.focus, std::vector<int>{ctl::kOOIP});
    EXPECT_EQ(o.dialog.m_KrgMax, 0.5f);
    EXPECT_EQ(o.dialog.m_Initialdruck, 1.0f);
    EXPECT_EQ(o.dialog.m_H2S, 0.0f);
    EXPECT_EQ(o.dialog.m_C1, 100.0f);
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
            EXPECT_EQ(o.dialog.*f.floatMember, expected) << c.member;
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
        EXPECT_EQ(o.sink.Texts(), std::vector<std::string>{NotANumberMessage(Field("m_API"))});
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
    EXPECT_EQ(o.sink.Texts(), std::vector<std::string>{UnstorableTextMessage(Field("m_Feldname"))});
    EXPECT_EQ(o.controls.focus, std::vector<int>{ctl::kFeldname});
    EXPECT_EQ(o.dialog.m_Feldname, "Nordfeld");
    EXPECT_EQ(o.dialog.m_KrgMax, 0.6f);
    EXPECT_EQ(UnstorableTextMessage(Field("m_Feldname")),
              "Das Feld \"Feldesname\" enthält ein Zeichen, das nicht gespeichert werden kann.\n"
              "Bitte nur westeuropäische Zeichen verwenden.");
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
