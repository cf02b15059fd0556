// Which inputs a match may fit, their default bounds, and the checks before
// a match starts.

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/Format.h"
#include "base/PrintableText.h"
#include "match/Match.h"
#include "match/MatchMisfit.h"
#include "match/MatchSetupDetail.h"

namespace morvek {
namespace {

// Swi must stay above zero (the dialog's OK check); below 0.1 % no rock
// holds its connate water.
constexpr double kMinConnateWater = 0.001;
// Swi + Sgc must stay below 1 (the dialog's OK check) by this much, also
// after the fitted values are rounded to single precision.
constexpr double kSaturationRoom = 0.001;
// When both saturations are fitted, each gets a fixed share of the room
// below 1: connate water up to 0.7, critical gas saturation up to 0.29.
constexpr double kMaxConnateWaterWithSgc = 0.7;
constexpr double kMaxCriticalGasWithSwi = 1.0 - kMaxConnateWaterWithSgc - 0.01;

bool Fits(const std::vector<std::string>& fitted, const char* record) {
    return std::find(fitted.begin(), fitted.end(), record) != fitted.end();
}

double LargestRowOil(const CaseInputs& inputs) {
    double most = 0;
    for (const MeasuredPoint& row : MeasuredPoints(inputs.measuredRows))
        most = std::max(most, double(row.np1000m3));
    return most;
}

const char* RecordName(const std::string& name) {
    const Field* f = FindField(name);
    return f != nullptr ? f->recordName : name.c_str();
}

std::vector<std::string> RecordNamesOf(const MatchOptions& options) {
    std::vector<std::string> names;
    for (const MatchParameter& p : options.parameters) names.emplace_back(RecordName(p.name));
    return names;
}

// The widest bounds a user may set: the field table's range (what the
// dialog's OK and a loaded case accept), narrowed where the balance asks for
// more; Swi, which the table leaves open, between 0 and 1.
MatchBounds HardBounds(const CaseInputs& in, const Field& f) {
    const std::string name = f.recordName;
    if (name == "m_OOIP") return {std::max<double>(f.min, LargestRowOil(in)), f.max};
    if (name == "m_Swi") return {0.0, 1.0};
    if (name == "m_Entloesungsdruck") {
        // A PVT table must reach down to the bubble point (the dialog's OK check).
        return {std::max<double>(f.min, LowestTablePressureBar(in)),
                std::min<double>(f.max, in.initialPressureBar)};
    }
    return {f.min, f.max};
}

}  // namespace

const std::vector<MatchableField>& MatchableTable() {
    static const std::vector<MatchableField> table = [] {
        std::vector<MatchableField> t;
        for (auto [name, typical] : {std::pair{"m_OOIP", 1.0},
                                     {"m_Gaskappe", 0.1},
                                     {"m_KrgMax", 0.1},
                                     {"m_KroMax", 0.1},
                                     {"m_Sgc", 0.05},
                                     {"m_Swi", 0.05},
                                     {"m_Entloesungsdruck", 10.0}})
            t.push_back({FindField(name), typical});
        return t;
    }();
    return table;
}

const MatchableField* FindMatchable(const std::string& name) {
    const Field* f = FindField(name);
    for (const MatchableField& m : MatchableTable())
        if (m.field == f) return &m;
    return nullptr;
}

const std::vector<const Field*>& MatchableFields() {
    static const std::vector<const Field*> fields = [] {
        std::vector<const Field*> out;
        for (const MatchableField& m : MatchableTable()) out.push_back(m.field);
        return out;
    }();
    return fields;
}

std::string MatchableNames() {
    std::string names;
    for (const Field* f : MatchableFields()) {
        if (!names.empty()) names += ", ";
        names += f->recordName;
    }
    return names;
}

std::string UnusedMatchInput(const CaseInputs& in, const Field& f) {
    const std::string name = f.recordName;
    if (in.relPermTable && IsValidTable(*in.relPermTable) &&
        (name == "m_KrgMax" || name == "m_KroMax" || name == "m_Sgc"))
        return Format(
            "%s kann nicht angepaßt werden: der Fall nimmt krg und kro aus der Tabelle der "
            "relativen Permeabilitäten %s.",
            f.recordName, OneLineText(in.relPermTable->fileName).c_str());
    return {};
}

MatchBounds DefaultBounds(const CaseInputs& in, const Field& f,
                          const std::vector<std::string>& fitted) {
    const std::string name = f.recordName;
    if (name == "m_Swi") {
        if (Fits(fitted, "m_Sgc")) return {kMinConnateWater, kMaxConnateWaterWithSgc};
        return {kMinConnateWater, 1.0 - in.criticalGasSaturation - kSaturationRoom};
    }
    if (name == "m_Sgc") {
        if (Fits(fitted, "m_Swi")) return {0.0, kMaxCriticalGasWithSwi};
        return {0.0, std::min(1.0, 1.0 - in.connateWaterSaturation - kSaturationRoom)};
    }
    return HardBounds(in, f);
}

MatchOptions MatchOptionsFor(const std::vector<std::string>& names) {
    MatchOptions options;
    for (const std::string& name : names) options.parameters.push_back({name, {}, {}});
    return options;
}

std::vector<ResolvedParameter> ResolveParameters(const CaseInputs& in,
                                                 const MatchOptions& options) {
    const std::vector<std::string> fitted = RecordNamesOf(options);
    std::vector<ResolvedParameter> out;
    for (const MatchParameter& p : options.parameters) {
        const MatchableField* m = FindMatchable(p.name);
        if (m == nullptr) continue;
        ResolvedParameter r;
        r.field = m->field;
        r.start = p.start ? *p.start : double(m->field->Number(in));
        r.bounds = p.bounds ? *p.bounds : DefaultBounds(in, *m->field, fitted);
        r.scale = std::max(std::fabs(r.start), m->typical);
        out.push_back(r);
    }
    return out;
}

std::string CheckMatch(const CaseInputs& in, const MatchOptions& options) {
    if (options.parameters.empty()) return "Bitte mindestens eine Größe zum Anpassen wählen.";
    const std::vector<std::string> fitted = RecordNamesOf(options);
    for (size_t i = 0; i < fitted.size(); ++i) {
        if (FindMatchable(fitted[i]) == nullptr)
            return Format("\"%s\" kann nicht angepaßt werden; anpaßbar sind %s.", fitted[i].c_str(),
                          MatchableNames().c_str());
        if (std::count(fitted.begin(), fitted.begin() + long(i), fitted[i]) > 0)
            return Format("%s ist doppelt genannt.", fitted[i].c_str());
        if (std::string unused = UnusedMatchInput(in, *FindMatchable(fitted[i])->field);
            !unused.empty())
            return unused;
    }

    const std::vector<MeasuredPoint> rows = MeasuredPoints(in.measuredRows);
    const int count = static_cast<int>(fitted.size());
    if (rows.empty())
        return "Der Fall hat keine Meßwerte: ohne gemessene Drücke gibt es nichts anzupassen.";
    if (static_cast<int>(rows.size()) < count)
        return Format(
            "Für %d anzupassende Größen braucht die Anpassung mindestens %d Meßwerte; "
            "der Fall hat %d.",
            count, count, static_cast<int>(rows.size()));

    const MatchWeights& w = options.weights;
    if (!std::isfinite(w.pressure) || !std::isfinite(w.gor) || w.pressure < 0 || w.gor < 0 ||
        (w.pressure == 0 && w.gor == 0))
        return "Die Gewichte von Druck und GÖV müssen Zahlen ab 0 sein, nicht beide 0.";
    const ResidualLayout layout{rows, w.pressure, w.gor};
    if (layout.Count() < count)
        return Format("Mit diesen Gewichten bleiben %d Meßgrößen für %d anzupassende Größen.",
                      layout.Count(), count);
    for (size_t i = 0; i < rows.size(); ++i) {
        if (w.pressure > 0 && !(rows[i].pressureBar > 0))
            return Format("Meßwert %zu: Der Schließdruck muß größer als 0 sein.", i + 1);
        if (rows[i].hasGor && w.gor > 0 && !(rows[i].gorSm3PerM3 > 0))
            return Format("Meßwert %zu: Das Gas-Öl-Verhältnis muß größer als 0 sein.", i + 1);
        // No run reaches a pressure below the PVT table: such a row would be
        // compared with the run's last step.
        if (const float lowest = LowestTablePressureBar(in); rows[i].pressureBar < lowest)
            return Format(
                "Meßwert %zu: Der Schließdruck %.1f bar liegt unter der PVT-Tabelle (ab %.1f "
                "bar), die nicht extrapoliert wird. Bitte die Tabelle erweitern oder die "
                "Meßwerte darunter entfernen.",
                i + 1, double(rows[i].pressureBar), double(lowest));
    }
    if (options.maxIterations < 1) return "Die Anpassung braucht mindestens eine Iteration.";

    const std::vector<ResolvedParameter> params = ResolveParameters(in, options);
    for (const ResolvedParameter& p : params) {
        const char* name = p.field->recordName;
        const MatchBounds hard = HardBounds(in, *p.field);
        const MatchBounds& b = p.bounds;
        if (!std::isfinite(b.lower) || !std::isfinite(b.upper) || !(b.lower < b.upper))
            return Format("%s: Die untere Grenze muß unter der oberen liegen.", name);
        if (b.lower < hard.lower || b.upper > hard.upper ||
            (std::string(name) == "m_Swi" && !(b.lower > 0)))
            return Format("%s: Die Grenzen müssen zwischen %g und %g liegen%s.", name, hard.lower,
                          hard.upper, std::string(name) == "m_Swi" ? " (über 0)" : "");
        if (!std::isfinite(p.start) || p.start < b.lower || p.start > b.upper)
            return Format("%s: Der Startwert %g liegt außerhalb der Grenzen %g bis %g.", name,
                          p.start, b.lower, b.upper);
    }
    // Swi + Sgc below 1 for every value within the bounds.
    double swiHigh = in.connateWaterSaturation, sgcHigh = in.criticalGasSaturation;
    for (const ResolvedParameter& p : params) {
        if (std::string(p.field->recordName) == "m_Swi") swiHigh = p.bounds.upper;
        if (std::string(p.field->recordName) == "m_Sgc") sgcHigh = p.bounds.upper;
    }
    if (swiHigh + sgcHigh >= 1.0)
        return Format(
            "Die oberen Grenzen von Swi (%g) und Sgc (%g) müssen zusammen unter 1 "
            "bleiben.",
            swiHigh, sgcHigh);
    return {};
}

}  // namespace morvek
