#include "waterdrive/HistoryFile.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <optional>

#include "base/Cp1252.h"
#include "base/FileIO.h"
#include "base/Format.h"
#include "base/NumberText.h"

namespace morvek {
namespace {

constexpr size_t kMaxProblems = 100;
constexpr size_t kShownTokenChars = 24;

enum Column { kDays, kDate, kPressure, kNp, kGp, kRp, kWp, kWi, kGi, kColumnCount };

constexpr const char* kColumnNames[kColumnCount] = {
    "days",      "date",          "pressure_bar", "np_1000m3",  "gp_mio_sm3",
    "rp_sm3_per_m3", "wp_1000m3", "wi_1000m3",    "gi_mio_sm3",
};

void AddProblem(std::vector<std::string>& problems, std::string text) {
    if (problems.size() < kMaxProblems)
        problems.push_back(std::move(text));
    else if (problems.size() == kMaxProblems)
        problems.push_back("… und weitere fehlerhafte Zeilen.");
}

bool IsSeparator(char c) {
    return c == ' ' || c == '\t' || c == ';';
}

std::vector<std::string_view> Tokens(std::string_view line) {
    std::vector<std::string_view> out;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsSeparator(line[i])) ++i;
        if (i == line.size()) break;
        size_t end = i;
        while (end < line.size() && !IsSeparator(line[end])) ++end;
        out.push_back(line.substr(i, end - i));
        i = end;
    }
    return out;
}

std::string Shown(std::string_view token) {
    std::string text = Utf8FromUtf8OrCp1252(std::string(token.substr(0, kShownTokenChars)));
    if (token.size() > kShownTokenChars) text += "…";
    return text;
}

std::string Lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    return out;
}

// The columns of the header line, in the file's order, or problems.
bool ReadHeader(std::string_view line, std::vector<Column>& columns,
                std::vector<std::string>& problems) {
    std::array<bool, kColumnCount> seen{};
    for (std::string_view token : Tokens(line)) {
        const std::string name = Lower(token);
        int found = -1;
        for (int c = 0; c < kColumnCount; ++c)
            if (name == kColumnNames[c]) found = c;
        if (found < 0) {
            AddProblem(problems, Format("Zeile 1: unbekannte Spalte \"%s\" (möglich sind days oder "
                                        "date, pressure_bar, np_1000m3, gp_mio_sm3 oder "
                                        "rp_sm3_per_m3, wp_1000m3, wi_1000m3, gi_mio_sm3).",
                                        Shown(token).c_str()));
            continue;
        }
        if (seen[found]) {
            AddProblem(problems,
                       Format("Zeile 1: die Spalte %s steht zweimal.", kColumnNames[found]));
            continue;
        }
        seen[found] = true;
        columns.push_back(static_cast<Column>(found));
    }
    if (!problems.empty()) return false;
    const struct {
        Column a, b;
    } eitherOr[] = {{kDays, kDate}, {kGp, kRp}};
    for (const auto& e : eitherOr) {
        if (seen[e.a] && seen[e.b])
            AddProblem(problems, Format("Zeile 1: die Spalten %s und %s schließen einander aus.",
                                        kColumnNames[e.a], kColumnNames[e.b]));
        if (!seen[e.a] && !seen[e.b])
            AddProblem(problems, Format("Zeile 1: die Spalte %s oder %s fehlt.", kColumnNames[e.a],
                                        kColumnNames[e.b]));
    }
    for (Column c : {kPressure, kNp})
        if (!seen[c]) AddProblem(problems, Format("Zeile 1: die Spalte %s fehlt.", kColumnNames[c]));
    return problems.empty();
}

struct ParsedLine {
    HistoryRow row;
    std::optional<long> dayNumber;  // with a date column
    float rp = 0;
    bool hasRp = false;
};

// The problem of one line of values, or "".
std::string ParseLine(const std::vector<std::string_view>& tokens,
                      const std::vector<Column>& columns, ParsedLine& out) {
    if (tokens.size() != columns.size())
        return Format("%zu Werte statt %zu.", tokens.size(), columns.size());
    for (size_t i = 0; i < tokens.size(); ++i) {
        const std::string token(tokens[i]);
        if (columns[i] == kDate) {
            if (!IsValidDate(token))
                return Format("\"%s\" ist kein Datum der Form JJJJ-MM-TT.", Shown(token).c_str());
            out.dayNumber = DayNumber(token);
            continue;
        }
        float value = 0;
        if (!ParseFloatStrict(token, value)) {
            std::string withPoint = token;
            std::replace(withPoint.begin(), withPoint.end(), ',', '.');
            const bool comma = withPoint != token && ParseFloatStrict(withPoint, value);
            return Format("\"%s\" ist keine Zahl%s.", Shown(token).c_str(),
                          comma ? " (bitte mit Dezimalpunkt statt Komma schreiben)" : "");
        }
        HistoryRow& r = out.row;
        switch (columns[i]) {
            case kDays: r.days = value; break;
            case kPressure: r.pressureBar = value; break;
            case kNp: r.np1000m3 = value; break;
            case kGp: r.gpMioSm3 = value; break;
            case kRp:
                out.rp = value;
                out.hasRp = true;
                break;
            case kWp: r.wp1000m3 = value; break;
            case kWi: r.wi1000m3 = value; break;
            case kGi: r.giMioSm3 = value; break;
            case kDate:
            case kColumnCount: break;
        }
    }
    if (out.hasRp) {
        if (out.rp < 0.0f)
            return Format("Das kumulative Gas-Öl-Verhältnis %g darf nicht negativ sein.",
                          double(out.rp));
        // sm3/m3 times 1000 m3 is 1000 sm3; a thousandth of it million sm3.
        out.row.gpMioSm3 = static_cast<float>(double(out.rp) * double(out.row.np1000m3) / 1000.0);
    }
    return {};
}

}  // namespace

long DayNumber(const std::string& isoDate) {
    using namespace std::chrono;
    const year_month_day d{year{std::stoi(isoDate.substr(0, 4))},
                           month{unsigned(std::stoi(isoDate.substr(5, 2)))},
                           day{unsigned(std::stoi(isoDate.substr(8, 2)))}};
    return static_cast<long>(sys_days{d}.time_since_epoch().count());
}

std::string DateOfDayNumber(long dayNumber) {
    using namespace std::chrono;
    const year_month_day d{sys_days{days{dayNumber}}};
    return Format("%04d-%02u-%02u", int(d.year()), unsigned(d.month()), unsigned(d.day()));
}

TableReadStatus ParseHistoryText(std::string_view text, const std::string& fileName,
                                 ProductionHistory& history, std::vector<std::string>& problems) {
    problems.clear();
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::vector<Column> columns;
    std::vector<HistoryRow> rows;
    std::optional<long> firstDay;
    std::optional<long> lastDay;
    size_t pos = 0;
    int number = 0;
    bool headerRead = false;
    while (pos < text.size()) {
        const size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
        const std::string_view line = text.substr(pos, end - pos);
        pos = end;
        if (pos < text.size()) pos += text.compare(pos, 2, "\r\n") == 0 ? 2 : 1;
        ++number;
        if (!headerRead) {
            headerRead = true;
            if (!ReadHeader(line, columns, problems)) return TableReadStatus::Refused;
            continue;
        }
        const std::vector<std::string_view> tokens = Tokens(line);
        if (tokens.empty()) continue;
        if (rows.size() == size_t{kMaxHistoryRows}) {
            AddProblem(problems, Format("Zeile %d: mehr als %d Zeilen.", number, kMaxHistoryRows));
            break;
        }
        ParsedLine parsed;
        std::string problem = ParseLine(tokens, columns, parsed);
        if (problem.empty() && parsed.dayNumber) {
            if (!firstDay) firstDay = parsed.dayNumber;
            if (lastDay && *parsed.dayNumber <= *lastDay)
                problem = Format("Das Datum %s liegt nicht nach dem der Zeile davor (%s).",
                                 DateOfDayNumber(*parsed.dayNumber).c_str(),
                                 DateOfDayNumber(*lastDay).c_str());
            parsed.row.days = static_cast<float>(*parsed.dayNumber - *firstDay);
        }
        if (problem.empty())
            problem = HistoryRowProblem(parsed.row, rows.empty() ? nullptr : &rows.back());
        if (!problem.empty()) {
            AddProblem(problems, Format("Zeile %d: %s", number, problem.c_str()));
            continue;
        }
        if (parsed.dayNumber) lastDay = parsed.dayNumber;
        rows.push_back(parsed.row);
    }
    if (!headerRead)
        problems.push_back("Die Datei ist leer: die Kopfzeile mit den Spaltennamen fehlt.");
    else if (problems.empty() && rows.empty())
        problems.push_back("Die Datei enthält keine Zeile mit Werten.");
    if (!problems.empty()) return TableReadStatus::Refused;
    history.fileName = StorableInCp1252(fileName);
    history.startDate = firstDay ? DateOfDayNumber(*firstDay) : std::string();
    history.rows = std::move(rows);
    return TableReadStatus::Read;
}

TableReadStatus ReadHistoryFile(const std::string& path, ProductionHistory& history,
                                std::vector<std::string>& problems) {
    problems.clear();
    std::string bytes, error;
    if (!ReadWholeFile(path, bytes, error, kMaxHistoryFileBytes)) {
        problems.push_back(
            Format("Die Datei kann nicht gelesen werden: %s", Utf8FromUtf8OrCp1252(error).c_str()));
        return TableReadStatus::Unreadable;
    }
    return ParseHistoryText(bytes, FileNameOf(path), history, problems);
}

TableReadStatus HistoryFromRows(const std::vector<HistoryRow>& rows, const std::string& name,
                                const std::string& startDate, ProductionHistory& history,
                                std::vector<std::string>& problems) {
    problems.clear();
    if (rows.size() > size_t{kMaxHistoryRows}) {
        problems.push_back(Format("Die Historie hat %zu Zeilen; höchstens %d sind möglich.",
                                  rows.size(), kMaxHistoryRows));
        return TableReadStatus::Refused;
    }
    if (!startDate.empty() && !IsValidDate(startDate))
        problems.push_back(Format("Das Anfangsdatum \"%s\" ist kein Datum der Form JJJJ-MM-TT.",
                                  Shown(startDate).c_str()));
    const HistoryRow* before = nullptr;
    for (size_t i = 0; i < rows.size(); ++i) {
        const std::string problem = HistoryRowProblem(rows[i], before);
        if (!problem.empty()) {
            AddProblem(problems, Format("Zeile %zu: %s", i + 1, problem.c_str()));
            continue;
        }
        before = &rows[i];
    }
    if (problems.empty() && rows.empty()) problems.push_back("Die Historie enthält keine Zeile.");
    if (!problems.empty()) return TableReadStatus::Refused;
    history.fileName = StorableInCp1252(name);
    history.startDate = startDate;
    history.rows = rows;
    return TableReadStatus::Read;
}

}  // namespace morvek
