#include "match/MatchReport.h"

#include <cmath>

#include "base/Format.h"
#include "base/NumberText.h"

namespace morvek {
namespace {

// A start value as the case held it: a single-precision number shows as such.
std::string StartText(double start) {
    const float f = static_cast<float>(start);
    return double(f) == start ? ShortestText(f) : ShortestText(start);
}

std::string Percent(double fraction) {
    return Format("%.2f %%", 100.0 * fraction);
}

std::string Deviation(double computed, double measured) {
    return Format("%+6.1f %%", 100.0 * (computed - measured) / measured);
}

void AppendRows(std::vector<std::string>& lines, const std::vector<RowComparison>& rows) {
    lines.push_back(
        "Zeile  Np(1000 m3)  Druck gemessen  berechnet     Abw.  GOEV gemessen  berechnet     "
        "Abw.");
    int i = 0;
    for (const RowComparison& r : rows) {
        const MeasuredPoint& m = r.measured;
        std::string line =
            Format("%5d  %11.1f  %14.1f  %9.1f  %s", ++i, double(m.np1000m3), double(m.pressureBar),
                   r.pressureBar, Deviation(r.pressureBar, m.pressureBar).c_str());
        if (m.hasGor)
            line += Format("  %13.1f  %9.1f  %s", double(m.gorSm3PerM3), r.gorSm3PerM3,
                           Deviation(r.gorSm3PerM3, m.gorSm3PerM3).c_str());
        if (r.beyondPrediction) line += "  (nach dem Ende der Vorhersage)";
        lines.push_back(line);
    }
}

// Which start was reported, of how many, and the warning about another.
void AppendStarts(std::vector<std::string>& lines, const MatchResult& r) {
    if (r.starts.size() > 1) {
        int converged = 0;
        for (const MatchStart& s : r.starts) converged += s.converged ? 1 : 0;
        std::string from;
        const MatchStart& best = r.starts[static_cast<size_t>(r.bestStart)];
        for (size_t j = 0; j < best.start.size() && j < r.inputs.size(); ++j)
            from += Format("%s%s %.6g", j == 0 ? "" : ", ", r.inputs[j].name.c_str(),
                           best.start[j]);
        lines.push_back(Format("%zu Starts, %d davon konvergiert; das Ergebnis kommt vom Start "
                               "%d (%s).",
                               r.starts.size(), converged, r.bestStart + 1, from.c_str()));
    }
    if (!r.startWarning.empty()) lines.push_back(r.startWarning);
}

}  // namespace

void AppendFittedValues(std::vector<std::string>& lines, const MatchResult& r, int nameWidth) {
    // "Größe" and "angepaßt" take two bytes more than they show.
    lines.push_back(Format("%-*s %13s %14s %14s   %s", nameWidth + 2, "Größe", "Start",
                           "angepaßt", "Std.-Fehler", "95 %-Intervall"));
    for (const FittedInput& f : r.inputs) {
        std::string line =
            Format("%-*s %13.6g %13.6g", nameWidth, f.name.c_str(), f.start, double(f.stored));
        if (f.hasStatistics)
            line += Format("   ± %-10.3g   %.6g bis %.6g", f.stdError, f.ci95Low, f.ci95High);
        else
            line += "   (nicht bestimmbar)";
        if (f.atBound) line += "  an der Grenze";
        lines.push_back(line);
    }
}

void AppendCorrelations(std::vector<std::string>& lines, const MatchResult& r, int nameWidth,
                        int columnWidth) {
    if (r.correlation.size() < 2) return;
    lines.push_back("");
    std::string head = Format("%-*s", nameWidth, "Korrelationen");
    for (const FittedInput& f : r.inputs) head += Format("%*s", columnWidth, f.name.c_str());
    lines.push_back(head);
    for (size_t i = 0; i < r.inputs.size(); ++i) {
        std::string line = Format("%-*s", nameWidth, r.inputs[i].name.c_str());
        for (double c : r.correlation[i]) line += Format("%*.3f", columnWidth, c);
        lines.push_back(line);
    }
}

std::vector<std::string> CorrelationWarnings(const MatchResult& r) {
    std::vector<std::string> lines;
    for (size_t i = 0; i < r.correlation.size(); ++i)
        for (size_t j = i + 1; j < r.correlation.size(); ++j)
            if (std::fabs(r.correlation[i][j]) > kStrongCorrelation)
                lines.push_back(Format(
                    "Warnung: %s und %s sind stark korreliert (r = %.3f): die Meßwerte "
                    "bestimmen sie nur gemeinsam, nicht jeden für sich.",
                    r.inputs[i].name.c_str(), r.inputs[j].name.c_str(), r.correlation[i][j]));
    return lines;
}

std::vector<std::string> MatchSummaryLines(const MatchResult& r, const std::string& fieldName) {
    std::vector<std::string> lines;
    lines.push_back("Anpassung an Meßwerte: " + fieldName);
    if (r.status == MatchStatus::Refused) {
        lines.push_back(r.message);
        return lines;
    }
    int pressures = 0, gors = 0;
    for (const RowComparison& row : r.rowsBefore) {
        ++pressures;
        if (row.measured.hasGor) ++gors;
    }
    std::string names;
    for (const FittedInput& f : r.inputs) names += (names.empty() ? "" : ", ") + f.name;
    lines.push_back(
        Format("Angepaßt: %s an %d Meßwerte (%d Drücke, %d GOEV); Gewichte Druck %g, "
               "GOEV %g",
               names.c_str(), pressures, pressures, gors, r.weights.pressure, r.weights.gor));
    if (!r.Converged()) {
        lines.push_back(r.message + " Die Eingaben bleiben unverändert.");
        lines.push_back(
            Format("%d Iterationen, %d Vorhersagen; RMS der relativen Abweichungen "
                   "an den Startwerten %s.",
                   r.iterations, r.predictions, Percent(r.rmsBefore).c_str()));
        AppendStarts(lines, r);
        if (!r.rowsAfter.empty()) {
            lines.push_back("");
            lines.push_back("Meßwerte gegen Rechnung mit den angepaßten Werten:");
            AppendRows(lines, r.rowsAfter);
        }
        return lines;
    }
    lines.push_back(
        Format("Konvergiert nach %d Iterationen mit %d Vorhersagen.", r.iterations, r.predictions));
    AppendStarts(lines, r);
    lines.push_back("");
    AppendFittedValues(lines, r, 20);
    if (r.degreesOfFreedom <= 0)
        lines.push_back("Ohne überzählige Meßwerte gibt es keine Streuung und keine Intervalle.");
    lines.push_back("");
    lines.push_back(Format("RMS der relativen Abweichungen: vorher %s, nachher %s",
                           Percent(r.rmsBefore).c_str(), Percent(r.rmsAfter).c_str()));
    lines.push_back("");
    lines.push_back("Meßwerte gegen Rechnung mit den angepaßten Werten:");
    AppendRows(lines, r.rowsAfter);
    AppendCorrelations(lines, r, 20, 19);
    const std::vector<std::string> warnings = CorrelationWarnings(r);
    if (!warnings.empty()) lines.push_back("");
    lines.insert(lines.end(), warnings.begin(), warnings.end());
    return lines;
}

std::string MatchCsvText(const MatchResult& r) {
    std::string out = "name;start;fitted;std_error;ci95_low;ci95_high\n";
    for (const FittedInput& f : r.inputs) {
        out += f.name + ';' + StartText(f.start) + ';' + ShortestText(f.stored) + ';';
        if (f.hasStatistics)
            out += ShortestText(f.stdError) + ';' + ShortestText(f.ci95Low) + ';' +
                   ShortestText(f.ci95High);
        else
            out += ";;";
        out += '\n';
    }
    return out;
}

std::string DriveIndexCsvText(const std::vector<DriveIndexStep>& steps) {
    // The column of CDI only for a case with a compressibility: every other
    // case keeps its columns.
    const bool compaction = HasCompactionDrive(steps);
    std::string out = compaction ? "step;pressure_bar;np_1000m3;f_1000m3;ddi;gdi;cdi;sum\n"
                                 : "step;pressure_bar;np_1000m3;f_1000m3;ddi;gdi;sum\n";
    for (const DriveIndexStep& s : steps) {
        out += std::to_string(s.index) + ';' + ShortestText(s.pressureBar) + ';' +
               ShortestText(s.np1000m3) + ';' + ShortestText(s.f1000m3) + ';';
        if (s.hasIndices)
            out += ShortestText(s.depletion) + ';' + ShortestText(s.gasCap) + ';' +
                   (compaction ? ShortestText(s.compaction) + ';' : std::string()) +
                   ShortestText(s.sum);
        else
            out += compaction ? ";;;" : ";;";
        out += '\n';
    }
    return out;
}

}  // namespace morvek
