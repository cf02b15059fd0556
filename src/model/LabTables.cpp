#include "model/LabTables.h"

#include <algorithm>
#include <bit>
#include <concepts>
#include <cmath>
#include <cstdint>

#include "base/Cp1252.h"
#include "base/FileIO.h"
#include "base/Format.h"
#include "base/NumberText.h"

namespace morvek {
namespace {

// More problems than this are not collected: a file of garbage names its
// first bad lines, not every one of half a million.
constexpr size_t kMaxProblems = 100;
constexpr size_t kShownProblems = 10;
// A token shown in a message is cut to this many characters.
constexpr size_t kShownTokenChars = 24;

bool SameBits(float a, float b) {
    return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b);
}

std::string Number(float v) {
    return Format("%g", double(v));
}

// What distinguishes the two tables besides their columns (Row::Numbers):
// the names of the columns, the key they are sorted by and what a row must
// satisfy.
template <class Row>
struct Kind;

template <>
struct Kind<LabPvtRow> {
    static constexpr const char* kColumnNames = "Druck, Bo, Rs, Bg, Ölviskosität, Gasviskosität";
    static float Key(const LabPvtRow& r) { return r.pressureBar; }
    static std::string KeyText(float key) {
        return Format("Der Druck %s bar", Number(key).c_str());
    }
    // Bg and the gas viscosity may be anything: above the bubble point they
    // are not used, and the dialog's OK checks those below it.
    static std::string Check(const LabPvtRow& r) {
        if (!(r.pressureBar > 0.0f))
            return Format("Der Druck %s bar muß größer als 0 sein.", Number(r.pressureBar).c_str());
        if (!(r.bo > 0.0f)) return Format("Bo %s muß größer als 0 sein.", Number(r.bo).c_str());
        if (!(r.rs >= 0.0f)) return Format("Rs %s darf nicht negativ sein.", Number(r.rs).c_str());
        if (!(r.oilViscosityCp > 0.0f))
            return Format("Die Ölviskosität %s cP muß größer als 0 sein.",
                          Number(r.oilViscosityCp).c_str());
        return {};
    }
};

template <>
struct Kind<LabRelPermRow> {
    static constexpr const char* kColumnNames = "Gassättigung, krg, kro";
    static float Key(const LabRelPermRow& r) { return r.gasSaturation; }
    static std::string KeyText(float key) {
        return Format("Die Gassättigung %s", Number(key).c_str());
    }
    static std::string Check(const LabRelPermRow& r) {
        const struct {
            const char* name;
            float value;
        } values[] = {{"Die Gassättigung", r.gasSaturation}, {"krg", r.krg}, {"kro", r.kro}};
        for (const auto& v : values)
            if (!(v.value >= 0.0f && v.value <= 1.0f))
                return Format("%s %s muß zwischen 0 und 1 liegen.", v.name,
                              Number(v.value).c_str());
        return {};
    }
};

template <>
struct Kind<LabWaterCutRow> {
    static constexpr const char* kColumnNames = "Entölungsgrad, Wasseranteil";
    static float Key(const LabWaterCutRow& r) { return r.recoveryPct; }
    static std::string KeyText(float key) {
        return Format("Der Entölungsgrad %s %%", Number(key).c_str());
    }
    static std::string Check(const LabWaterCutRow& r) {
        if (!(r.recoveryPct >= 0.0f && r.recoveryPct <= 100.0f))
            return Format("Der Entölungsgrad %s %% muß zwischen 0 und 100 liegen.",
                          Number(r.recoveryPct).c_str());
        if (!(r.waterCut >= 0.0f && r.waterCut < 1.0f))
            return Format("Der Wasseranteil %s muß mindestens 0 und kleiner als 1 sein.",
                          Number(r.waterCut).c_str());
        return {};
    }
    // The water cut never falls as more oil is produced.
    static std::string Follows(const LabWaterCutRow& before, const LabWaterCutRow& row) {
        if (row.waterCut >= before.waterCut) return {};
        return Format("Der Wasseranteil %s bei %s %% ist kleiner als %s bei %s %%; er darf mit "
                      "dem Entölungsgrad nicht fallen.",
                      Number(row.waterCut).c_str(), Number(row.recoveryPct).c_str(),
                      Number(before.waterCut).c_str(), Number(before.recoveryPct).c_str());
    }
};

// A kind whose rows must also agree with the row before them, once sorted.
template <class Row>
concept ChecksOrder = requires(const Row& a) {
    { Kind<Row>::Follows(a, a) } -> std::same_as<std::string>;
};

template <class Row>
struct TableOf;
template <>
struct TableOf<LabPvtRow> {
    using Type = LabPvtTable;
};
template <>
struct TableOf<LabRelPermRow> {
    using Type = LabRelPermTable;
};
template <>
struct TableOf<LabWaterCutRow> {
    using Type = LabWaterCutTable;
};

template <class Row>
struct NumberedRow {
    Row row;
    int line;
};

void AddProblem(std::vector<std::string>& problems, std::string text) {
    if (problems.size() < kMaxProblems) {
        problems.push_back(std::move(text));
    } else if (problems.size() == kMaxProblems) {
        problems.push_back("… und weitere fehlerhafte Zeilen.");
    }
}

// Sorts the rows by their key, names every key that stands twice and checks
// the row count; on success the table takes the rows and the name.
template <class Row>
TableReadStatus Finish(std::vector<NumberedRow<Row>> rows, const std::string& name,
                       typename TableOf<Row>::Type& table, std::vector<std::string>& problems) {
    std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
        return Kind<Row>::Key(a.row) < Kind<Row>::Key(b.row);
    });
    for (size_t i = 1; i < rows.size(); ++i) {
        const NumberedRow<Row>& a = rows[i - 1];
        const NumberedRow<Row>& b = rows[i];
        if (Kind<Row>::Key(a.row) == Kind<Row>::Key(b.row)) {
            const NumberedRow<Row>& later = a.line > b.line ? a : b;
            const NumberedRow<Row>& earlier = a.line > b.line ? b : a;
            AddProblem(problems,
                       Format("Zeile %d: %s steht schon in Zeile %d.", later.line,
                              Kind<Row>::KeyText(Kind<Row>::Key(later.row)).c_str(), earlier.line));
        } else if constexpr (ChecksOrder<Row>) {
            if (const std::string why = Kind<Row>::Follows(a.row, b.row); !why.empty())
                AddProblem(problems, Format("Zeile %d: %s", b.line, why.c_str()));
        }
    }
    if (problems.empty() && rows.size() < size_t{kMinLabTableRows})
        problems.push_back(
            Format("Die Tabelle enthält %zu Zeile(n) mit Werten; mindestens %d "
                   "sind nötig.",
                   rows.size(), kMinLabTableRows));
    if (!problems.empty()) return TableReadStatus::Refused;
    table.fileName = StorableInCp1252(name);
    table.rows.clear();
    for (const NumberedRow<Row>& r : rows) table.rows.push_back(r.row);
    return TableReadStatus::Read;
}

bool IsSeparator(char c) {
    return c == ' ' || c == '\t' || c == ';';
}

std::string Shown(std::string_view token) {
    std::string text = Utf8FromUtf8OrCp1252(std::string(token.substr(0, kShownTokenChars)));
    if (token.size() > kShownTokenChars) text += "…";
    return text;
}

// The problem of one line of numbers, or "" when row holds the line's values.
template <class Row>
std::string ParseLine(std::string_view line, Row& row, bool& empty) {
    std::array<float, Row::kColumns> numbers{};
    size_t count = 0;
    size_t i = 0;
    empty = true;
    while (i < line.size()) {
        while (i < line.size() && IsSeparator(line[i])) ++i;
        if (i == line.size()) break;
        size_t end = i;
        while (end < line.size() && !IsSeparator(line[end])) ++end;
        const std::string_view token = line.substr(i, end - i);
        i = end;
        empty = false;
        float value = 0;
        if (!ParseFloatStrict(std::string(token), value)) {
            std::string withPoint(token);
            std::replace(withPoint.begin(), withPoint.end(), ',', '.');
            const bool comma = withPoint != token && ParseFloatStrict(withPoint, value);
            return Format("\"%s\" ist keine Zahl%s.", Shown(token).c_str(),
                          comma ? " (bitte mit Dezimalpunkt statt Komma schreiben)" : "");
        }
        if (count < Row::kColumns) numbers[count] = value;
        ++count;
    }
    if (empty) return {};
    if (count != Row::kColumns)
        return Format("%zu Zahlen statt %zu (%s).", count, Row::kColumns, Kind<Row>::kColumnNames);
    row = Row::FromNumbers(numbers);
    return Kind<Row>::Check(row);
}

template <class Row>
TableReadStatus ParseText(std::string_view text, const std::string& name,
                          typename TableOf<Row>::Type& table, std::vector<std::string>& problems) {
    problems.clear();
    std::vector<NumberedRow<Row>> rows;
    size_t pos = 0;
    int number = 0;
    while (pos < text.size()) {
        // A line ends at CR LF, LF or CR.
        const size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
        const std::string_view line = text.substr(pos, end - pos);
        pos = end;
        if (pos < text.size()) pos += text.compare(pos, 2, "\r\n") == 0 ? 2 : 1;
        if (++number == 1) continue;  // the header, whatever it holds

        Row row{};
        bool empty = true;
        const std::string problem = ParseLine(line, row, empty);
        if (!problem.empty()) {
            AddProblem(problems, Format("Zeile %d: %s", number, problem.c_str()));
            continue;
        }
        if (empty) continue;
        if (rows.size() == size_t{kMaxLabTableRows}) {
            AddProblem(problems,
                       Format("Zeile %d: mehr als %d Tabellenzeilen.", number, kMaxLabTableRows));
            break;
        }
        rows.push_back({row, number});
    }
    return Finish(std::move(rows), name, table, problems);
}

template <class Row>
TableReadStatus FromRows(std::vector<Row> given, const std::string& name,
                         typename TableOf<Row>::Type& table, std::vector<std::string>& problems) {
    problems.clear();
    if (given.size() > size_t{kMaxLabTableRows}) {
        problems.push_back(Format("Die Tabelle hat %zu Zeilen; höchstens %d sind möglich.",
                                  given.size(), kMaxLabTableRows));
        return TableReadStatus::Refused;
    }
    std::vector<NumberedRow<Row>> rows;
    for (size_t i = 0; i < given.size(); ++i) {
        const int line = static_cast<int>(i) + 1;
        std::string problem;
        for (float v : given[i].Numbers())
            if (!std::isfinite(v)) problem = "Die Zeile enthält einen Wert, der keine Zahl ist.";
        if (problem.empty()) problem = Kind<Row>::Check(given[i]);
        if (!problem.empty()) {
            AddProblem(problems, Format("Zeile %d: %s", line, problem.c_str()));
            continue;
        }
        rows.push_back({given[i], line});
    }
    return Finish(std::move(rows), name, table, problems);
}

template <class Row>
TableReadStatus ReadFile(const std::string& path, typename TableOf<Row>::Type& table,
                         std::vector<std::string>& problems) {
    problems.clear();
    std::string bytes, error;
    if (!ReadWholeFile(path, bytes, error, kMaxLabTableFileBytes)) {
        problems.push_back(
            Format("Die Datei kann nicht gelesen werden: %s", Utf8FromUtf8OrCp1252(error).c_str()));
        return TableReadStatus::Unreadable;
    }
    return ParseText<Row>(bytes, FileNameOf(path), table, problems);
}

template <class Row, class Table>
bool IsValid(const Table& table) {
    const size_t n = table.rows.size();
    if (n < size_t{kMinLabTableRows} || n > size_t{kMaxLabTableRows}) return false;
    if (!FitsCp1252(table.fileName)) return false;
    for (size_t i = 0; i < n; ++i) {
        for (float v : table.rows[i].Numbers())
            if (!std::isfinite(v)) return false;
        if (!Kind<Row>::Check(table.rows[i]).empty()) return false;
        if (i > 0 && !(Kind<Row>::Key(table.rows[i - 1]) < Kind<Row>::Key(table.rows[i])))
            return false;
        if constexpr (ChecksOrder<Row>) {
            if (i > 0 && !Kind<Row>::Follows(table.rows[i - 1], table.rows[i]).empty())
                return false;
        }
    }
    return true;
}

template <class Row>
bool SameRows(const std::vector<Row>& a, const std::vector<Row>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto x = a[i].Numbers(), y = b[i].Numbers();
        for (size_t k = 0; k < Row::kColumns; ++k)
            if (!SameBits(x[k], y[k])) return false;
    }
    return true;
}

}  // namespace

bool SameTable(const LabPvtTable& a, const LabPvtTable& b) {
    return a.fileName == b.fileName && SameRows(a.rows, b.rows);
}

bool SameTable(const LabRelPermTable& a, const LabRelPermTable& b) {
    return a.fileName == b.fileName && SameRows(a.rows, b.rows);
}

bool SameTable(const LabWaterCutTable& a, const LabWaterCutTable& b) {
    return a.fileName == b.fileName && SameRows(a.rows, b.rows);
}

TableReadStatus ParsePvtTableText(std::string_view text, const std::string& fileName,
                                  LabPvtTable& table, std::vector<std::string>& problems) {
    return ParseText<LabPvtRow>(text, fileName, table, problems);
}

TableReadStatus ParseRelPermTableText(std::string_view text, const std::string& fileName,
                                      LabRelPermTable& table, std::vector<std::string>& problems) {
    return ParseText<LabRelPermRow>(text, fileName, table, problems);
}

TableReadStatus ParseWaterCutTableText(std::string_view text, const std::string& fileName,
                                       LabWaterCutTable& table, std::vector<std::string>& problems) {
    return ParseText<LabWaterCutRow>(text, fileName, table, problems);
}

TableReadStatus ReadPvtTableFile(const std::string& path, LabPvtTable& table,
                                 std::vector<std::string>& problems) {
    return ReadFile<LabPvtRow>(path, table, problems);
}

TableReadStatus ReadRelPermTableFile(const std::string& path, LabRelPermTable& table,
                                     std::vector<std::string>& problems) {
    return ReadFile<LabRelPermRow>(path, table, problems);
}

TableReadStatus ReadWaterCutTableFile(const std::string& path, LabWaterCutTable& table,
                                      std::vector<std::string>& problems) {
    return ReadFile<LabWaterCutRow>(path, table, problems);
}

TableReadStatus PvtTableFromRows(std::vector<LabPvtRow> rows, const std::string& name,
                                 LabPvtTable& table, std::vector<std::string>& problems) {
    return FromRows(std::move(rows), name, table, problems);
}

TableReadStatus RelPermTableFromRows(std::vector<LabRelPermRow> rows, const std::string& name,
                                     LabRelPermTable& table, std::vector<std::string>& problems) {
    return FromRows(std::move(rows), name, table, problems);
}

TableReadStatus WaterCutTableFromRows(std::vector<LabWaterCutRow> rows, const std::string& name,
                                      LabWaterCutTable& table, std::vector<std::string>& problems) {
    return FromRows(std::move(rows), name, table, problems);
}

bool IsValidTable(const LabPvtTable& table) {
    return IsValid<LabPvtRow>(table);
}

bool IsValidTable(const LabRelPermTable& table) {
    return IsValid<LabRelPermRow>(table);
}

bool IsValidTable(const LabWaterCutTable& table) {
    return IsValid<LabWaterCutRow>(table);
}

std::string TableProblemMessage(const std::string& tableKind, const std::string& path,
                                const std::vector<std::string>& problems) {
    std::string text = Format("Die %s %s wurde nicht übernommen:", tableKind.c_str(),
                              Utf8FromUtf8OrCp1252(path).c_str());
    for (size_t i = 0; i < problems.size() && i < kShownProblems; ++i) text += "\n" + problems[i];
    if (problems.size() > kMaxProblems)
        text += "\n… und viele weitere.";
    else if (problems.size() > kShownProblems)
        text += Format("\n… und %zu weitere.", problems.size() - kShownProblems);
    return text;
}

}  // namespace morvek
