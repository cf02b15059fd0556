#include "model/LabTables.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <concepts>
#include <cmath>
#include <cstdint>

#include "base/Cp1252.h"
#include "base/FileIO.h"
#include "base/Format.h"
#include "base/NumberText.h"
#include "base/PrintableText.h"

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

// The shortest text that reads back as the value, so that a value just
// outside a range shows the digits that put it there (krg 1.0000001, not 1).
std::string Number(float v) {
    return ShortestText(v);
}

// What distinguishes the two tables besides their columns (Row::Numbers):
// the names of the columns, the key they are sorted by and what a row must
// satisfy.
template <class Row>
struct Kind;

template <>
struct Kind<LabPvtRow> {
    using Columns = LabPvtColumns;
    static constexpr size_t kMinColumns = LabPvtRow::kColumns;
    static constexpr size_t kMaxColumns = LabPvtRow::kColumns + 2;  // with Rv and Bw
    static constexpr const char* kColumnNames = "Druck, Bo, Rs, Bg, Ölviskosität, Gasviskosität";
    static float Key(const LabPvtRow& r) { return r.pressureBar; }
    static std::string KeyText(float key) {
        return Format("Der Druck %s bar", Number(key).c_str());
    }
    // The names of a table of this many columns (the optional ones as the
    // header orders them); "" when no table has as many.
    static std::string ColumnNames(size_t count, const Columns& order) {
        if (count == kMinColumns) return kColumnNames;
        if (count == kMinColumns + 1) return Format("%s, %s", kColumnNames, order.bwFirst ? "Bw" : "Rv");
        if (count == kMaxColumns)
            return Format("%s, %s", kColumnNames, order.bwFirst ? "Bw, Rv" : "Rv, Bw");
        return Format("%s; wahlweise dazu Rv und Bw", kColumnNames);
    }
    // The optional columns of a table of count columns, in the header's order.
    static Columns ColumnsOf(size_t count, const Columns& order) {
        Columns c = order;
        c.rv = count == kMaxColumns || (count == kMinColumns + 1 && !order.bwFirst);
        c.bw = count == kMaxColumns || (count == kMinColumns + 1 && order.bwFirst);
        return c;
    }
    static LabPvtRow FromNumbers(const std::array<float, kMaxColumns>& v, const Columns& c) {
        LabPvtRow r{v[0], v[1], v[2], v[3], v[4], v[5]};
        size_t next = kMinColumns;
        const bool rvFirst = !c.bwFirst;
        if (c.rv && rvFirst) r.rv = v[next++];
        if (c.bw) r.bw = v[next++];
        if (c.rv && !rvFirst) r.rv = v[next++];
        return r;
    }
    // Every number of a row, the optional columns it has included.
    static std::vector<float> AllNumbers(const LabPvtRow& r, const Columns& c) {
        const auto six = r.Numbers();
        std::vector<float> v(six.begin(), six.end());
        if (c.rv) v.push_back(r.rv);
        if (c.bw) v.push_back(r.bw);
        return v;
    }
    // Bg and the gas viscosity may be anything: above the bubble point they
    // are not used, and the dialog's OK checks those below it; so may Rv.
    static std::string Check(const LabPvtRow& r, const Columns& c) {
        if (!(r.pressureBar > 0.0f))
            return Format("Der Druck %s bar muß größer als 0 sein.", Number(r.pressureBar).c_str());
        if (!(r.bo > 0.0f)) return Format("Bo %s muß größer als 0 sein.", Number(r.bo).c_str());
        if (!(r.rs >= 0.0f)) return Format("Rs %s darf nicht negativ sein.", Number(r.rs).c_str());
        if (!(r.oilViscosityCp > 0.0f))
            return Format("Die Ölviskosität %s cP muß größer als 0 sein.",
                          Number(r.oilViscosityCp).c_str());
        if (c.rv && !(r.rv >= 0.0f))
            return Format("Rv %s darf nicht negativ sein.", Number(r.rv).c_str());
        if (c.bw && !(r.bw > 0.0f))
            return Format("Bw %s muß größer als 0 sein.", Number(r.bw).c_str());
        // Without the optional columns a row holds no other values.
        if ((!c.rv && r.rv != 0.0f) || (!c.bw && r.bw != 0.0f))
            return "Die Zeile enthält Rv oder Bw, die Tabelle aber nicht.";
        return {};
    }
    // The order of the optional columns the header names: "Rv" and "Bw" as
    // words of their own, a unit may follow in brackets ("Bw(m3/sm3)").
    static Columns OrderOfHeader(std::string_view header) {
        size_t rvAt = std::string_view::npos, bwAt = std::string_view::npos;
        size_t i = 0;
        while (i < header.size()) {
            while (i < header.size() && !IsWordCharacter(header[i])) ++i;
            const size_t begin = i;
            while (i < header.size() && IsWordCharacter(header[i])) ++i;
            std::string word(header.substr(begin, i - begin));
            for (char& ch : word) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
            if (word == "rv" && rvAt == std::string_view::npos) rvAt = begin;
            if (word == "bw" && bwAt == std::string_view::npos) bwAt = begin;
        }
        Columns c;
        c.bwFirst = bwAt != std::string_view::npos && (rvAt == std::string_view::npos || bwAt < rvAt);
        return c;
    }
    static bool IsWordCharacter(char ch) {
        return std::isalnum(static_cast<unsigned char>(ch)) != 0 || ch == '_';
    }
    static Columns ColumnsOfTable(const LabPvtTable& t) {
        Columns c;
        c.rv = t.hasRv;
        c.bw = t.hasBw;
        return c;
    }
    static void SetColumns(LabPvtTable& t, const Columns& c) {
        t.hasRv = c.rv;
        t.hasBw = c.bw;
    }
};

template <>
struct Kind<LabRelPermRow> {
    struct Columns {};
    static constexpr size_t kMinColumns = LabRelPermRow::kColumns;
    static constexpr size_t kMaxColumns = LabRelPermRow::kColumns;
    static constexpr const char* kColumnNames = "Gassättigung, krg, kro";
    static float Key(const LabRelPermRow& r) { return r.gasSaturation; }
    static std::string KeyText(float key) {
        return Format("Die Gassättigung %s", Number(key).c_str());
    }
    static std::string ColumnNames(size_t, const Columns&) { return kColumnNames; }
    static Columns ColumnsOf(size_t, const Columns& order) { return order; }
    static LabRelPermRow FromNumbers(const std::array<float, kMaxColumns>& v, const Columns&) {
        return LabRelPermRow::FromNumbers(v);
    }
    static std::vector<float> AllNumbers(const LabRelPermRow& r, const Columns&) {
        const auto v = r.Numbers();
        return {v.begin(), v.end()};
    }
    static std::string Check(const LabRelPermRow& r, const Columns&) {
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
    static Columns OrderOfHeader(std::string_view) { return {}; }
    static Columns ColumnsOfTable(const LabRelPermTable&) { return {}; }
    static void SetColumns(LabRelPermTable&, const Columns&) {}
};

template <>
struct Kind<LabWaterCutRow> {
    struct Columns {};
    static constexpr size_t kMinColumns = LabWaterCutRow::kColumns;
    static constexpr size_t kMaxColumns = LabWaterCutRow::kColumns;
    static constexpr const char* kColumnNames = "Entölungsgrad, Wasseranteil";
    static float Key(const LabWaterCutRow& r) { return r.recoveryPct; }
    static std::string KeyText(float key) {
        return Format("Der Entölungsgrad %s %%", Number(key).c_str());
    }
    static std::string ColumnNames(size_t, const Columns&) { return kColumnNames; }
    static Columns ColumnsOf(size_t, const Columns& order) { return order; }
    static LabWaterCutRow FromNumbers(const std::array<float, kMaxColumns>& v, const Columns&) {
        return LabWaterCutRow::FromNumbers(v);
    }
    static std::vector<float> AllNumbers(const LabWaterCutRow& r, const Columns&) {
        const auto v = r.Numbers();
        return {v.begin(), v.end()};
    }
    static Columns OrderOfHeader(std::string_view) { return {}; }
    static Columns ColumnsOfTable(const LabWaterCutTable&) { return {}; }
    static void SetColumns(LabWaterCutTable&, const Columns&) {}
    static std::string Check(const LabWaterCutRow& r, const Columns&) {
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
                       const typename Kind<Row>::Columns& columns,
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
    table.fileName = TableNameOf(name);
    table.rows.clear();
    for (const NumberedRow<Row>& r : rows) table.rows.push_back(r.row);
    Kind<Row>::SetColumns(table, columns);
    return TableReadStatus::Read;
}

}  // namespace

std::string TableNameOf(const std::string& fileName) {
    // Characters code page 1252 cannot hold and control characters become
    // '?', as a field name's do in the report.
    return OneLineText(StorableInCp1252(fileName));
}

namespace {

bool IsSeparator(char c) {
    return c == ' ' || c == '\t' || c == ';';
}

// What the bytes of a file are when they are no text of numbers at all:
// UTF-16 (with or without its byte-order mark) or another binary file; ""
// for a text.
std::string NotAText(std::string_view text) {
    constexpr const char* kSaveAs = "; bitte als UTF-8 oder Codepage 1252 (ANSI) speichern.";
    if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF"))
        return std::string("Die Datei ist in UTF-16 geschrieben (") +
               (text[0] == '\xFF' ? "Little" : "Big") + " Endian)" + kSaveAs;
    const size_t nul = text.find('\0');
    if (nul == std::string_view::npos) return {};
    // UTF-16 without a mark: every other byte of its ASCII text is a zero.
    size_t zeros[2] = {0, 0};
    const size_t probe = std::min<size_t>(text.size(), 512);
    for (size_t i = 0; i < probe; ++i)
        if (text[i] == '\0') ++zeros[i % 2];
    if (probe >= 4 && (zeros[0] >= probe / 2 - 1 || zeros[1] >= probe / 2 - 1))
        return std::string("Die Datei ist in UTF-16 geschrieben (ohne Kennung)") + kSaveAs;
    return Format("Die Datei enthält Nullbytes (das erste an Byte %zu): sie ist keine Textdatei",
                  nul + 1) +
           kSaveAs;
}

std::string Shown(std::string_view token) {
    // Control characters are shown as \xNN: the message stays on its line
    // and sends nothing to the terminal.
    std::string text =
        DisplayPath(Utf8FromUtf8OrCp1252(std::string(token.substr(0, kShownTokenChars))));
    if (token.size() > kShownTokenChars) text += "…";
    return text;
}

// The numbers of one line (at most kMaxColumns of them kept, all counted),
// or the problem of a token that is not a number.
template <class Row>
std::string ParseNumbers(std::string_view line,
                         std::array<float, Kind<Row>::kMaxColumns>& numbers, size_t& count,
                         bool& empty) {
    count = 0;
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
        if (count < Kind<Row>::kMaxColumns) numbers[count] = value;
        ++count;
    }
    return {};
}

template <class Row>
TableReadStatus ParseText(std::string_view text, const std::string& name,
                          typename TableOf<Row>::Type& table, std::vector<std::string>& problems) {
    using K = Kind<Row>;
    problems.clear();
    if (std::string what = NotAText(text); !what.empty()) {
        problems.push_back(std::move(what));
        return TableReadStatus::Refused;
    }
    std::vector<NumberedRow<Row>> rows;
    typename K::Columns order{};
    // The number of columns of the table: that of its first row of a
    // possible count; every other row must have as many.
    size_t columns = 0;
    size_t pos = 0;
    int number = 0;
    while (pos < text.size()) {
        // A line ends at CR LF, LF or CR.
        const size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
        const std::string_view line = text.substr(pos, end - pos);
        pos = end;
        if (pos < text.size()) pos += text.compare(pos, 2, "\r\n") == 0 ? 2 : 1;
        if (++number == 1) {  // the header: only the names of optional columns count
            order = K::OrderOfHeader(line);
            continue;
        }

        std::array<float, K::kMaxColumns> numbers{};
        size_t count = 0;
        bool empty = true;
        std::string problem = ParseNumbers<Row>(line, numbers, count, empty);
        if (problem.empty() && !empty) {
            if (columns == 0 && count >= K::kMinColumns && count <= K::kMaxColumns)
                columns = count;
            if (columns != 0 && count != columns)
                problem = Format("%zu Zahlen statt %zu (%s).", count, columns,
                                 K::ColumnNames(columns, order).c_str());
            else if (columns == 0 && K::kMinColumns == K::kMaxColumns)
                problem = Format("%zu Zahlen statt %zu (%s).", count, K::kMinColumns,
                                 K::kColumnNames);
            else if (columns == 0)
                problem = Format("%zu Zahlen statt %zu bis %zu (%s).", count, K::kMinColumns,
                                 K::kMaxColumns, K::ColumnNames(0, order).c_str());
        }
        Row row{};
        if (problem.empty() && !empty) {
            row = K::FromNumbers(numbers, K::ColumnsOf(columns, order));
            problem = K::Check(row, K::ColumnsOf(columns, order));
        }
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
    return Finish(std::move(rows), name, K::ColumnsOf(columns, order), table, problems);
}

template <class Row>
TableReadStatus FromRows(std::vector<Row> given, const std::string& name,
                         const typename Kind<Row>::Columns& columns,
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
        for (float v : Kind<Row>::AllNumbers(given[i], columns))
            if (!std::isfinite(v)) problem = "Die Zeile enthält einen Wert, der keine Zahl ist.";
        if (problem.empty()) problem = Kind<Row>::Check(given[i], columns);
        if (!problem.empty()) {
            AddProblem(problems, Format("Zeile %d: %s", line, problem.c_str()));
            continue;
        }
        rows.push_back({given[i], line});
    }
    return Finish(std::move(rows), name, columns, table, problems);
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
    const auto columns = Kind<Row>::ColumnsOfTable(table);
    for (size_t i = 0; i < n; ++i) {
        for (float v : Kind<Row>::AllNumbers(table.rows[i], columns))
            if (!std::isfinite(v)) return false;
        if (!Kind<Row>::Check(table.rows[i], columns).empty()) return false;
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
    if (a.fileName != b.fileName || a.hasRv != b.hasRv || a.hasBw != b.hasBw ||
        !SameRows(a.rows, b.rows))
        return false;
    for (size_t i = 0; i < a.rows.size(); ++i)
        if (!SameBits(a.rows[i].rv, b.rows[i].rv) || !SameBits(a.rows[i].bw, b.rows[i].bw))
            return false;
    return true;
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
                                 LabPvtTable& table, std::vector<std::string>& problems,
                                 LabPvtColumns columns) {
    return FromRows(std::move(rows), name, columns, table, problems);
}

TableReadStatus RelPermTableFromRows(std::vector<LabRelPermRow> rows, const std::string& name,
                                     LabRelPermTable& table, std::vector<std::string>& problems) {
    return FromRows(std::move(rows), name, Kind<LabRelPermRow>::Columns{}, table, problems);
}

TableReadStatus WaterCutTableFromRows(std::vector<LabWaterCutRow> rows, const std::string& name,
                                      LabWaterCutTable& table, std::vector<std::string>& problems) {
    return FromRows(std::move(rows), name, Kind<LabWaterCutRow>::Columns{}, table, problems);
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
