#include "model/FieldTable.h"

#include <bit>
#include <cmath>
#include <iterator>
#include <limits>

#include "base/CalendarDate.h"
#include "base/Format.h"

namespace morvek {
namespace {

// The lower bound of the oil in place is the single-precision value nearest 0.1.
constexpr float kMinOoip = 0.1f;
constexpr float kMaxOoip = 99000.0f;
constexpr float kMinPressureBar = 1.0f;
constexpr float kMaxPressureBar = 1000.0f;
// Absolute zero in degrees Celsius: a reservoir is warmer.
constexpr float kAbsoluteZeroCelsius = -273.15f;
// A gas cap of a hundred times the oil zone's pore volume is a gas field with
// an oil rim; a negative one does not exist.
constexpr float kMaxGasCap = 100.0f;
// Rock and water compressibilities above 1e-3 1/bar are typing errors.
constexpr float kMaxCompressibilityPerBar = 1e-3f;
// The aquifer's total compressibility may be raised on purpose to stand for
// neighbouring accumulations that share the aquifer.
constexpr float kMaxAquiferCompressibilityPerBar = 1e-2f;
constexpr float kMaxAquiferConstantM3PerBar = 1e10f;
constexpr float kMaxLengthM = 1e7f;  // ten thousand kilometres
constexpr float kMaxThicknessM = 1e4f;
constexpr float kMaxPermeabilityMd = 1e5f;
constexpr float kMaxWaterViscosityCp = 100.0f;

constexpr const char* kAquiferModelNames[] = {
    "none", "pot", "fetkovich_radial", "fetkovich_linear", "veh_radial", "carter_tracy_radial",
};
// The forecast: a period of up to two centuries, steps of up to a year, rates
// up to a million m3 a day (or 1000 sm3 of gas a day), gas-oil ratios up to
// a million sm3/m3: beyond them a value is a typing error.
constexpr float kMaxForecastYears = 200.0f;
constexpr float kMaxTimeStepDays = 366.0f;
constexpr float kMaxRate = 1e6f;
constexpr float kMaxGor = 1e6f;

Field Number(const char* record, const char* name, const char* label, const char* unit,
             float CaseInputs::*member, int file, int control, int order) {
    Field f{record, name, label, unit, FieldKind::Number};
    f.number = member;
    f.filePosition = file;
    f.controlId = control;
    f.dialogOrder = order;
    return f;
}

Field Ranged(const char* record, const char* name, const char* label, const char* unit,
             float CaseInputs::*member, float lo, float hi, int file, int control, int order) {
    Field f = Number(record, name, label, unit, member, file, control, order);
    f.bounded = true;
    f.min = lo;
    f.max = hi;
    return f;
}

// Only values above lo are possible; there is no upper bound.
Field Above(const char* record, const char* name, const char* label, const char* unit,
            float CaseInputs::*member, float lo, int file, int control, int order) {
    Field f = Ranged(record, name, label, unit, member, lo, std::numeric_limits<float>::infinity(),
                     file, control, order);
    f.minExclusive = true;
    return f;
}

// A number the case file keeps in an item of its optional block.
Field InBlock(Field f, int item, int slot) {
    f.filePosition = -1;
    f.blockItem = item;
    f.blockSlot = slot;
    return f;
}

// An input of the forecast against time: in the forecast's item of the
// optional block, not in the data-entry dialog but in the forecast's.
Field Forecast(const char* record, const char* name, const char* label, const char* unit,
               float CaseInputs::*member, float hi, int slot) {
    return InBlock(Ranged(record, name, label, unit, member, 0.0f, hi, -1, 0, 0), kBlockForecast,
                   slot);
}

// A gas component in mole percent: the case record names it by its index.
Field Gas(const char* record, const char* dialogMember, const char* name, const char* label,
          int index, int control, int order) {
    Field f{record, name, label, "mol-%", FieldKind::Number};
    f.dialogMember = dialogMember;
    f.gasIndex = index;
    f.bounded = true;
    f.min = 0.0f;
    f.max = 100.0f;
    f.filePosition = 14 + index;
    f.controlId = control;
    f.dialogOrder = order;
    return f;
}

std::vector<Field> MakeTable() {
    using C = CaseInputs;
    std::vector<Field> t = {
        Ranged("m_OOIP", "ooip_1000m3", "Original Oil in Place(1000 m3)", "1000 m³", &C::ooip1000m3,
               kMinOoip, kMaxOoip, 0, 1019, 6),
        Ranged("m_Initialdruck", "initial_pressure_bar", "Initialdruck                      (Bar)",
               "bar", &C::initialPressureBar, kMinPressureBar, kMaxPressureBar, 1, 1020, 8),
        Above("m_Temperatur", "temperature_c", "Lagerstättentemperatur    (°C)", "°C",
              &C::temperatureC, kAbsoluteZeroCelsius, 2, 1018, 11),
        Ranged("m_Entloesungsdruck", "bubble_point_pressure_bar", "Gasentlösungsdruck       (Bar)",
               "bar", &C::bubblePointPressureBar, kMinPressureBar, kMaxPressureBar, 3, 1021, 7),
        Number("m_API", "api_gravity", "Öldichte                 (Grad API)", "°API",
               &C::apiGravity, 4, 1022, 1),
        Number("m_Swi", "swi", "Haftwassersättigung                         ( - )", "",
               &C::connateWaterSaturation, 5, 1023, 10),
        Ranged("m_Sgc", "sgc", "Krit.Gassättigung                               ( - )", "",
               &C::criticalGasSaturation, 0.0f, 1.0f, 6, 1024, 9),
        Ranged("m_KroMax", "kro_max", "Max.rel.Permeabilität Öl                     ( - )", "",
               &C::kroMax, 0.0f, 1.0f, 7, 1025, 4),
        Ranged("m_KrgMax", "krg_max", "Max.rel.Permeabilität Gas                  ( - )", "",
               &C::krgMax, 0.0f, 1.0f, 8, 1026, 3),
        Ranged("m_Gaskappe", "gas_cap_ratio", "Porenvol.Gaskappe/Porenvol.Öl      ( - )", "",
               &C::gasCapRatio, 0.0f, kMaxGasCap, 9, 1027, 0),
    };
    Field correlation{"m_Methode", "correlation", "Korrelationsmethode", "", FieldKind::Choice};
    correlation.choice = &C::correlation;
    correlation.choiceCount = kOilCorrelationCount;
    correlation.filePosition = 10;
    correlation.controlId = 1028;
    correlation.dialogOrder = 5;
    t.push_back(correlation);
    Field name{"m_Feldname", "field_name", "Feldesname", "", FieldKind::Text};
    name.text = &C::fieldName;
    name.filePosition = 11;
    name.controlId = 1001;
    name.dialogOrder = 2;
    t.push_back(name);
    t.push_back(Number("m_NuoPb", "oil_viscosity_pb_cp", "Ölviskosität am Gasentlösungsdruck(cp)",
                       "cP", &C::oilViscosityAtBubblePointCp, 12, 1041, 32));
    t.push_back(Number("m_Rsi", "initial_gor_sm3_m3",
                       "Initiales Gas-Öl-Verhältnis          (m3/m3)", "sm³/m³",
                       &C::initialGorSm3PerM3, 13, 1042, 33));
    // The composition in the case's order; the dialog reads the two columns of
    // its gas group in its own order.
    t.push_back(Gas("m_Gas[0]", "m_H2S", "h2s_pct", "H2S      ", 0, 1002, 12));
    t.push_back(Gas("m_Gas[1]", "m_CO2", "co2_pct", "CO2", 1, 1003, 13));
    t.push_back(Gas("m_Gas[2]", "m_N2", "n2_pct", "N2", 2, 1004, 19));
    t.push_back(Gas("m_Gas[3]", "m_C1", "c1_pct", "CH4", 3, 1005, 20));
    t.push_back(Gas("m_Gas[4]", "m_C2", "c2_pct", "C2H6", 4, 1006, 21));
    t.push_back(Gas("m_Gas[5]", "m_C3", "c3_pct", "C3H8", 5, 1007, 22));
    t.push_back(Gas("m_Gas[6]", "m_iC4", "ic4_pct", "iC4H10", 6, 1008, 23));
    t.push_back(Gas("m_Gas[7]", "m_nC4", "nc4_pct", "nC4H10", 7, 1009, 24));
    t.push_back(Gas("m_Gas[8]", "m_iC5", "ic5_pct", "iC5H12", 8, 1010, 25));
    t.push_back(Gas("m_Gas[9]", "m_nC5", "nc5_pct", "nC5H12", 9, 1011, 26));
    t.push_back(Gas("m_Gas[10]", "m_C6", "c6_pct", "C6H14", 10, 1012, 14));
    t.push_back(Gas("m_Gas[11]", "m_C7", "c7_pct", "C7H16", 11, 1013, 15));
    t.push_back(Gas("m_Gas[12]", "m_C8", "c8_pct", "C8H18", 12, 1014, 16));
    t.push_back(Gas("m_Gas[13]", "m_C9", "c9_pct", "C9H20", 13, 1015, 17));
    t.push_back(Gas("m_Gas[14]", "m_C10", "c10_pct", "C10H22", 14, 1016, 18));
    // Rock and water compressibility: zero leaves them out of the balance.
    t.push_back(InBlock(
        Ranged("m_Cf", "pore_compressibility_per_bar", "Porenvolumenkompressibilität (1/Bar)",
               "1/bar", &C::poreCompressibilityPerBar, 0.0f, kMaxCompressibilityPerBar, -1, 1045,
               35),
        kBlockCompressibilities, 0));
    t.push_back(InBlock(
        Ranged("m_Cw", "water_compressibility_per_bar", "Wasserkompressibilität          (1/Bar)",
               "1/bar", &C::waterCompressibilityPerBar, 0.0f, kMaxCompressibilityPerBar, -1, 1046,
               36),
        kBlockCompressibilities, 1));
    // Water influx (src/waterdrive): not in the data-entry dialog but in the
    // material-balance dialog, which reads them by their English names.
    Field aquifer{"m_AquiferModell", "aquifer_model", "Aquifermodell", "", FieldKind::Choice};
    aquifer.choice = &C::aquiferModel;
    aquifer.choiceCount = static_cast<int>(std::size(kAquiferModelNames));
    aquifer.choiceNames = kAquiferModelNames;
    aquifer.blockItem = kBlockAquifer;
    aquifer.blockSlot = 0;
    t.push_back(aquifer);
    const struct {
        const char* record;
        const char* name;
        const char* label;
        const char* unit;
        float CaseInputs::*member;
        float max;
    } aquiferNumbers[] = {
        {"m_AquiferKonstante", "aquifer_constant_m3_per_bar", "Aquiferkonstante (m3/Bar)",
         "m³/bar", &C::aquiferConstantM3PerBar, kMaxAquiferConstantM3PerBar},
        {"m_Lagerstaettenradius", "reservoir_radius_m", "Lagerstättenradius (m)", "m",
         &C::reservoirRadiusM, kMaxLengthM},
        {"m_Aquiferradius", "aquifer_radius_m", "Aquiferradius (m)", "m", &C::aquiferRadiusM,
         kMaxLengthM},
        {"m_AquiferMaechtigkeit", "aquifer_thickness_m", "Aquifermächtigkeit (m)", "m",
         &C::aquiferThicknessM, kMaxThicknessM},
        {"m_AquiferPorositaet", "aquifer_porosity", "Aquiferporosität ( - )", "",
         &C::aquiferPorosity, 1.0f},
        {"m_AquiferPermeabilitaet", "aquifer_permeability_md", "Aquiferpermeabilität (mD)", "mD",
         &C::aquiferPermeabilityMd, kMaxPermeabilityMd},
        {"m_AquiferWinkel", "aquifer_angle_deg", "Anströmwinkel (Grad)", "°", &C::aquiferAngleDeg,
         360.0f},
        {"m_AquiferKompressibilitaet", "aquifer_compressibility_per_bar",
         "Aquiferkompressibilität (1/Bar)", "1/bar", &C::aquiferCompressibilityPerBar,
         kMaxAquiferCompressibilityPerBar},
        {"m_WasserViskositaet", "water_viscosity_cp", "Wasserviskosität (cp)", "cP",
         &C::waterViscosityCp, kMaxWaterViscosityCp},
        {"m_AquiferLaenge", "aquifer_length_m", "Aquiferlänge (m)", "m", &C::aquiferLengthM,
         kMaxLengthM},
        {"m_AquiferBreite", "aquifer_width_m", "Aquiferbreite (m)", "m", &C::aquiferWidthM,
         kMaxLengthM},
    };
    int slot = 1;
    for (const auto& a : aquiferNumbers)
        t.push_back(InBlock(Ranged(a.record, a.name, a.label, a.unit, a.member, 0.0f, a.max, -1, 0, 0),
                            kBlockAquifer, slot++));
    // The forecast against time (src/forecast): not in the data-entry dialog
    // but in the forecast's; 0 leaves an input out.
    Field start = Forecast("m_Prognosebeginn", "forecast_start", "Beginn der Prognose", "Datum",
                           &C::forecastStartDate, float(kLastDateSerial), 0);
    start.date = true;
    t.push_back(start);
    const struct {
        const char* record;
        const char* name;
        const char* label;
        const char* unit;
        float CaseInputs::*member;
        float max;
    } forecastNumbers[] = {
        {"m_Prognosejahre", "forecast_years", "Prognosezeitraum (Jahre)", "a", &C::forecastYears,
         kMaxForecastYears},
        {"m_Zeitschritt", "time_step_days", "Zeitschritt (Tage, 0: ein Monat)", "d",
         &C::timeStepDays, kMaxTimeStepDays},
        {"m_Plateaurate", "oil_rate_target_m3_per_day", "Plateaurate Öl (m3/d)", "m³/d",
         &C::oilRateTargetM3PerDay, kMaxRate},
        {"m_Produktivitaetsindex", "productivity_index_m3_per_day_bar",
         "Produktivitätsindex (m3/d/Bar)", "m³/(d·bar)", &C::productivityIndexM3PerDayBar,
         kMaxRate},
        {"m_Sohlendruck", "min_bottomhole_pressure_bar", "Mindestsohlendruck (Bar)", "bar",
         &C::minBottomholePressureBar, kMaxPressureBar},
        {"m_MaxGOEV", "max_gor_sm3_per_m3", "Höchstes Gas-Öl-Verhältnis (m3/m3)", "sm³/m³",
         &C::maxGorSm3PerM3, kMaxGor},
        {"m_MaxGasrate", "max_gas_rate_1000sm3_per_day", "Höchste Gasrate (1000 m3/d)",
         "1000 sm³/d", &C::maxGasRate1000Sm3PerDay, kMaxRate},
        {"m_Aufgaberate", "abandonment_rate_m3_per_day", "Aufgaberate Öl (m3/d)", "m³/d",
         &C::abandonmentRateM3PerDay, kMaxRate},
        {"m_Aufgabedruck", "abandonment_pressure_bar", "Aufgabedruck (Bar)", "bar",
         &C::abandonmentPressureBar, kMaxPressureBar},
    };
    int forecastSlot = 1;
    for (const auto& n : forecastNumbers)
        t.push_back(Forecast(n.record, n.name, n.label, n.unit, n.member, n.max, forecastSlot++));
    return t;
}

}  // namespace

float& Field::Number(CaseInputs& c) const {
    return gasIndex >= 0 ? c.gasMolePercent[static_cast<size_t>(gasIndex)] : c.*number;
}

float Field::Number(const CaseInputs& c) const {
    return gasIndex >= 0 ? c.gasMolePercent[static_cast<size_t>(gasIndex)] : c.*number;
}

std::string Field::Caption() const {
    return CaptionOfLabel(label);
}

std::string CaptionOfLabel(const char* label) {
    std::string out;
    bool blank = false;
    for (const char* p = label; *p != '\0'; ++p) {
        if (*p == ' ') {
            blank = true;
            continue;
        }
        if (blank && !out.empty()) out += ' ';
        blank = false;
        out += *p;
    }
    return out;
}

const std::vector<Field>& FieldTable() {
    static const std::vector<Field> table = MakeTable();
    return table;
}

const Field* FindField(const std::string& name) {
    for (const Field& f : FieldTable())
        if (name == f.recordName || name == f.name) return &f;
    return nullptr;
}

std::string RecordNames() {
    std::string names;
    for (const Field& f : FieldTable()) {
        if (!names.empty()) names += ", ";
        names += f.recordName;
    }
    return names;
}

std::string NotANumberMessage(const std::string& caption) {
    return Format("Bitte eine Zahl eingeben: \"%s\".", caption.c_str());
}

std::string OutOfRangeMessage(float min, float max, bool minExclusive,
                              const std::string& caption) {
    if (max == std::numeric_limits<float>::infinity())
        return Format(minExclusive ? "Bitte einen Wert über %g eingeben: \"%s\"."
                                   : "Bitte einen Wert ab %g eingeben: \"%s\".",
                      double(min), caption.c_str());
    return Format("Bitte einen Wert zwischen %g und %g eingeben: \"%s\".", double(min),
                  double(max), caption.c_str());
}

std::string NotANumberMessage(const Field& field) {
    return NotANumberMessage(field.Caption());
}

std::string OutOfRangeMessage(const Field& field) {
    return OutOfRangeMessage(field.min, field.max, field.minExclusive, field.Caption());
}

int ChoiceIndex(const Field& field, const std::string& text) {
    if (field.kind != FieldKind::Choice) return -1;
    for (int i = 0; field.choiceNames != nullptr && i < field.choiceCount; ++i)
        if (text == field.choiceNames[i]) return i;
    if (text.empty() || text.size() > 3) return -1;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return -1;
        v = v * 10 + (c - '0');
    }
    return v < field.choiceCount ? v : -1;
}

std::string ChoiceMessage(const Field& field) {
    std::string values;
    for (int i = 0; i < field.choiceCount; ++i) {
        if (!values.empty()) values += ", ";
        values += field.choiceNames != nullptr ? Format("%s (%d)", field.choiceNames[i], i)
                                               : Format("%d", i);
    }
    return Format("Bitte einen der Werte %s eingeben: \"%s\".", values.c_str(),
                  field.Caption().c_str());
}

std::string ParseDateField(const Field& field, const std::string& text, float& value) {
    const size_t begin = text.find_first_not_of(" \t");
    const std::string trimmed =
        begin == std::string::npos ? std::string()
                                   : text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
    if (trimmed.empty() || trimmed == "0") {
        value = 0.0f;
        return {};
    }
    int32_t serial = 0;
    if (!ParseDate(trimmed, serial))
        return Format("Bitte ein Datum als JJJJ-MM-TT zwischen %d und %d eingeben (zum Beispiel "
                      "2025-01-01): \"%s\".",
                      kFirstDateYear, kLastDateYear, field.Caption().c_str());
    value = static_cast<float>(serial);
    return {};
}

std::string DateFieldText(float value) {
    if (!(value >= float(kFirstDateSerial) && value <= float(kLastDateSerial))) return {};
    return IsoDate(static_cast<int32_t>(value));
}

std::string CheckNumber(const Field& field, float value) {
    if (!std::isfinite(value)) return NotANumberMessage(field);
    if (!field.InRange(value)) return OutOfRangeMessage(field);
    return {};
}

bool SameFieldValues(const CaseInputs& a, const CaseInputs& o) {
    for (const Field& f : FieldTable()) {
        switch (f.kind) {
            case FieldKind::Number:
                if (std::bit_cast<uint32_t>(f.Number(a)) != std::bit_cast<uint32_t>(f.Number(o)))
                    return false;
                break;
            case FieldKind::Text:
                if (a.*f.text != o.*f.text) return false;
                break;
            case FieldKind::Choice:
                if (a.*f.choice != o.*f.choice) return false;
                break;
        }
    }
    return true;
}

bool CaseInputs::operator==(const CaseInputs& o) const {
    return SameFieldValues(*this, o) && measuredRows == o.measuredRows && SameLabTables(*this, o) &&
           SameHistories(*this, o) && SameSettings(matchSettings, o.matchSettings) &&
           SameSettings(sweepSettings, o.sweepSettings);
}

}  // namespace morvek
