// The forecast's inputs in the field table and the case file: read as the
// other inputs are (the date as a date), kept in their own items of the
// optional block, and the water-cut table read and refused as the other
// laboratory tables are (and refused when it falls).

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "base/CalendarDate.h"
#include "model/CaseFile.h"
#include "model/FieldTable.h"
#include "model/LabTables.h"

namespace {

std::string Encode(const morvek::CaseInputs& in) {
    std::string out, problem;
    EXPECT_TRUE(EncodeCaseFile(in, out, problem)) << problem;
    return out;
}

TEST(ForecastInputs, TheStartIsADateAndEveryOtherInputANumberFromZero) {
    const morvek::Field* start = morvek::FindField("forecast_start");
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(morvek::FindField("m_Prognosebeginn"), start);
    EXPECT_TRUE(start->date);
    float v = 1;
    EXPECT_EQ(morvek::ParseDateField(*start, " 2025-01-01 ", v), "");
    EXPECT_EQ(v, 45658.0f);
    EXPECT_EQ(morvek::DateFieldText(v), "2025-01-01");
    EXPECT_EQ(morvek::ParseDateField(*start, "15.03.2030", v), "");
    EXPECT_EQ(morvek::DateFieldText(v), "2030-03-15");
    EXPECT_EQ(morvek::ParseDateField(*start, "0", v), "");
    EXPECT_EQ(v, 0.0f);
    EXPECT_EQ(morvek::DateFieldText(v), "");
    v = 5;
    EXPECT_EQ(morvek::ParseDateField(*start, "2025-02-30", v),
              "Bitte ein Datum als JJJJ-MM-TT zwischen 1900 und 2199 eingeben (zum Beispiel "
              "2025-01-01): \"Beginn der Prognose\".");
    EXPECT_EQ(v, 5.0f);
    for (const char* name :
         {"forecast_years", "time_step_days", "oil_rate_target_m3_per_day",
          "productivity_index_m3_per_day_bar", "min_bottomhole_pressure_bar",
          "max_gor_sm3_per_m3", "max_gas_rate_1000sm3_per_day", "abandonment_rate_m3_per_day",
          "abandonment_pressure_bar"}) {
        const morvek::Field* f = morvek::FindField(name);
        ASSERT_NE(f, nullptr) << name;
        EXPECT_FALSE(f->date);
        EXPECT_EQ(f->controlId, 0) << name << " is not in the data-entry dialog";
        EXPECT_EQ(f->blockItem, morvek::kBlockForecast);
        EXPECT_EQ(morvek::CheckNumber(*f, 0.0f), "") << name;
        EXPECT_NE(morvek::CheckNumber(*f, -1.0f), "") << name;
    }
}

TEST(ForecastInputs, KeptInTheirOwnItemsAndACaseWithoutThemSavesAsBefore) {
    morvek::CaseInputs in;
    in.fieldName = "Prognose";
    const std::string plain = Encode(in);
    EXPECT_EQ(plain.size(), 123u) << "the record alone";

    in.forecastStartDate = 45658.0f;
    in.oilRateTargetM3PerDay = 800.0f;
    in.abandonmentPressureBar = 60.0f;
    morvek::LabWaterCutTable cut;
    std::vector<std::string> problems;
    ASSERT_EQ(morvek::WaterCutTableFromRows({{0, 0}, {10, 0.2f}, {40, 0.9f}}, "wc.txt", cut,
                                            problems),
              morvek::TableReadStatus::Read);
    in.waterCutTable = cut;
    const std::string bytes = Encode(in);
    EXPECT_EQ(bytes.substr(0, plain.size()), plain);
    // Item 8: ten floats; item 9: the name, the count, two floats a row.
    const std::string block = bytes.substr(plain.size());
    EXPECT_EQ(block.substr(10, 6), std::string("\x08\x00\x28\x00\x00\x00", 6));
    const size_t nine = 16 + 40;
    EXPECT_EQ(block.substr(nine, 2), std::string("\x09\x00", 2));
    EXPECT_EQ(block.substr(nine + 6, 7), std::string("\x06wc.txt"));

    morvek::CaseInputs back;
    ASSERT_TRUE(DecodeCaseFile(bytes, back));
    EXPECT_TRUE(back == in);
    EXPECT_EQ(Encode(back), bytes);
    back.waterCutTable.reset();
    EXPECT_FALSE(back == in) << "the table takes part in the comparison";
    back.forecastStartDate = back.oilRateTargetM3PerDay = back.abandonmentPressureBar = 0;
    EXPECT_EQ(Encode(back), plain);

    // A table that falls never reaches a file.
    in.waterCutTable->rows[2].waterCut = 0.1f;
    std::string out, problem;
    EXPECT_FALSE(EncodeCaseFile(in, out, problem));
    EXPECT_EQ(problem, "Die Tabelle des Wasseranteils ist ungültig und kann nicht gespeichert werden.");
}

TEST(WaterCutTable, RefusesAFallingCutAndBadLinesWithTheirNumbers) {
    morvek::LabWaterCutTable table;
    table.fileName = "unverändert";
    std::vector<std::string> problems;
    const std::string text =
        "Entölungsgrad(%); Wasseranteil\n"
        "0; 0\n"
        "20; 0.5\n"
        "30; 0.4\n"
        "40; 1\n"
        "101; 0.9\n"
        "50; 0,9\n";
    EXPECT_EQ(morvek::ParseWaterCutTableText(text, "wc.txt", table, problems),
              morvek::TableReadStatus::Refused);
    EXPECT_EQ(table.fileName, "unverändert");
    ASSERT_EQ(problems.size(), 4u);
    EXPECT_EQ(problems[0], "Zeile 5: Der Wasseranteil 1 muß mindestens 0 und kleiner als 1 sein.");
    EXPECT_EQ(problems[1], "Zeile 6: Der Entölungsgrad 101 % muß zwischen 0 und 100 liegen.");
    EXPECT_EQ(problems[2],
              "Zeile 7: \"0,9\" ist keine Zahl (bitte mit Dezimalpunkt statt Komma schreiben).");
    EXPECT_EQ(problems[3],
              "Zeile 4: Der Wasseranteil 0.4 bei 30 % ist kleiner als 0.5 bei 20 %; er darf mit "
              "dem Entölungsgrad nicht fallen.");

    // In any order, sorted on reading; a flat stretch is fine.
    ASSERT_EQ(morvek::ParseWaterCutTableText("RF WC\n30 0.6\n0 0\n10 0.6\n", "wc.txt", table,
                                             problems),
              morvek::TableReadStatus::Read);
    ASSERT_EQ(table.rows.size(), 3u);
    EXPECT_EQ(table.rows[1].recoveryPct, 10.0f);
    EXPECT_TRUE(morvek::IsValidTable(table));
    table.rows[2].waterCut = 0.5f;
    EXPECT_FALSE(morvek::IsValidTable(table));
}

}  // namespace
