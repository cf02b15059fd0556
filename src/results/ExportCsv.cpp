#include "results/ExportCsv.h"

#include <vector>

#include "base/FileIO.h"
#include "base/Format.h"
#include "base/NumberText.h"
#include "base/PrintableText.h"

namespace {

constexpr double kPercent = 100.0;
constexpr double kThousand = 1000.0;

bool IsNumberCell(const std::string& cell) {
    float ignored = 0;
    return !cell.empty() && cell.find_first_of(" \t") == std::string::npos &&
           ParseFloatStrict(cell, ignored);
}

}  // namespace

std::string WithDecimalComma(const std::string& number) {
    std::string out = number;
    for (char& c : out)
        if (c == '.') c = ',';
    return out;
}

std::string CsvWithDecimalComma(const std::string& csv) {
    std::string out;
    out.reserve(csv.size());
    std::string cell;
    bool quoted = false;
    auto flush = [&] {
        out += IsNumberCell(cell) ? WithDecimalComma(cell) : cell;
        cell.clear();
    };
    for (char c : csv) {
        if (quoted) {
            cell += c;
            if (c == '"') quoted = false;  // a doubled quote opens again at once
            continue;
        }
        if (c == '"') {
            quoted = true;
            cell += c;
        } else if (c == ';' || c == '\n' || c == '\r') {
            flush();
            out += c;
        } else {
            cell += c;
        }
    }
    flush();
    return out;
}

std::string StepTableCsvText(const morvek::PredictionResult& p) {
    std::string text =
        "\xEF\xBB\xBF"
        "Schritt;Druck (bar);Kum. Ölförderung (1000 m3);Kum. Gasförderung (Mio sm3);"
        "GOEV (sm3/m3);Entölungsgrad (%);So (-);Sg (-);Bo (m3/sm3);Rs (sm3/m3);Bg (m3/sm3);"
        "Ölviskosität (cP);Gasviskosität (cP);krg/kro (-)\n";
    for (const morvek::PredictionStep& s : p.steps) {
        const double recovery = p.ooip1000m3 > 0 ? kPercent * s.np1000m3 / p.ooip1000m3 : 0.0;
        const double values[] = {s.np1000m3,
                                 s.gp1000Sm3 / kThousand,
                                 s.gorSm3PerM3,
                                 recovery,
                                 s.oilSaturation,
                                 s.gasSaturation,
                                 s.bo,
                                 s.rs,
                                 s.bg,
                                 s.oilViscosityCp,
                                 s.gasViscosityCp,
                                 s.krgKro};
        text += Format("%d;", s.index) + ShortestText(s.pressureBar);
        for (double v : values) text += ';' + ShortestText(v);
        text += '\n';
    }
    return text;
}

bool WriteExportFile(const std::string& path, const std::string& text, std::string& error) {
    std::string problem;
    if (WriteFileAtomically(path, text, problem)) return true;
    error = Format("Die Datei %s kann nicht geschrieben werden.\n%s", DisplayPath(path).c_str(),
                   problem.c_str());
    return false;
}
