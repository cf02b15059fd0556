#include "forecast/ForecastText.h"

#include <cmath>

#include "base/CalendarDate.h"
#include "base/Format.h"
#include "base/NumberText.h"
#include "base/PrintableText.h"
#include "report/Report.h"

namespace morvek {
namespace {

constexpr double kThousand = 1000.0;
constexpr double kPercent = 100.0;
constexpr double kDaysPerYear = 365.25;
// Fractions of a day below this are taken as whole days (rounding of sums).
constexpr double kDayRounding = 1e-6;

// A label of the inputs' list, padded to its column by characters (the
// German labels hold letters of two bytes).
std::string Label(const char* label) {
    std::string text = std::string("     ") + label;
    size_t characters = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++characters;
    constexpr size_t kColumn = 41;
    if (characters < kColumn) text.append(kColumn - characters, ' ');
    return text;
}

// A limit that 0 leaves out: its value with the unit, or what stands instead.
std::string Optional(double value, const char* format, const char* none) {
    return value > 0 ? Format(format, value) : std::string(none);
}

std::string YearsText(double days) {
    return Format("%.1f Jahre", days / kDaysPerYear);
}

// "nach 9.6 Jahren"
std::string AfterYearsText(double days) {
    return Format("nach %.1f Jahren", days / kDaysPerYear);
}

}  // namespace

std::string ForecastCsvHeader() {
    return "date;days;pressure_bar;oil_rate_m3_per_day;gas_rate_1000sm3_per_day;"
           "water_rate_m3_per_day;np_1000m3;gp_mio_sm3;wp_1000m3;we_1000m3;gor_sm3_per_m3;"
           "water_cut\n";
}

int32_t DateOfDays(const ForecastResult& result, double days) {
    return result.startDate + static_cast<int32_t>(std::floor(days + kDayRounding));
}

std::string ForecastCsvLine(const ForecastResult& r, const ForecastStep& s) {
    std::string line = IsoDate(DateOfDays(r, s.days));
    for (double v : {s.days, s.pressureBar, s.oilRateM3PerDay, s.gasRate1000Sm3PerDay,
                     s.waterRateM3PerDay, s.np1000m3, s.gp1000Sm3 / kThousand, s.wp1000m3,
                     s.we1000m3, s.gorSm3PerM3, s.waterCut})
        line += ";" + ShortestText(v);
    return line + "\n";
}

std::string ForecastCsvText(const ForecastResult& r) {
    std::string text = ForecastCsvHeader();
    for (size_t i = 1; i < r.steps.size(); ++i) text += ForecastCsvLine(r, r.steps[i]);
    return text;
}

std::string ForecastStopText(const ForecastResult& r, const ForecastSettings& s) {
    const ForecastStep& last = r.Last();
    switch (r.stop) {
        case ForecastStop::EndOfPeriod:
            return Format("Ende des Prognosezeitraums; das Feld fördert noch %.1f m3/d Öl.",
                          last.oilRateM3PerDay);
        case ForecastStop::AbandonmentRate:
            if (r.steps.size() == 1)
                return Format("Schon zu Beginn liefern die Bohrungen weniger als die Aufgaberate "
                              "von %s m3/d.",
                              ShortestText(s.abandonmentRateM3PerDay).c_str());
            return Format("Die Ölrate hat die Aufgaberate von %s m3/d erreicht.",
                          ShortestText(s.abandonmentRateM3PerDay).c_str());
        case ForecastStop::AbandonmentPressure:
            return Format("Der Druck hat den Aufgabedruck von %s bar erreicht.",
                          ShortestText(s.abandonmentPressureBar).c_str());
        case ForecastStop::LowestPressure:
            if (r.lowestPressureBar > 1.0)
                return Format("Der Druck hat den niedrigsten Druck der PVT-Tabelle (%.1f bar) "
                              "erreicht; die Tabelle wird nicht extrapoliert.",
                              r.lowestPressureBar);
            return "Der Druck ist auf 1 bar gefallen.";
        case ForecastStop::OilInPlaceProduced:
            return "Das gesamte Öl der Lagerstätte ist gefördert.";
        case ForecastStop::NoMeaningfulValue:
            return Format("Bei %.1f bar ist kein sinnvoller Wert für %s berechenbar.",
                          last.pressureBar, RunQuantityName(r.failedQuantity));
        case ForecastStop::NoBalance:
            return Format("Die Materialbilanz schließt bei %.1f bar nur bei einem weit entfernten "
                          "Druck: der Gasentlösungsdruck ist vermutlich zu niedrig.",
                          last.pressureBar);
        case ForecastStop::NotStarted:
            if (!(last.pressureBar > r.lowestPressureBar))
                return Format("Der Anfangsdruck %.1f bar liegt nicht über dem niedrigsten Druck "
                              "der Prognose (%.1f bar): keine Berechnung.",
                              last.pressureBar, r.lowestPressureBar);
            return Format("Der Anfangsdruck %.1f bar liegt außerhalb der PVT-Tabelle: keine "
                          "Berechnung (die Tabelle wird nicht extrapoliert).",
                          last.pressureBar);
    }
    return {};
}

std::string AquiferText(const Aquifer& a) {
    if (!a.Any()) return {};
    const bool unsteady = a.model == AquiferModel::VehRadial || a.model == AquiferModel::CarterTracyRadial;
    return Format("%s, %s = %s m3/bar", AquiferModelCaption(a.model), unsteady ? "U" : "K",
                  ShortestText(InfluxConstantM3PerBar(a)).c_str());
}

std::vector<std::string> ForecastReportLines(const CaseInputs& in, const ForecastResult& r,
                                             const ForecastOrigin& origin) {
    const ForecastSettings s = ForecastSettings::Of(in);
    std::vector<std::string> lines;
    auto add = [&lines](std::string line) { lines.push_back(std::move(line)); };
    const int32_t end = r.startDate + static_cast<int32_t>(std::lround(r.periodDays));

    add(Format("     MORVEK PROGNOSE ÜBER DIE ZEIT FELD: %s ", OneLineText(in.fieldName).c_str()));
    add(" ");
    add("     EINGABEN:");
    add(" ");
    add(Label("Beginn der Prognose") + GermanDate(r.startDate) +
        (origin.afterHistory
             ? " (Ende der Produktionshistorie " + OneLineText(origin.historyName) + ")"
             : std::string(" (Initialzustand)")));
    add(Label("Prognosezeitraum") + Format("%s (bis %s)", YearsText(r.periodDays).c_str(),
                                           GermanDate(end).c_str()));
    add(Label("Zeitschritt") +
        (s.stepDays > 0 ? Format("%s Tage", ShortestText(s.stepDays).c_str())
                        : std::string("ein Monat")) +
        ", kürzer bei schneller Druckänderung");
    add(Label("Plateaurate Öl") + Format("%.1f m3/d", s.wells.oilRateTargetM3PerDay));
    add(Label("Produktivitätsindex") +
        Optional(s.wells.productivityIndexM3PerDayBar, "%.3f m3/d/bar", "keine Begrenzung"));
    if (s.wells.productivityIndexM3PerDayBar > 0)
        add(Label("Mindestsohlendruck") + Format("%.1f bar", s.wells.minBottomholePressureBar));
    add(Label("Höchstes Gas-Öl-Verhältnis") +
        Optional(s.wells.maxGorSm3PerM3, "%.1f m3/m3", "keines"));
    const double gasLimit = s.wells.GasLimit1000Sm3PerDay();
    if (s.wells.maxGasRate1000Sm3PerDay > 0)
        add(Label("Höchste Gasrate") + Format("%.3f 1000 m3/d", gasLimit));
    else if (gasLimit > 0)
        add(Label("Höchste Gasrate") +
            Format("%.3f 1000 m3/d (Plateaurate mal höchstes GOEV)", gasLimit));
    else
        add(Label("Höchste Gasrate") + "keine");
    add(Label("Aufgaberate Öl") + Optional(s.abandonmentRateM3PerDay, "%.1f m3/d", "keine"));
    add(Label("Aufgabedruck") + Optional(s.abandonmentPressureBar, "%.1f bar", "keiner"));
    if (in.waterCutTable)
        add(Label("Wasseranteil") +
            Format("Tabelle %s (%zu Zeilen) über dem Entölungsgrad",
                   OneLineText(in.waterCutTable->fileName).c_str(),
                   in.waterCutTable->rows.size()));
    else
        add(Label("Wasseranteil") + "kein Wasser");
    add(Label("Wasserzufluß") + (origin.aquifer.empty() ? std::string("kein Aquifer")
                                                         : OneLineText(origin.aquifer)));
    add(Label("Original Oil in Place") + Format("%.1f 1000 m3", r.ooip1000m3));
    add(Label("Anfangsdruck") + Format("%.1f bar", r.steps.front().pressureBar));
    if (r.startImbalance1000m3 != 0.0)
        add(Label("Bilanzabweichung zu Beginn") +
            Format("%.3f 1000 m3 (F - N Et - We, beibehalten)", r.startImbalance1000m3));
    add(" ");

    add("     JAHRESTABELLE (Raten: Mittel des Jahres)");
    add(" ");
    add("     Ende          Druck   Ölrate  Gasrate Wasserrate   Kum.Öl  Kum.Gas Kum.Wasser"
        "  Zufluß   GOEV Wasser-");
    add("                   bar     m3/d 1000m3/d       m3/d   1000m3   Mio m3     1000m3"
        "  1000m3  m3/m3 anteil %");
    // A row at every anniversary of the start that the forecast reached,
    // and one at its end.
    const ForecastStep& last = r.Last();
    ForecastStep from = r.steps.front();
    auto row = [&](int32_t date, double atDays) {
        const ForecastStep at = r.AtDays(atDays);
        const double days = atDays - from.days;
        auto mean = [&](double now, double before, double scale) {
            return days > 0 ? (now - before) * scale / days : 0.0;
        };
        const double oil = mean(at.np1000m3, from.np1000m3, kThousand);
        const double gas = mean(at.gp1000Sm3, from.gp1000Sm3, 1.0);
        const double water = mean(at.wp1000m3, from.wp1000m3, kThousand);
        const double gor = oil > 0 ? gas * kThousand / oil : at.gorSm3PerM3;
        const double cut = oil + water > 0 ? water / (oil + water) : 0.0;
        add(Format("     %s %7.1f %8.1f %8.3f %10.1f %8.1f %8.3f %10.1f %7.1f %6.1f %8.2f",
                   GermanDate(date).c_str(), at.pressureBar, oil, gas, water, at.np1000m3,
                   at.gp1000Sm3 / kThousand, at.wp1000m3, at.we1000m3, gor, kPercent * cut));
        from = at;
    };
    for (int year = 1;; ++year) {
        const int32_t date = AddMonths(r.startDate, 12 * year);
        const double days = date - r.startDate;
        if (days > last.days + kDayRounding) break;
        row(date, days);
    }
    if (last.days > from.days + kDayRounding) row(DateOfDays(r, last.days), last.days);
    add(" ");

    add(Format("     ENDE DER PROGNOSE AM %s (%s):", GermanDate(DateOfDays(r, last.days)).c_str(),
               AfterYearsText(last.days).c_str()));
    add("     " + ForecastStopText(r, s));
    if (std::isinf(r.plateauEndDays))
        add("     Das Plateau hält bis zum Ende der Prognose.");
    else if (r.plateauEndDays == 0)
        add("     Die Bohrungen liefern die Plateaurate schon zu Beginn nicht.");
    else
        add(Format("     Ende des Plateaus am %s (%s).",
                   GermanDate(DateOfDays(r, r.plateauEndDays)).c_str(),
                   AfterYearsText(r.plateauEndDays).c_str()));
    add(Format("     Druck %.1f bar, Kum.Öl %.1f 1000 m3 (Entölungsgrad %.2f %%), Kum.Gas %.3f Mio m3,",
               last.pressureBar, last.np1000m3, kPercent * last.np1000m3 / r.ooip1000m3,
               last.gp1000Sm3 / kThousand));
    add(Format("     Kum.Wasser %.1f 1000 m3, Wasserzufluß %.1f 1000 m3, GOEV %.1f m3/m3",
               last.wp1000m3, last.we1000m3, last.gorEndSm3PerM3));
    add(" ");
    add("     Morvek Prognose abgeschlossen");
    return lines;
}

std::string ForecastReportText(const CaseInputs& inputs, const ForecastResult& result,
                               const ForecastOrigin& origin) {
    std::string text;
    for (const std::string& line : ForecastReportLines(inputs, result, origin)) text += line + "\n";
    return text;
}

}  // namespace morvek
