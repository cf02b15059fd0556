#include "sweep/SweepText.h"

#include <cmath>

#include "base/Format.h"
#include "base/NumberText.h"

namespace morvek {
namespace {

// Width of UTF-8 text in characters, for the summary's columns.
size_t Characters(const std::string& text) {
    size_t n = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

std::string PadRight(const std::string& text, size_t width) {
    const size_t n = Characters(text);
    return n >= width ? text + " " : text + std::string(width - n, ' ');
}

std::string Number(double value) {
    if (std::isnan(value)) return Format("%12s", "-");
    return Format("%12.2f", value);
}

std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    return text;
}


constexpr size_t kLabelWidth = 40;
constexpr size_t kNameWidth = 22;

}  // namespace

std::string SweepCsvHeader(const std::vector<Variation>& variations, bool abandonment) {
    std::string line = "sample";
    for (const Variation& v : variations) line += std::string(";") + v.field->name;
    const size_t outcomes = abandonment ? kOutcomeCount : kOutcomesWithoutAbandonment;
    for (size_t o = 0; o < outcomes; ++o)
        line += std::string(";") + InfoOf(static_cast<Outcome>(o)).column;
    return line + "\n";
}

std::string SweepCsvLine(const SweepRow& row, bool abandonment) {
    std::string line = std::to_string(row.sample);
    for (float v : row.values) line += ";" + ShortestText(v);
    const size_t outcomes = abandonment ? kOutcomeCount : kOutcomesWithoutAbandonment;
    for (size_t o = 0; o < outcomes; ++o) {
        line += ';';
        if (!row.Failed()) line += ShortestText(row.outcomes[o]);
    }
    return line + "\n";
}

std::string OutcomeLabel(Outcome outcome, float abandonmentPressureBar) {
    std::string label = InfoOf(outcome).label;
    const size_t at = label.find("%s");
    if (at != std::string::npos) label.replace(at, 2, ShortestText(abandonmentPressureBar));
    return label;
}

std::string DistributionText(const Variation& v) {
    if (v.distribution == Distribution::Triangular)
        return Format("Dreieck %s / %s / %s", ShortestText(v.low).c_str(),
                      ShortestText(v.mode).c_str(), ShortestText(v.high).c_str());
    return Format("gleichverteilt %s bis %s", ShortestText(v.low).c_str(),
                  ShortestText(v.high).c_str());
}

std::string SampleRunHeadLines(const SampleRunOptions& options, uint64_t samples,
                               uint64_t completed, bool cancelled, uint64_t failed) {
    std::string out = Format(
        "Stichproben: %llu (%s), Startwert %llu\n", static_cast<unsigned long long>(samples),
        options.plan.sampling == Sampling::LatinHypercube ? "Latin Hypercube" : "Monte Carlo",
        static_cast<unsigned long long>(options.plan.seed));
    if (options.Slice())
        out += Format("Gerechnet: die Stichproben %llu bis %llu\n",
                      static_cast<unsigned long long>(options.firstSample),
                      static_cast<unsigned long long>(options.LastSample()));
    if (cancelled)
        out += Format("Abgebrochen nach %llu von %llu Stichproben.\n",
                      static_cast<unsigned long long>(completed),
                      static_cast<unsigned long long>(options.Planned()));
    return out + Format("Fehlgeschlagene Stichproben: %llu\n", static_cast<unsigned long long>(failed));
}

std::string SweepSummaryText(const SweepReport& report) {
    const SweepOptions& options = report.options;
    const SweepResult& result = report.result;
    std::string out;
    auto line = [&out](const std::string& text) { out += text + "\n"; };

    line("Unsicherheitsanalyse Feld: " + report.fieldName);
    out += SampleRunHeadLines(options, result.samples, result.completed, result.cancelled,
                              result.failedCount);
    if (options.HasAbandonment())
        line("Aufgabedruck: " + ShortestText(options.abandonmentPressureBar) + " bar");
    line("Variierte Eingaben:");
    for (const Variation& v : report.variations)
        line("  " + PadRight(v.field->recordName, kNameWidth) +
             PadRight(v.field->Caption(), kLabelWidth) + DistributionText(v));
    line("");

    line(PadRight("Ergebnis", kLabelWidth) +
         Format("%12s%12s%12s%12s%12s", "Mittelwert", "Std.abw.", "P90", "P50", "P10"));
    for (size_t o = 0; o < options.OutcomeCount(); ++o) {
        const OutcomeStatistics& s = result.statistics[o];
        line(PadRight(OutcomeLabel(static_cast<Outcome>(o), options.abandonmentPressureBar),
                      kLabelWidth) +
             Number(s.mean) + Number(s.stdDev) + Number(s.p90) + Number(s.p50) + Number(s.p10));
    }
    line(
        "P90: der Wert, den 90 % der Stichproben erreichen oder übertreffen (niedrige "
        "Schätzung);");
    line("P10: der Wert, den 10 % der Stichproben erreichen oder übertreffen (hohe Schätzung).");

    if (report.tornado != nullptr) {
        const TornadoResult& t = *report.tornado;
        line("");
        // At the abandonment pressure, as the sweep's outcomes, when there is one.
        const std::string at =
            t.abandonmentPressureBar > 0.0f
                ? " bei " + ShortestText(t.abandonmentPressureBar) + " bar"
                : std::string();
        line("Empfindlichkeit des Entölungsgrads EG (%)" + at +
             ", jede Eingabe allein am unteren und oberen Wert:");
        if (t.baseFailure.empty())
            line("Basisfall: Entölungsgrad " + Format("%.2f", t.baseRf) + " %");
        else
            line("Basisfall ohne Ergebnis: " + OneLine(t.baseFailure));
        line("  " + PadRight("Eingabe", kNameWidth) +
             Format("%12s%12s%12s%12s%12s", "unten", "oben", "EG unten", "EG oben", "Spanne"));
        for (const TornadoBar& bar : t.bars)
            line("  " + PadRight(bar.variation.field->recordName, kNameWidth) +
                 Format("%12s%12s", ShortestText(bar.variation.low).c_str(),
                        ShortestText(bar.variation.high).c_str()) +
                 Number(bar.rfLow) + Number(bar.rfHigh) + Number(bar.Swing(t.baseRf)));
        for (const TornadoBar& bar : t.bars) {
            if (!bar.lowFailure.empty())
                line("  " + std::string(bar.variation.field->recordName) +
                     " unten ohne Ergebnis: " + OneLine(bar.lowFailure));
            if (!bar.highFailure.empty())
                line("  " + std::string(bar.variation.field->recordName) +
                     " oben ohne Ergebnis: " + OneLine(bar.highFailure));
        }
    }

    if (result.failedCount > 0) {
        line("");
        line(Format("Fehlgeschlagene Stichproben (%llu), mit Grund:",
                    static_cast<unsigned long long>(result.failedCount)));
        for (const FailedSample& f : result.failed)
            line(Format("  Stichprobe %llu: ", static_cast<unsigned long long>(f.sample)) +
                 OneLine(f.reason));
        if (result.failedCount > result.failed.size())
            line(Format("  ... und %llu weitere", static_cast<unsigned long long>(
                                                      result.failedCount - result.failed.size())));
    }
    return out;
}

}  // namespace morvek
