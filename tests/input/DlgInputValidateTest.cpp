#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "ExampleCases.h"
#include "base/Format.h"
#include "input/ExchangeTable.h"
#include "support/ScriptedMessageSink.h"

namespace {

// OK pressed on the open dialog: true when the dialog ends; what it said is
// in the sink.
bool Ok(OpenDialog& o) {
    o.sink.Clear();
    return o.dialog.Validate();
}

// Row messages say which row: here the first of the case's rows.
const char* const kRowsTooMuchOil =
    "FEHLER!!\n1.Meßwertzeile: Kum.Produktion 5000.1 > OOIP 5000.0";

}  // namespace

TEST(DialogValidate, AcceptsTheNordfeldCaseWithoutAWord) {
    OpenDialog o;
    EXPECT_TRUE(Ok(o));
    EXPECT_TRUE(o.sink.Log().empty());
}

TEST(DialogValidate, ShowsOnlyTheFirstFailingCheckInItsOrder) {
    OpenDialog o;
    o.dialog.m_Messwerte = {"5000.1 200", "100 260"};
    o.Type("m_Entloesungsdruck", "260");
    o.Type("m_Swi", "0");
    o.Type("m_Sgc", "1");
    o.Type("m_API", "9");
    o.controls.radios[ctl::kMethode] = -1;
    for (int i = 0; i < kGasComponents; ++i) o.Type(Format("m_Gas[%d]", i), "0");
    o.dialog.RecomputeGasSum();

    std::vector<std::string> said;
    auto okOnce = [&] {
        EXPECT_FALSE(Ok(o));
        EXPECT_EQ(o.sink.Log().size(), 1u);
        said.push_back(o.sink.Texts().front());
    };
    okOnce();
    o.dialog.m_Messwerte[0] = "4000 200";
    okOnce();
    o.dialog.m_Messwerte[1] = "100 250";
    okOnce();
    o.Type("m_Entloesungsdruck", "250");
    okOnce();
    o.Type("m_Sgc", "0.05");
    okOnce();
    o.Type("m_Swi", "0.2");
    okOnce();
    o.Type("m_C1", "50");
    o.dialog.RecomputeGasSum();
    okOnce();
    o.Type("m_API", "35");
    okOnce();
    o.controls.radios[ctl::kMethode] = 1;
    EXPECT_TRUE(Ok(o));

    const std::vector<std::string> expected = {
        kRowsTooMuchOil,
        "FEHLER!!\n2.Meßwertzeile: Druck 260.0 > Initialdruck 250.0",
        "FEHLER!!\nEntlösungsdruck 260.0 > Initialdruck 250.0",
        "FEHLER!!\nHaftwassersättigung 0.00 + Krit.Gassättigung 1.00 >= 1",
        "Haftwassersättigung swi muß > 0 sein",
        "Bitte Gaszusammensetzung eingeben",
        "Öldichte ist > 1. Bitte API-Wert über 10 erhöhen",
        "Bitte eine Korrelationsmethode auswählen.",
    };
    EXPECT_EQ(said, expected);
}

TEST(DialogValidate, SaturationsAddingUpToOneAreRefused) {
    OpenDialog o;
    o.Type("m_Swi", "0.3");
    o.Type("m_Sgc", "0.7");
    EXPECT_FALSE(Ok(o));
    EXPECT_EQ(o.sink.Texts(), std::vector<std::string>{
                                  "FEHLER!!\nHaftwassersättigung 0.30 + Krit.Gassättigung 0.70 >= 1"});
    o.Type("m_Sgc", "0.69");
    EXPECT_TRUE(Ok(o));
}

TEST(DialogValidate, WaterSaturationMustBeAboveZero) {
    for (const char* swi : {"0", "-0.1"}) {
        OpenDialog o;
        o.Type("m_Swi", swi);
        EXPECT_FALSE(Ok(o));
        EXPECT_EQ(o.sink.Texts(), std::vector<std::string>{"Haftwassersättigung swi muß > 0 sein"});
    }
}

TEST(DialogValidate, ApiGravityBoundIs9Point85) {
    OpenDialog o;
    o.Type("m_API", "9.85");
    EXPECT_TRUE(Ok(o));
    o.Type("m_API", "9.84");
    EXPECT_FALSE(Ok(o));
    EXPECT_EQ(o.sink.Texts(),
              std::vector<std::string>{"Öldichte ist > 1. Bitte API-Wert über 10 erhöhen"});
}

TEST(DialogValidate, AnyCompositionOtherThanZeroPasses) {
    OpenDialog o;
    o.dialog.m_Gas.fill(0.0f);
    o.dialog.m_Gas[3] = 50.0f;
    EXPECT_TRUE(Ok(o));
}

TEST(DialogValidate, BubblePointEqualToInitialPressurePasses) {
    OpenDialog o;
    o.Type("m_Entloesungsdruck", "250");
    EXPECT_TRUE(Ok(o));
}

TEST(DialogValidate, OilInPlaceBoundsAreCheckedWhenReading) {
    for (const char* ooip : {"0.1", "99000"}) {
        OpenDialog o;
        o.dialog.m_Messwerte.clear();  // no measured production above the small oil in place
        o.Type("m_OOIP", ooip);
        EXPECT_TRUE(Ok(o)) << ooip;
    }
    for (const char* ooip : {"0.05", "100000"}) {
        OpenDialog o;
        o.Type("m_OOIP", ooip);
        // The fault is reported once; the dialog stays open.
        EXPECT_FALSE(Ok(o)) << ooip;
        const std::string range = OutOfRangeMessage(*FindField("m_OOIP"));
        EXPECT_EQ(o.sink.Texts(), (std::vector<std::string>{range}));
    }
}

TEST(DialogValidate, AFieldThatCannotBeReadIsTheOnlyMessage) {
    OpenDialog o(StartCase::New);
    EXPECT_FALSE(Ok(o));
    EXPECT_EQ(o.sink.Texts(), (std::vector<std::string>{OutOfRangeMessage(*FindField("m_OOIP"))}));
}

TEST(DialogValidate, EachBadFieldIsReportedOnce) {
    const std::pair<const char*, const char*> faults[] = {
        {"m_OOIP", "abc"}, {"m_Temperatur", ""}, {"m_KroMax", "1.5"}, {"m_Initialdruck", "2000"}};
    for (auto [member, text] : faults) {
        OpenDialog o;
        o.Type(member, text);
        EXPECT_FALSE(Ok(o)) << member;
        EXPECT_EQ(o.sink.Log().size(), 1u) << member;
        EXPECT_EQ(o.controls.focus.size(), 1u) << member;
    }
}

TEST(DialogValidate, MessagesQuoteTheValuesNowInTheFields) {
    OpenDialog o;
    o.Type("m_Swi", "0.3");
    o.Type("m_Sgc", "0.7");
    EXPECT_FALSE(Ok(o));
    o.Type("m_Sgc", "0.05");
    o.Type("m_KroMax", "1.5");
    EXPECT_FALSE(Ok(o));
    EXPECT_EQ(o.sink.Texts(), std::vector<std::string>{OutOfRangeMessage(*FindField("m_KroMax"))});
    o.Type("m_KroMax", "0.8");
    EXPECT_TRUE(Ok(o));
    EXPECT_TRUE(o.sink.Log().empty());
    EXPECT_EQ(o.dialog.m_Sgc, 0.05f);
}

TEST(DialogValidate, RefusingMessagesAreWarnings) {
    struct WarnSink : ScriptedMessageSink {
        void Warn(const std::string& text) override { warned.push_back(text); }
        std::vector<std::string> warned;
    } warnings;
    OpenDialog o;
    o.dialog.SetPorts(&warnings, &o.controls, nullptr);
    o.Type("m_Entloesungsdruck", "260");
    EXPECT_FALSE(o.dialog.Validate());
    o.Type("m_Entloesungsdruck", "abc");
    EXPECT_FALSE(o.dialog.Validate());
    EXPECT_EQ(warnings.warned.size(), 2u);
    EXPECT_TRUE(warnings.Log().empty());
}

TEST(DialogValidate, ARowMessageNamesTheRowAsTheListShowsIt) {
    OpenDialog o;
    // The list sorts the rows; the first row of the case stands third there.
    o.dialog.m_Messwerte = {"5000.1 200", "200 230", "300 220"};
    o.dialog.m_MesswertListe.Clear();
    o.dialog.m_MesswertListe.AddSorted("200 230");
    o.dialog.m_MesswertListe.AddSorted("300 220");
    o.dialog.m_MesswertListe.AddSorted("5000.1 200");
    ASSERT_EQ(o.dialog.m_MesswertListe.Text(2), "5000.1 200");
    EXPECT_FALSE(Ok(o));
    EXPECT_EQ(o.sink.Texts(),
              std::vector<std::string>{
                  "FEHLER!!\n3.Meßwertzeile: Kum.Produktion 5000.1 > OOIP 5000.0"});
}

TEST(DialogValidate, RowEqualToOilInPlacePassesAndAboveIsRefused) {
    OpenDialog o;
    o.dialog.m_Messwerte = {"5000 250 120"};
    EXPECT_TRUE(Ok(o));
    o.dialog.m_Messwerte = {"5000.1 200"};
    EXPECT_FALSE(Ok(o));
    EXPECT_EQ(o.sink.Texts(), std::vector<std::string>{kRowsTooMuchOil});
}

TEST(DialogValidate, RowWithOneNumberEndsTheRowChecks) {
    OpenDialog o;
    o.dialog.m_Messwerte = {"100 200", "1.5", "5000.1 200"};
    EXPECT_TRUE(Ok(o));
}

TEST(DialogValidate, OnlyTheFirst300RowsAreChecked) {
    OpenDialog o;
    o.dialog.m_Messwerte.assign(300, "100 200");
    o.dialog.m_Messwerte.push_back("5000.1 200");
    EXPECT_TRUE(Ok(o));
    o.dialog.m_Messwerte[299] = "5000.1 200";
    EXPECT_FALSE(Ok(o));
    EXPECT_EQ(o.sink.Texts(), std::vector<std::string>{
                                  "FEHLER!!\n300.Meßwertzeile: Kum.Produktion 5000.1 > OOIP 5000.0"});
}

TEST(DialogValidate, NegativeValuesInACaseRowAreRefused) {
    OpenDialog o;
    o.dialog.m_Messwerte = {"100 240", "-50 200 -7"};
    EXPECT_FALSE(Ok(o));
    ASSERT_EQ(o.sink.Texts().size(), 1u);
    EXPECT_NE(o.sink.Texts()[0].find("Bitte einen Wert ab 0"), std::string::npos)
        << o.sink.Texts()[0];
}

// A message never contradicts the fields: the values show with as many
// decimals as it takes to tell them apart (250.04 against 250), the
// saturations name their fields as the dialog does, and the field to correct
// gets the focus, not the OK button.
TEST(DialogValidate, CrossFieldMessagesTellTheValuesApartNameTheFieldsAndFocusTheField) {
    struct Case {
        std::vector<std::pair<const char*, const char*>> typed;
        const char* message;
        const char* focused;
    };
    const Case cases[] = {
        {{{"m_Entloesungsdruck", "250.04"}},
         "FEHLER!!\nEntlösungsdruck 250.04 > Initialdruck 250.00",
         "m_Entloesungsdruck"},
        {{{"m_Entloesungsdruck", "250.0004"}},
         "FEHLER!!\nEntlösungsdruck 250.0004 > Initialdruck 250.0000",
         "m_Entloesungsdruck"},
        {{{"m_Entloesungsdruck", "260"}},
         "FEHLER!!\nEntlösungsdruck 260.0 > Initialdruck 250.0",
         "m_Entloesungsdruck"},
        {{{"m_Swi", "0.5"}, {"m_Sgc", "0.5"}},
         "FEHLER!!\nHaftwassersättigung 0.50 + Krit.Gassättigung 0.50 >= 1",
         "m_Swi"},
        {{{"m_API", "9"}}, "Öldichte ist > 1. Bitte API-Wert über 10 erhöhen", "m_API"},
    };
    for (const Case& c : cases) {
        OpenDialog o;
        for (auto [member, text] : c.typed) o.Type(member, text);
        o.controls.focus.clear();
        EXPECT_FALSE(Ok(o)) << c.message;
        EXPECT_EQ(o.sink.Texts(), std::vector<std::string>{c.message});
        ASSERT_FALSE(o.controls.focus.empty()) << c.message;
        EXPECT_EQ(o.controls.focus.back(), FindField(c.focused)->controlId) << c.message;
    }
    // A row that holds more oil than the case: the list of rows gets the focus.
    OpenDialog rows;
    rows.dialog.m_Messwerte = {"5000.04 200"};
    rows.controls.focus.clear();
    EXPECT_FALSE(Ok(rows));
    EXPECT_EQ(rows.sink.Texts(), std::vector<std::string>{
                                     "FEHLER!!\n1.Meßwertzeile: Kum.Produktion 5000.04 > OOIP "
                                     "5000.00"});
    EXPECT_EQ(rows.controls.focus, std::vector<int>{1032});
}
