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
//                oil viscosity (cP), gas viscosity (cP)
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

    // The values in the order of the file's columns, which the case file
    // keeps too.
    static constexpr size_t kColumns = 6;
    std::array<float, kColumns> Numbers() const {
        return {pressureBar, bo, rs, bg, oilViscosityCp, gasViscosityCp};
    }
    static LabPvtRow FromNumbers(const std::array<float, kColumns>& v) {
        return {v[0], v[1], v[2], v[3], v[4], v[5]};
    }
};

struct LabPvtTable {
    std::string fileName;         // as shown in the report (characters of code page 1252 only)
    std::vector<LabPvtRow> rows;  // strictly ascending pressure
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

// Rows given as numbers (a script's rows or data frame), checked as the file
// reader checks them; "Zeile n" then counts the rows from 1.
TableReadStatus PvtTableFromRows(std::vector<LabPvtRow> rows, const std::string& name,
                                 LabPvtTable& table, std::vector<std::string>& problems);
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
