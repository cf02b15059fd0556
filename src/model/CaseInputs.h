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
#include "model/ProductionHistory.h"
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

    // Water influx from an aquifer (src/waterdrive/Aquifer.h): the model's
    // index (0 none, 1 pot, 2 Fetkovich radial, 3 Fetkovich linear, 4 van
    // Everdingen-Hurst radial, 5 Carter-Tracy radial) and its inputs; every
    // number 0 until given.
    int32_t aquiferModel = 0;
    float aquiferConstantM3PerBar = 0.0f;  // pot K, or U / ct Wi; 0: from the geometry
    float reservoirRadiusM = 0.0f;
    float aquiferRadiusM = 0.0f;  // 0: infinite where the model allows
    float aquiferThicknessM = 0.0f;
    float aquiferPorosity = 0.0f;
    float aquiferPermeabilityMd = 0.0f;
    float aquiferAngleDeg = 0.0f;
    float aquiferCompressibilityPerBar = 0.0f;  // total, water and rock
    float waterViscosityCp = 0.0f;
    float aquiferLengthM = 0.0f;  // linear aquifer
    float aquiferWidthM = 0.0f;
    // The dated production history (cumulative oil, gas, water, injection).
    std::optional<ProductionHistory> history;

    // The forecast against time: its period, the wells (field totals) and
    // when the field is abandoned. 0 leaves an input out (the forecast refuses
    // to run without what it needs: a start, a period, a target rate).
    float forecastStartDate = 0.0f;               // serial date (base/CalendarDate.h)
    float forecastYears = 0.0f;                   // length of the period, years
    float timeStepDays = 0.0f;                    // 0: calendar months
    float oilRateTargetM3PerDay = 0.0f;           // the plateau rate
    float productivityIndexM3PerDayBar = 0.0f;    // J; 0: no limit of the wells
    float minBottomholePressureBar = 0.0f;        // pwf of q <= J (p - pwf)
    float maxGorSm3PerM3 = 0.0f;                  // gas-oil ratio beyond which the rate is cut
    float maxGasRate1000Sm3PerDay = 0.0f;         // gas the field may produce a day
    float abandonmentRateM3PerDay = 0.0f;         // the field ends below this oil rate
    float abandonmentPressureBar = 0.0f;          // ... or at this pressure
    // Water cut against recovery factor; without it no water is produced.
    std::optional<LabWaterCutTable> waterCutTable;
    // What the window's match and uncertainty dialogs last ran with (no part
    // of any calculation; kept so that they open with it again).
    std::optional<MatchSettings> matchSettings;
    std::optional<SweepSettings> sweepSettings;

    // Bit for bit: two cases are the same when every stored float is.
    bool operator==(const CaseInputs& other) const;
};

// Both tables are absent or equal bit for bit.
bool SameLabTables(const CaseInputs& a, const CaseInputs& b);
// Both production histories are absent or equal bit for bit.
bool SameHistories(const CaseInputs& a, const CaseInputs& b);

// The lowest pressure of the case's PVT table, below which no run goes (the
// table is not extrapolated); 0 without a valid table.
float LowestTablePressureBar(const CaseInputs& inputs);

// The correlation of the index 0..3; Vasquez & Beggs for any other index
// (only a damaged or foreign file holds one), as every calculation takes it.
OilCorrelationId CorrelationOf(int32_t index);
bool IsCorrelationIndex(int32_t index);

}  // namespace morvek
