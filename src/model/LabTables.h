#pragma once
// The laboratory tables a case may use instead of the correlations: the PVT
// table of a differential-liberation report and the gas-oil relative
// permeabilities of a special core analysis. Both come from text files the
// engineer writes or exports:
//
//   first line   a header, whatever it holds (ignored)
//   then         one row per line, numbers with a decimal point, separated by
//                blanks, tabs or semicolons; empty lines are skipped
//   PVT          pressure (bar), Bo (m3/sm3), Rs (sm3/m3), Bg (m3/sm3),
//                oil viscosity (cP), gas viscosity (cP), and optionally
//                Rv (vaporised oil-gas ratio, m3/sm3) and Bw (water formation
//                volume factor, m3/sm3) as a 7th and 8th column: every row
//                has the same number of columns; a header that names "Rv" or
//                "Bw" (as a word of its own, a unit may follow in brackets)
//                gives their order, otherwise Rv comes before Bw
//   relperm      gas saturation (fraction of the pore volume), krg, kro
//
// Line ends CR LF, LF or CR; code page 1252 or UTF-8 (only the header may hold
// anything but ASCII). Rows may stand in any order and are sorted on reading;
// at least two and at most kMaxLabTableRows. A file is taken whole or not at
// all: every bad line is named with its line number.
//
// Values are single precision, as the case file stores them.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace morvek {

inline constexpr int kMinLabTableRows = 2;
inline constexpr int kMaxLabTableRows = 300;  // as many points as a graph series holds
// A table file is read whole; a larger one is refused before reading.
inline constexpr size_t kMaxLabTableFileBytes = 1u << 20;

struct LabPvtRow {
    float pressureBar = 0;
    float bo = 0;  // m3 at reservoir conditions per sm3 of stock-tank oil
    float rs = 0;  // sm3/m3
    // Above the bubble point any value: the prediction takes Bg and the gas
    // viscosity only from rows at or below it.
    float bg = 0;  // m3/sm3
    float oilViscosityCp = 0;
    float gasViscosityCp = 0;
    // The optional columns (LabPvtTable::hasRv, hasBw say whether the table
    // holds them; 0 otherwise). Rv is, like Bg, only used at or below the
    // bubble point.
    float rv = 0;  // vaporised oil-gas ratio, m3 of stock-tank oil per sm3 of gas
    float bw = 0;  // water formation volume factor, m3/sm3

    // The values of the six columns every table has, in the order of the
    // file's columns, which the case file keeps too.
    static constexpr size_t kColumns = 6;
    std::array<float, kColumns> Numbers() const {
        return {pressureBar, bo, rs, bg, oilViscosityCp, gasViscosityCp};
    }
    static LabPvtRow FromNumbers(const std::array<float, kColumns>& v) {
        return {v[0], v[1], v[2], v[3], v[4], v[5]};
    }
};

struct LabPvtTable {
    std::string fileName;         // as shown in the report (TableNameOf the file's name)
    std::vector<LabPvtRow> rows;  // strictly ascending pressure
    // The optional columns the table holds (every row then has a value).
    bool hasRv = false;
    bool hasBw = false;
};

struct LabRelPermRow {
    float gasSaturation = 0;  // Sg, fraction of the pore volume
    float krg = 0;
    float kro = 0;

    static constexpr size_t kColumns = 3;
    std::array<float, kColumns> Numbers() const { return {gasSaturation, krg, kro}; }
    static LabRelPermRow FromNumbers(const std::array<float, kColumns>& v) {
        return {v[0], v[1], v[2]};
    }
};

struct LabRelPermTable {
    std::string fileName;
    std::vector<LabRelPermRow> rows;  // strictly ascending gas saturation
};

// The name a table takes from its file: every character that code page 1252
// cannot hold, and every control character, as '?', so that the name stays
// on its line in the report and the case file can store it.
std::string TableNameOf(const std::string& fileName);
// The water cut of the produced liquid against the recovery factor, which the
// forecast against time takes its water rate from (the --wasseranteil file):
//   recovery factor (percent of the oil in place, 0 to 100), water cut
//   (water rate / liquid rate at the surface, 0 to below 1)
// with the water cut never falling as the recovery factor grows.
struct LabWaterCutRow {
    float recoveryPct = 0;
    float waterCut = 0;

    static constexpr size_t kColumns = 2;
    std::array<float, kColumns> Numbers() const { return {recoveryPct, waterCut}; }
    static LabWaterCutRow FromNumbers(const std::array<float, kColumns>& v) { return {v[0], v[1]}; }
};

struct LabWaterCutTable {
    std::string fileName;
    std::vector<LabWaterCutRow> rows;  // strictly ascending recovery factor
};

// Bit for bit, file names included.
bool SameTable(const LabPvtTable& a, const LabPvtTable& b);
bool SameTable(const LabRelPermTable& a, const LabRelPermTable& b);
bool SameTable(const LabWaterCutTable& a, const LabWaterCutTable& b);

enum class TableReadStatus {
    Read,        // the table holds the rows of the file
    Refused,     // a bad line or too few or too many rows: problems say which
    Unreadable,  // missing, a folder, unreadable or too large: problems say why
};

// The text of a table file. On success table holds the sorted rows and the
// given name; otherwise table is unchanged and problems holds one German
// message per bad line ("Zeile 7: ..."), or one for the whole file.
TableReadStatus ParsePvtTableText(std::string_view text, const std::string& fileName,
                                  LabPvtTable& table, std::vector<std::string>& problems);
TableReadStatus ParseRelPermTableText(std::string_view text, const std::string& fileName,
                                      LabRelPermTable& table, std::vector<std::string>& problems);
TableReadStatus ParseWaterCutTableText(std::string_view text, const std::string& fileName,
                                       LabWaterCutTable& table, std::vector<std::string>& problems);

// The same from a file; the table takes the file's name (without folder).
TableReadStatus ReadPvtTableFile(const std::string& path, LabPvtTable& table,
                                 std::vector<std::string>& problems);
TableReadStatus ReadRelPermTableFile(const std::string& path, LabRelPermTable& table,
                                     std::vector<std::string>& problems);
TableReadStatus ReadWaterCutTableFile(const std::string& path, LabWaterCutTable& table,
                                      std::vector<std::string>& problems);

// Which optional columns rows given as numbers hold (the others must be 0),
// and, for a file, in which order its header names them.
struct LabPvtColumns {
    bool rv = false;
    bool bw = false;
    bool bwFirst = false;  // a file's Bw column stands before its Rv column
};

// Rows given as numbers (a script's rows or data frame), checked as the file
// reader checks them; "Zeile n" then counts the rows from 1.
TableReadStatus PvtTableFromRows(std::vector<LabPvtRow> rows, const std::string& name,
                                 LabPvtTable& table, std::vector<std::string>& problems,
                                 LabPvtColumns columns = {});
TableReadStatus RelPermTableFromRows(std::vector<LabRelPermRow> rows, const std::string& name,
                                     LabRelPermTable& table, std::vector<std::string>& problems);
TableReadStatus WaterCutTableFromRows(std::vector<LabWaterCutRow> rows, const std::string& name,
                                      LabWaterCutTable& table, std::vector<std::string>& problems);

// True when the table is one the readers could have produced (sorted, row
// count and values within their limits); the case file stores no other.
bool IsValidTable(const LabPvtTable& table);
bool IsValidTable(const LabRelPermTable& table);
bool IsValidTable(const LabWaterCutTable& table);

// One message for the user about a refused or unreadable table file: what was
// read, then the problems (at most the first ten, and how many more).
std::string TableProblemMessage(const std::string& tableKind, const std::string& path,
                                const std::vector<std::string>& problems);

}  // namespace morvek
