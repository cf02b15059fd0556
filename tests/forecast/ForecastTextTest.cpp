// The forecast's German report: a row at every anniversary of the start with
// the year's mean rates, the end and why, and the inputs as given; the CSV's
// lines the steps.

#include <gtest/gtest.h>

#include <cmath>

#include "GoldenCases.h"
#include "base/CalendarDate.h"
#include "base/Format.h"
#include "forecast/ForecastText.h"

namespace {

morvek::CaseInputs Nordfeld() {
    morvek::CaseInputs in = ExampleInputs("nordfeld.mvk");
    in.forecastStartDate = float(morvek::SerialOf({2025, 7, 1}));
    in.forecastYears = 12.0f;
    in.oilRateTargetM3PerDay = 400.0f;
    in.productivityIndexM3PerDayBar = 5.0f;
    in.minBottomholePressureBar = 50.0f;
    in.abandonmentRateM3PerDay = 40.0f;
    return in;
}

std::vector<std::string> TableRows(const std::vector<std::string>& lines) {
    std::vector<std::string> rows;
    bool in = false;
    for (const std::string& l : lines) {
        if (l.rfind("                   bar", 0) == 0) {
            in = true;
            continue;
        }
        if (in && l == " ") break;
        if (in) rows.push_back(l);
    }
    return rows;
}

TEST(ForecastReport, RowsAtEveryAnniversaryWithTheYearsMeanRates) {
    const morvek::CaseInputs in = Nordfeld();
    const morvek::ForecastResult r = morvek::ForecastCase(in);
    ASSERT_EQ(r.stop, morvek::ForecastStop::AbandonmentRate);
    const std::vector<std::string> lines = morvek::ForecastReportLines(in, r);
    const std::vector<std::string> rows = TableRows(lines);
    const int years = static_cast<int>(r.Last().days / 365.25);
    ASSERT_EQ(rows.size(), size_t(years) + 1) << "a row a year and one at the end";
    double before = 0;
    for (int y = 1; y <= years; ++y) {
        const int32_t date = morvek::AddMonths(r.startDate, 12 * y);
        const double days = date - r.startDate;
        const double np = r.OilAtDays(days);
        const morvek::ForecastStep at = r.AtDays(days);
        const std::string expected =
            Format("     %s %7.1f %8.1f", morvek::GermanDate(date).c_str(), at.pressureBar,
                   (np - before) * 1000.0 / (days - (y == 1 ? 0 : double(morvek::AddMonths(
                                                                      r.startDate, 12 * (y - 1)) -
                                                                  r.startDate))));
        EXPECT_EQ(rows[size_t(y) - 1].substr(0, expected.size()), expected);
        EXPECT_NE(rows[size_t(y) - 1].find(Format(" %8.1f ", np)), std::string::npos)
            << rows[size_t(y) - 1];
        before = np;
    }
    EXPECT_EQ(rows.front().substr(0, 32),
              "     01.07.2026" + Format(" %7.1f", r.AtDays(365).pressureBar) + "    400.0");
    EXPECT_NE(rows.back().find(morvek::GermanDate(morvek::SerialOf({2025, 7, 1}) +
                                                  int32_t(r.Last().days))),
              std::string::npos);
    const std::string text = morvek::ForecastReportText(in, r);
    EXPECT_NE(text.find("     Beginn der Prognose                 01.07.2025 (Initialzustand)"),
              std::string::npos);
    EXPECT_NE(text.find("Die Ölrate hat die Aufgaberate von 40 m3/d erreicht."), std::string::npos);
    EXPECT_NE(text.find(Format("Ende des Plateaus am %s",
                               morvek::GermanDate(morvek::DateOfDays(r, r.plateauEndDays)).c_str())),
              std::string::npos);
    EXPECT_EQ(lines.back(), "     Morvek Prognose abgeschlossen");
}

TEST(ForecastReport, SaysWhyTheForecastStopped) {
    morvek::CaseInputs in = Nordfeld();
    in.abandonmentRateM3PerDay = 0;
    in.forecastYears = 3;
    morvek::ForecastResult r = morvek::ForecastCase(in);
    EXPECT_EQ(morvek::ForecastStopText(r, morvek::ForecastSettings::Of(in)),
              Format("Ende des Prognosezeitraums; das Feld fördert noch %.1f m3/d Öl.",
                     r.Last().oilRateM3PerDay));
    EXPECT_NE(morvek::ForecastReportText(in, r).find("Das Plateau hält bis zum Ende der Prognose."),
              std::string::npos);
    in.forecastYears = 40;
    in.abandonmentPressureBar = 120;
    r = morvek::ForecastCase(in);
    EXPECT_EQ(morvek::ForecastStopText(r, morvek::ForecastSettings::Of(in)),
              "Der Druck hat den Aufgabedruck von 120 bar erreicht.");
    // Wells that cannot deliver the target from the start.
    in.productivityIndexM3PerDayBar = 1;
    r = morvek::ForecastCase(in);
    EXPECT_EQ(r.plateauEndDays, 0);
    EXPECT_NE(morvek::ForecastReportText(in, r).find("liefern die Plateaurate schon zu Beginn nicht"),
              std::string::npos);
    // The abandonment rate above what they give at the start.
    in.abandonmentRateM3PerDay = 300;
    r = morvek::ForecastCase(in);
    ASSERT_EQ(r.steps.size(), 1u);
    EXPECT_EQ(morvek::ForecastStopText(r, morvek::ForecastSettings::Of(in)),
              "Schon zu Beginn liefern die Bohrungen weniger als die Aufgaberate von 300 m3/d.");
    EXPECT_EQ(morvek::ForecastCsvText(r), morvek::ForecastCsvHeader());
}

}  // namespace
