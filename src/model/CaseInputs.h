#pragma once
// The inputs of one reservoir case: everything the case file holds and every
// calculation starts from. One plain struct; the field table (FieldTable.h)
// names each member for the case record, the command line, the dialog and the
// Python module.
//
// Numbers are single precision, as the case file stores them: every result
// depends on exactly these values, and change detection compares them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/LabTables.h"
#include "model/StudySettings.h"

namespace morvek {

inline constexpr int kGasComponentCount = 15;  // H2S first, C10H22 last
inline constexpr int kMethaneIndex = 3;
// Every graph series holds this many single-precision values, and the graph
// and the checks take at most this many measured rows.
inline constexpr int kSeriesLength = 300;

// A case file holds at most this many measured rows and no text (field name,
// measured row) longer than this many bytes. A real case never comes near
// them; they bound the memory a file can ask for. The loader refuses a file
// beyond them as damaged, and a save that would write one is refused.
inline constexpr size_t kMaxMeasuredRows = 100000;
inline constexpr size_t kMaxCaseTextBytes = 65536;

// The oil PVT correlation of the case (its index in the case file).
enum class OilCorrelationId : int32_t {
    Glasoe = 0,
    VasquezBeggs = 1,
    Standing = 2,
    Kartoatmodjo = 3
};
inline constexpr int kOilCorrelationCount = 4;

struct CaseInputs {
    float ooip1000m3 = 0.0f;              // original oil in place, 1000 m3
    float initialPressureBar = 1.0f;      // bar
    float temperatureC = 0.0f;            // reservoir temperature, degrees Celsius
    float bubblePointPressureBar = 0.0f;  // bar
    float apiGravity = 10.0f;             // degrees API
    float connateWaterSaturation = 0.0f;  // Swi, fraction of the pore volume
    float criticalGasSaturation = 0.0f;   // Sgc, fraction of the pore volume
    float kroMax = 1.0f;                  // end-point relative permeability of oil
    float krgMax = 1.0f;                  // end-point relative permeability of gas
    float gasCapRatio = 0.0f;             // m: pore volume of the gas cap / of the oil zone
    // The correlation index; a damaged or foreign case file may hold any value.
    int32_t correlation = 0;
    std::string fieldName;                     // UTF-8
    float oilViscosityAtBubblePointCp = 0.0f;  // measured, cP; 0: not given
    float initialGorSm3PerM3 = 0.0f;           // measured initial gas-oil ratio; 0: not given
    std::array<float, kGasComponentCount> gasMolePercent{0, 0, 0, 100.0f};  // mole percent
    // Measured rows as typed: cumulative oil (1000 m3), shut-in pressure (bar)
    // and optionally the producing gas-oil ratio (sm3/m3).
    std::vector<std::string> measuredRows;

    // Expansion of the connate water and shrinking of the pore volume, 1/bar;
    // 0 leaves them out of the balance.
    float poreCompressibilityPerBar = 0.0f;   // cf
    float waterCompressibilityPerBar = 0.0f;  // cw
    // Laboratory tables in place of the correlations and of the Corey model.
    std::optional<LabPvtTable> pvtTable;
    std::optional<LabRelPermTable> relPermTable;

    // What the window's match and uncertainty dialogs last ran with (no part
    // of any calculation; kept so that they open with it again).
    std::optional<MatchSettings> matchSettings;
    std::optional<SweepSettings> sweepSettings;

    // Bit for bit: two cases are the same when every stored float is.
    bool operator==(const CaseInputs& other) const;
};

// Both tables are absent or equal bit for bit.
bool SameLabTables(const CaseInputs& a, const CaseInputs& b);

// The lowest pressure of the case's PVT table, below which no run goes (the
// table is not extrapolated); 0 without a valid table.
float LowestTablePressureBar(const CaseInputs& inputs);

// The correlation of the index 0..3; Vasquez & Beggs for any other index
// (only a damaged or foreign file holds one), as every calculation takes it.
OilCorrelationId CorrelationOf(int32_t index);
bool IsCorrelationIndex(int32_t index);

}  // namespace morvek
