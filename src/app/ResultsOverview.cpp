#include "app/ResultsOverview.h"

#include <cmath>

#include "base/Format.h"
#include "base/NumberText.h"
#include "case/MorvekDoc.h"
#include "model/FieldTable.h"
#include "results/ExportCsv.h"

namespace {

using morvek::Outcome;

constexpr const char* kPrediction = "Vorhersage";
constexpr const char* kMatch = "Anpassung";
constexpr const char* kSweep = "Unsicherheitsanalyse";

std::string Number(double value, int decimals) {
    if (!std::isfinite(value)) return "-";
    return Format("%.*f", decimals, value);
}

const char* KindText(morvek::ResultKind kind) {
    switch (kind) {
        case morvek::ResultKind::PvtTable:
            return "PVT-Tabelle";
        case morvek::ResultKind::RelPermTable:
            return "Tabelle der relativen Permeabilitäten";
        case morvek::ResultKind::Prediction:
            break;
    }
    return "Vorhersage";
}

// The dialog's caption without the unit in parentheses at its end: the
// overview has a column of its own for the unit.
std::string CaptionOf(const std::string& recordName) {
    const morvek::Field* f = morvek::FindField(recordName);
    if (f == nullptr) return recordName;
    std::string caption = f->Caption();
    const size_t open = caption.rfind('(');
    if (open != std::string::npos && open > 0 && caption.back() == ')') {
        caption.erase(open);
        while (!caption.empty() && caption.back() == ' ') caption.pop_back();
    }
    return caption;
}

// A fraction or a count has no unit; the table says "-" as for the balance
// ratio.
std::string UnitOf(const std::string& recordName) {
    const morvek::Field* f = morvek::FindField(recordName);
    if (f == nullptr) return std::string();
    return *f->unit != '\0' ? std::string(f->unit) : std::string("-");
}

void PredictionLines(const CMorvekDoc& doc, float abandonmentBar, std::vector<OverviewLine>& out) {
    auto add = [&](std::string quantity, std::string value, std::string unit, bool number = true) {
        out.push_back({kPrediction, std::move(quantity), std::move(value), std::move(unit), number});
    };
    const auto& run = doc.LastRun();
    if (!run) {
        add("Ergebnis", "noch keine Rechnung (Daten ändern, OK)", "", false);
        return;
    }
    if (run->kind != morvek::ResultKind::Prediction || !run->prediction) {
        add("Ergebnis",
            Format("die letzte Rechnung ist die %s, keine Vorhersage", KindText(run->kind)), "",
            false);
        return;
    }
    const morvek::PredictionResult& p = *run->prediction;
    morvek::OutcomeValues values{};
    std::string failure;
    if (!morvek::OutcomesOf(p, doc.m_Inputs, abandonmentBar, values, failure)) {
        add("Ergebnis", failure, "", false);
        return;
    }
    auto at = [&](Outcome o) { return values[static_cast<size_t>(o)]; };
    add("Entölungsgrad am Ende", Number(at(Outcome::RfEnd), 2), "%");
    add("Kum. Ölförderung am Ende", Number(at(Outcome::NpEnd), 1), "1000 m³");
    if (abandonmentBar > 0.0f) {
        const std::string bar = ShortestText(abandonmentBar);
        add("Entölungsgrad bei " + bar + " bar", Number(at(Outcome::RfAbandon), 2), "%");
        add("Kum. Ölförderung bei " + bar + " bar", Number(at(Outcome::NpAbandon), 1),
            "1000 m³");
    }
    add("Kum. Gasförderung am Ende", Number(at(Outcome::GpEnd), 3), "Mio sm³");
    add("Enddruck", Number(at(Outcome::PressureEnd), 1), "bar");
    add("Höchstes GOEV", Number(at(Outcome::GorMax), 1), "sm³/m³");
    add("Bilanzverhältnis F/(N Et)", Number(p.balanceRatio, 4), "-");
    add("Ende der Vorhersage", StopReasonText(p), "", false);
}

void MatchLines(const morvek::MatchResult& r, std::vector<OverviewLine>& out) {
    auto add = [&](std::string quantity, std::string value, std::string unit, bool number = true) {
        out.push_back({kMatch, std::move(quantity), std::move(value), std::move(unit), number});
    };
    if (!r.Converged()) {
        add("Ergebnis", r.message.empty() ? std::string("nicht konvergiert") : r.message, "",
            false);
        return;
    }
    for (const morvek::FittedInput& f : r.inputs) {
        const std::string caption = CaptionOf(f.name);
        const std::string unit = UnitOf(f.name);
        add(caption + " angepaßt", FloatForDisplay(f.stored), unit);
        if (f.hasStatistics) {
            add(caption + " Standardfehler", Format("%.4g", f.stdError), unit);
            add(caption + " 95 %-Intervall von", Format("%.6g", f.ci95Low), unit);
            add(caption + " 95 %-Intervall bis", Format("%.6g", f.ci95High), unit);
        } else {
            add(caption + " Standardfehler", "nicht bestimmbar", "", false);
        }
    }
    add("RMS der relativen Abweichungen nachher", Number(100.0 * r.rmsAfter, 2), "%");
}

void SweepLines(const SweepSummary& s, std::vector<OverviewLine>& out) {
    auto add = [&](std::string quantity, std::string value, std::string unit, bool number = true) {
        out.push_back({kSweep, std::move(quantity), std::move(value), std::move(unit), number});
    };
    add("Stichproben mit Ergebnis",
        Format("%llu", static_cast<unsigned long long>(s.completed - s.failed)), "");
    struct Shown {
        Outcome outcome;
        const char* name;
        const char* unit;
        int decimals;
    };
    const std::string bar = ShortestText(s.abandonmentPressureBar);
    std::vector<Shown> shown = {{Outcome::RfEnd, "Entölungsgrad am Ende", "%", 2},
                                {Outcome::NpEnd, "Kum. Ölförderung am Ende", "1000 m³", 1}};
    if (s.abandonmentPressureBar > 0.0f) {
        shown.push_back({Outcome::RfAbandon, "Entölungsgrad beim Aufgabedruck", "%", 2});
        shown.push_back({Outcome::NpAbandon, "Kum. Ölförderung beim Aufgabedruck", "1000 m³", 1});
    }
    for (const Shown& o : shown) {
        const morvek::OutcomeStatistics& st = s.statistics[static_cast<size_t>(o.outcome)];
        for (auto [label, value] : {std::pair{"P90", st.p90}, std::pair{"P50", st.p50},
                                    std::pair{"P10", st.p10}, std::pair{"Mittelwert", st.mean}})
            add(std::string(o.name) + " " + label, Number(value, o.decimals), o.unit);
    }
    if (s.abandonmentPressureBar > 0.0f) add("Aufgabedruck", bar, "bar");
}

// A cell of the CSV: quoted where it holds the separator or a quote.
std::string Cell(const std::string& text) {
    if (text.find_first_of(";\"\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string Shown(const OverviewLine& line, bool decimalComma) {
    return line.number && decimalComma ? WithDecimalComma(line.value) : line.value;
}

}  // namespace

SweepSummary SummaryOf(const morvek::SweepResult& result, float abandonmentPressureBar) {
    SweepSummary s;
    s.statistics = result.statistics;
    s.abandonmentPressureBar = abandonmentPressureBar;
    s.completed = result.completed;
    s.failed = result.failedCount;
    s.cancelled = result.cancelled;
    return s;
}

std::string StopReasonText(const morvek::PredictionResult& p) {
    switch (p.stopReason) {
        case morvek::StopReason::LowestPressure:
            return "Druck von 1 bar erreicht";
        case morvek::StopReason::OilInPlaceProduced:
            return "der Ölinhalt ist gefördert";
        case morvek::StopReason::NoProduction:
            return "zehn Schritte ohne Ölförderung";
        case morvek::StopReason::NegativeOilProduction:
            return "die Bilanz verlangt negative Ölförderung";
        case morvek::StopReason::NoMeaningfulValue:
            return Format("keine sinnvolle Berechnung mehr möglich bei %.1f bar",
                          double(p.failedPressureBar));
        case morvek::StopReason::LowestTablePressure:
            return "niedrigster Druck der PVT-Tabelle erreicht";
        case morvek::StopReason::OutsidePvtTable:
            return "Initialdruck außerhalb der PVT-Tabelle";
    }
    return "unbekannt";
}

std::vector<OverviewLine> Overview(const CMorvekDoc& doc, float abandonmentBar,
                                   const morvek::MatchResult* match, const SweepSummary* sweep) {
    std::vector<OverviewLine> out;
    PredictionLines(doc, abandonmentBar, out);
    if (match != nullptr) MatchLines(*match, out);
    if (sweep != nullptr) SweepLines(*sweep, out);
    return out;
}

std::string OverviewClipboardText(const std::vector<OverviewLine>& lines) {
    std::string text = "Bereich\tGröße\tWert\tEinheit\r\n";
    for (const OverviewLine& l : lines)
        text += l.section + '\t' + l.quantity + '\t' + Shown(l, true) + '\t' + l.unit + "\r\n";
    return text;
}

std::string OverviewCsvText(const std::vector<OverviewLine>& lines, bool decimalComma) {
    std::string text = "\xEF\xBB\xBF" "Bereich;Größe;Wert;Einheit\n";
    for (const OverviewLine& l : lines)
        text += Cell(l.section) + ';' + Cell(l.quantity) + ';' + Cell(Shown(l, decimalComma)) +
                ';' + Cell(l.unit) + '\n';
    return text;
}
