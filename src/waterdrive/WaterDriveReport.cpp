#include "waterdrive/WaterDriveReport.h"

#include "base/Format.h"
#include "base/NumberText.h"
#include "match/MatchReport.h"
#include "waterdrive/Aquifer.h"

namespace morvek {
namespace {

std::string Percent(double fraction) {
    return Format("%.2f %%", 100.0 * fraction);
}

}  // namespace

std::string AquiferLine(const CaseInputs& in) {
    const Aquifer a = Aquifer::Of(in);
    std::string line = Format("Aquifermodell: %s", AquiferModelCaption(a.model));
    switch (a.model) {
        case AquiferModel::None: break;
        case AquiferModel::Pot:
            line += Format(", K = %.6g m3/bar", InfluxConstantM3PerBar(a));
            break;
        case AquiferModel::FetkovichRadial:
        case AquiferModel::FetkovichLinear:
            line += Format(", ct Wi = %.6g m3/bar, J = %.6g m3/(Tag bar)", InfluxConstantM3PerBar(a),
                           FetkovichProductivityM3PerDayBar(a));
            break;
        case AquiferModel::VehRadial:
        case AquiferModel::CarterTracyRadial:
            line += Format(", U = %.6g m3/bar, ", InfluxConstantM3PerBar(a));
            line += DimensionlessRadius(a) > 0 ? Format("ra/re = %.4g", DimensionlessRadius(a))
                                               : std::string("unendlich");
            line += Format(", tD = %.4g je Tag", DimensionlessTimePerDay(a));
            break;
    }
    return line;
}

std::vector<std::string> MbFitSummaryLines(const MatchResult& r, const CaseInputs& in,
                                           MbObjective objective, const std::string& fieldName) {
    std::vector<std::string> lines;
    lines.push_back("Materialbilanz mit Wasserzufluß: " + fieldName);
    if (r.status == MatchStatus::Refused) {
        lines.push_back(r.message);
        return lines;
    }
    lines.push_back(AquiferLine(in));
    lines.push_back(objective == MbObjective::Pressure
                        ? "Ziel: die Drücke, aus der Bilanz F = N Et + We Zeile für Zeile "
                          "berechnet (relative Abweichungen vom gemessenen Druck)"
                        : "Ziel: F = N Et + We (Abweichungen F - N Et - We in Einheiten der "
                          "mittleren Entnahme F)");
    std::string names;
    for (const FittedInput& f : r.inputs) names += (names.empty() ? "" : ", ") + f.name;
    lines.push_back(Format("Angepaßt: %s an %d Zeilen der Produktionshistorie", names.c_str(),
                           r.residualCount));
    if (!r.Converged()) {
        lines.push_back(r.message + " Die Eingaben bleiben unverändert.");
        lines.push_back(Format("%d Iterationen, %d Bilanzen; RMS der Abweichungen an den "
                               "Startwerten %s.",
                               r.iterations, r.predictions, Percent(r.rmsBefore).c_str()));
        return lines;
    }
    lines.push_back(
        Format("Konvergiert nach %d Iterationen mit %d Bilanzen.", r.iterations, r.predictions));
    lines.push_back("");
    AppendFittedValues(lines, r, 28);
    if (r.degreesOfFreedom <= 0)
        lines.push_back("Ohne überzählige Zeilen gibt es keine Streuung und keine Intervalle.");
    lines.push_back("");
    lines.push_back(Format("RMS der Abweichungen: vorher %s, nachher %s", Percent(r.rmsBefore).c_str(),
                           Percent(r.rmsAfter).c_str()));
    // The rows with the fitted values: the balance at the measured pressures
    // and the pressure it gives.
    const HistoryBalance measured = BalanceOfHistory(r.fittedInputs);
    const HistoryBalance computed = BalanceOfHistory(r.fittedInputs, {}, true);
    if (measured.problem.empty() && computed.problem.empty() &&
        measured.rows.size() == computed.rows.size()) {
        lines.push_back("");
        lines.push_back("Produktionshistorie mit den angepaßten Werten:");
        lines.push_back("   Tage  Druck gemessen  berechnet   F(1000 m3)  N*Et(1000 m3)  "
                        "We(1000 m3)    WDI");
        for (size_t i = 0; i < measured.rows.size(); ++i) {
            const HistoryBalanceRow& m = measured.rows[i];
            lines.push_back(Format("%7.0f  %14.2f  %9.2f  %11.1f  %13.1f  %11.1f  %5.3f", m.days,
                                   m.measuredPressureBar, computed.rows[i].pressureBar,
                                   m.f1000m3, measured.ooip1000m3 * m.et, m.we1000m3,
                                   m.hasIndices ? m.wdi : 0.0));
        }
    }
    AppendCorrelations(lines, r, 28, 29);
    const std::vector<std::string> warnings = CorrelationWarnings(r);
    if (!warnings.empty()) lines.push_back("");
    lines.insert(lines.end(), warnings.begin(), warnings.end());
    return lines;
}

std::string HistoryCsvText(const HistoryBalance& measured, const HistoryBalance& computed) {
    std::string out =
        "days;pressure_bar;computed_pressure_bar;np_1000m3;f_1000m3;eo;eg;efw;et;we_1000m3;ddi;"
        "gdi;cdi;wdi;sum\n";
    size_t c = 0;
    for (const HistoryBalanceRow& r : measured.rows) {
        while (c < computed.rows.size() && computed.rows[c].row < r.row) ++c;
        const bool has = c < computed.rows.size() && computed.rows[c].row == r.row;
        // Times, pressures and volumes of the history are single precision.
        auto single = [](double v) { return ShortestText(static_cast<float>(v)); };
        out += single(r.days) + ';' + single(r.measuredPressureBar) + ';' +
               (has ? single(computed.rows[c].pressureBar) : std::string()) + ';' +
               single(r.np1000m3) + ';' + ShortestText(r.f1000m3) + ';' +
               ShortestText(r.eo) + ';' + ShortestText(r.eg) + ';' + ShortestText(r.efw) + ';' +
               ShortestText(r.et) + ';' + ShortestText(r.we1000m3) + ';';
        if (r.hasIndices)
            out += ShortestText(r.ddi) + ';' + ShortestText(r.gdi) + ';' + ShortestText(r.cdi) +
                   ';' + ShortestText(r.wdi) + ';' + ShortestText(r.sum);
        else
            out += ";;;;";
        out += '\n';
    }
    return out;
}

}  // namespace morvek
