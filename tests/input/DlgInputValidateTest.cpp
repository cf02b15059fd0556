#include <gtest/gtest.h>

#include <functional>

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

// One press of OK on the dialog as each case leaves it: accepted without a
// word, or refused with exactly this message.
TEST(DialogValidate, EachCheckAcceptsOrRefusesWithItsMessage) {
    using Setup = std::function<void(OpenDialog&)>;
    using Said = std::vector<std::string>;
    const std::string ooipRange = OutOfRangeMessage(*FindField("m_OOIP"));
    auto typed = [](std::vector<std::pair<const char*, const char*>> fields) -> Setup {
        return [fields](OpenDialog& o) {
            for (auto [member, text] : fields) o.Type(member, text);
        };
    };
    auto rows = [](std::vector<std::string> r, Setup more = {}) -> Setup {
        return [r, more](OpenDialog& o) {
            o.dialog.m_Messwerte = r;
            if (more) more(o);
        };
    };
    std::vector<std::string> rows301(300, "100 200");
    rows301.push_back("5000.1 200");
    std::vector<std::string> row300Bad(300, "100 200");
    row300Bad[299] = "5000.1 200";
    struct Case {
        const char* what;
        StartCase start;
        Setup setup;
        Said said;  // empty: OK ends the dialog
    };
    const std::vector<Case> cases = {
        {"the Nordfeld case", StartCase::Nordfeld, {}, {}},
        {"a new case's oil in place of 0", StartCase::New, {}, {ooipRange}},
        {"Swi + Sgc = 1", StartCase::Nordfeld, typed({{"m_Swi", "0.3"}, {"m_Sgc", "0.7"}}),
         {"FEHLER!!\nHaftwassersättigung 0.30 + Krit.Gassättigung 0.70 >= 1"}},
        {"Swi + Sgc below 1", StartCase::Nordfeld, typed({{"m_Swi", "0.3"}, {"m_Sgc", "0.69"}}), {}},
        {"Swi 0", StartCase::Nordfeld, typed({{"m_Swi", "0"}}),
         {"Haftwassersättigung swi muß > 0 sein"}},
        {"Swi below 0", StartCase::Nordfeld, typed({{"m_Swi", "-0.1"}}),
         {"Haftwassersättigung swi muß > 0 sein"}},
        {"API 9.85", StartCase::Nordfeld, typed({{"m_API", "9.85"}}), {}},
        {"API 9.84", StartCase::Nordfeld, typed({{"m_API", "9.84"}}),
         {"Öldichte ist > 1. Bitte API-Wert über 10 erhöhen"}},
        {"any composition but none", StartCase::Nordfeld,
         [](OpenDialog& o) {
             o.dialog.m_Gas.fill(0.0f);
             o.dialog.m_Gas[3] = 50.0f;
         },
         {}},
        {"bubble point at the initial pressure", StartCase::Nordfeld,
         typed({{"m_Entloesungsdruck", "250"}}), {}},
        // Without rows, whose production would exceed a small oil in place.
        {"oil in place 0.1", StartCase::Nordfeld, rows({}, typed({{"m_OOIP", "0.1"}})), {}},
        {"oil in place 99000", StartCase::Nordfeld, rows({}, typed({{"m_OOIP", "99000"}})), {}},
        {"oil in place 0.05", StartCase::Nordfeld, typed({{"m_OOIP", "0.05"}}), {ooipRange}},
        {"oil in place 100000", StartCase::Nordfeld, typed({{"m_OOIP", "100000"}}), {ooipRange}},
        {"a row at the oil in place", StartCase::Nordfeld, rows({"5000 250 120"}), {}},
        {"a row above the oil in place", StartCase::Nordfeld, rows({"5000.1 200"}),
         {kRowsTooMuchOil}},
        {"a row with one number ends the row checks", StartCase::Nordfeld,
         rows({"100 200", "1.5", "5000.1 200"}), {}},
        {"only the first 300 rows are checked", StartCase::Nordfeld, rows(rows301), {}},
        {"the 300th row is checked", StartCase::Nordfeld, rows(row300Bad),
         {"FEHLER!!\n300.Meßwertzeile: Kum.Produktion 5000.1 > OOIP 5000.0"}},
        {"negative values in a row", StartCase::Nordfeld, rows({"100 240", "-50 200 -7"}),
         {"FEHLER!!\n2.Meßwertzeile: Bitte einen Wert ab 0 eingeben: \"Kum.Ölproduktion (1000 "
          "m3)\"."}},
        // The list sorts the rows: the case's first row stands third there,
        // and the message names it so.
        {"a row named as the list shows it", StartCase::Nordfeld,
         rows({"5000.1 200", "200 230", "300 220"},
              [](OpenDialog& o) {
                  o.dialog.m_MesswertListe.Clear();
                  o.dialog.m_MesswertListe.AddSorted("200 230");
                  o.dialog.m_MesswertListe.AddSorted("300 220");
                  o.dialog.m_MesswertListe.AddSorted("5000.1 200");
                  ASSERT_EQ(o.dialog.m_MesswertListe.Text(2), "5000.1 200");
              }),
         {"FEHLER!!\n3.Meßwertzeile: Kum.Produktion 5000.1 > OOIP 5000.0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OpenDialog o(c.start);
        if (c.setup) c.setup(o);
        EXPECT_EQ(Ok(o), c.said.empty());
        EXPECT_EQ(o.sink.Texts(), c.said);
    }
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
