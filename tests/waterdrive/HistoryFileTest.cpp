// The production-history file: columns in any order, dates or days, Gp or
// Rp, every bad line refused with its number, nothing changed by a refusal;
// and the history's round trip through the case file's optional block.

#include <gtest/gtest.h>

#include <string>

#include "model/CaseFile.h"
#include "waterdrive/HistoryFile.h"

namespace morvek {
namespace {

ProductionHistory Parse(const std::string& text, std::vector<std::string>& problems,
                        TableReadStatus expected) {
    ProductionHistory h;
    h.fileName = "unverändert";
    EXPECT_EQ(ParseHistoryText(text, "historie.txt", h, problems), expected) << text;
    return h;
}

TEST(HistoryFile, ReadsColumnsInAnyOrderWithDaysOrDates) {
    std::vector<std::string> problems;
    const ProductionHistory byDays = Parse(
        "np_1000m3;days;pressure_bar;gp_mio_sm3;wp_1000m3\r\n"
        "0;0;250;0;0\r\n"
        "\r\n"
        "100;365;240;9.5;1.5\r\n"
        "220.5;730;231.25;21;4\r\n",
        problems, TableReadStatus::Read);
    ASSERT_EQ(byDays.rows.size(), 3u);
    EXPECT_EQ(byDays.fileName, "historie.txt");
    EXPECT_EQ(byDays.startDate, "");
    EXPECT_FLOAT_EQ(byDays.rows[2].days, 730);
    EXPECT_FLOAT_EQ(byDays.rows[2].pressureBar, 231.25f);
    EXPECT_FLOAT_EQ(byDays.rows[2].np1000m3, 220.5f);
    EXPECT_FLOAT_EQ(byDays.rows[2].gpMioSm3, 21);
    EXPECT_FLOAT_EQ(byDays.rows[2].wp1000m3, 4);
    EXPECT_EQ(byDays.rows[2].wi1000m3, 0);  // optional columns default to 0
    EXPECT_TRUE(byDays.rows[0].IsInitialState());

    // Dates (day 0 is the first row's, across a leap day), Rp instead of Gp,
    // tabs and blanks, a byte-order mark.
    const ProductionHistory byDates = Parse(
        "\xEF\xBB\xBF" "date\tpressure_bar  np_1000m3 rp_sm3_per_m3 gi_mio_sm3\n"
        "2019-12-31\t240  100 95 0\n"
        "2020-03-01\t230  200 110 2.5\n",
        problems, TableReadStatus::Read);
    ASSERT_EQ(byDates.rows.size(), 2u);
    EXPECT_EQ(byDates.startDate, "2019-12-31");
    EXPECT_FLOAT_EQ(byDates.rows[0].days, 0);
    EXPECT_FLOAT_EQ(byDates.rows[1].days, 61);  // 31 of January, 29 of February, 1
    // Gp = Rp Np: 95 sm3/m3 times 100 thousand m3 = 9.5 million sm3.
    EXPECT_FLOAT_EQ(byDates.rows[0].gpMioSm3, 9.5f);
    EXPECT_FLOAT_EQ(byDates.rows[1].gpMioSm3, 22.0f);
    EXPECT_FLOAT_EQ(byDates.rows[1].giMioSm3, 2.5f);
}

TEST(HistoryFile, RefusesEveryBadLineWithItsNumberAndChangesNothing) {
    const struct {
        const char* text;
        const char* problem;  // a part of the first message
    } cases[] = {
        {"days;pressure_bar;np_1000m3;gp_mio_sm3\n0;250;0;0\n365;240;100;9\n200;235;150;12\n",
         "Zeile 4: Die Zeit 200 Tage liegt nicht nach"},
        {"days;pressure_bar;np_1000m3;gp_mio_sm3\n365;240;100;9\n730;235;90;12\n",
         "Zeile 3: Die kumulative Ölförderung fällt von 100 auf 90"},
        {"days;pressure_bar;np_1000m3;gp_mio_sm3;wp_1000m3\n365;240;100;9;5\n730;235;190;12;4\n",
         "Zeile 3: Die kumulative Wasserförderung fällt"},
        {"days;pressure_bar;np_1000m3\n0;250;0\n", "Zeile 1: die Spalte gp_mio_sm3 oder rp_sm3_per_m3 fehlt"},
        {"pressure_bar;np_1000m3;gp_mio_sm3\n250;0;0\n", "Zeile 1: die Spalte days oder date fehlt"},
        {"days;date;pressure_bar;np_1000m3;gp_mio_sm3\n", "schließen einander aus"},
        {"days;pressure;np_1000m3;gp_mio_sm3\n", "Zeile 1: unbekannte Spalte \"pressure\""},
        {"days;days;pressure_bar;np_1000m3;gp_mio_sm3\n", "Zeile 1: die Spalte days steht zweimal"},
        {"days;pressure_bar;np_1000m3;gp_mio_sm3\n0;nan;0;0\n", "Zeile 2: \"nan\" ist keine Zahl"},
        {"days;pressure_bar;np_1000m3;gp_mio_sm3\n0;250,5;0;0\n", "Dezimalpunkt statt Komma"},
        {"days;pressure_bar;np_1000m3;gp_mio_sm3\n0;250;0\n", "Zeile 2: 3 Werte statt 4"},
        {"days;pressure_bar;np_1000m3;gp_mio_sm3\n0;0;0;0\n", "Der Druck 0 bar muß größer als 0"},
        {"days;pressure_bar;np_1000m3;gp_mio_sm3\n-1;250;0;0\n", "darf nicht negativ"},
        {"date;pressure_bar;np_1000m3;gp_mio_sm3\n2021-02-29;250;0;0\n", "kein Datum"},
        {"date;pressure_bar;np_1000m3;gp_mio_sm3\n2021-03-01;250;0;0\n2021-03-01;240;5;1\n",
         "Zeile 3: Das Datum 2021-03-01 liegt nicht nach"},
        {"days;pressure_bar;np_1000m3;gp_mio_sm3\n", "keine Zeile mit Werten"},
        {"", "Die Datei ist leer"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> problems;
        const ProductionHistory h = Parse(c.text, problems, TableReadStatus::Refused);
        ASSERT_FALSE(problems.empty()) << c.text;
        EXPECT_NE(problems.front().find(c.problem), std::string::npos)
            << c.text << " gave " << problems.front();
        EXPECT_EQ(h.fileName, "unverändert");
        EXPECT_TRUE(h.rows.empty());
    }
}

TEST(HistoryFile, TakesTenThousandRowsAndRefusesOneMore) {
    std::string text = "days pressure_bar np_1000m3 gp_mio_sm3\n";
    for (int i = 0; i < kMaxHistoryRows; ++i)
        text += std::to_string(i) + " 250 " + std::to_string(i) + " 0\n";
    std::vector<std::string> problems;
    EXPECT_EQ(Parse(text, problems, TableReadStatus::Read).rows.size(), size_t{kMaxHistoryRows});
    text += "10000 250 10000 0\n";
    Parse(text, problems, TableReadStatus::Refused);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0], "Zeile 10002: mehr als 10000 Zeilen.");
}

TEST(HistoryFile, RowsFromAScriptAreCheckedAsTheFileIs) {
    std::vector<std::string> problems;
    ProductionHistory h;
    std::vector<HistoryRow> rows = {{0, 250, 0, 0, 0, 0, 0}, {365, 240, 100, 9, 0, 0, 0}};
    EXPECT_EQ(HistoryFromRows(rows, "aus Python", "2001-01-01", h, problems), TableReadStatus::Read);
    EXPECT_EQ(h.startDate, "2001-01-01");
    rows[1].days = 0;
    ProductionHistory unchanged = h;
    EXPECT_EQ(HistoryFromRows(rows, "aus Python", "", h, problems), TableReadStatus::Refused);
    EXPECT_NE(problems.at(0).find("Zeile 2"), std::string::npos);
    EXPECT_TRUE(SameHistory(h, unchanged));
    EXPECT_EQ(HistoryFromRows({}, "x", "2001-02-30", h, problems), TableReadStatus::Refused);
}

TEST(HistoryFile, DayNumbersFollowTheCalendar) {
    EXPECT_EQ(DayNumber("1970-01-01"), 0);
    EXPECT_EQ(DayNumber("2000-03-01") - DayNumber("2000-02-28"), 2);  // 2000 is a leap year
    EXPECT_EQ(DayNumber("1900-03-01") - DayNumber("1900-02-28"), 1);  // 1900 is not
    EXPECT_EQ(DateOfDayNumber(DayNumber("2024-12-31")), "2024-12-31");
}

// A case with a history and an aquifer saves and loads bit for bit; without
// them it is written exactly as before.
TEST(HistoryFile, TravelsInTheCaseFileBlock) {
    CaseInputs in;
    std::string plain, problem;
    ASSERT_TRUE(EncodeCaseFile(in, plain, problem));
    EXPECT_EQ(plain.size(), 115u);

    in.aquiferModel = 4;
    in.aquiferPermeabilityMd = 200;
    std::vector<std::string> problems;
    ProductionHistory h;
    ASSERT_EQ(ParseHistoryText("date pressure_bar np_1000m3 gp_mio_sm3 wi_1000m3\n"
                               "2001-01-01 250 0 0 0\n2002-01-01 240 100 9.5 3\n",
                               "dake.txt", h, problems),
              TableReadStatus::Read);
    in.history = h;
    std::string bytes;
    ASSERT_TRUE(EncodeCaseFile(in, bytes, problem)) << problem;
    EXPECT_GT(bytes.size(), plain.size());
    CaseInputs back;
    ASSERT_TRUE(DecodeCaseFile(bytes, back));
    EXPECT_TRUE(back == in);
    std::string again;
    ASSERT_TRUE(EncodeCaseFile(back, again, problem));
    EXPECT_EQ(again, bytes);

    // A history the reader would refuse is never written.
    in.history->rows[1].np1000m3 = -1;
    EXPECT_FALSE(EncodeCaseFile(in, again, problem));
    EXPECT_NE(problem.find("Produktionshistorie"), std::string::npos);
}

}  // namespace
}  // namespace morvek
