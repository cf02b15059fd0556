#include "waterdrive/Aquifer.h"

#include <cmath>
#include <numbers>

#include "base/Format.h"

namespace morvek {
namespace {

constexpr double kPi = std::numbers::pi;

double Fraction(const Aquifer& a) {
    return a.angleDeg / 360.0;
}

bool Radial(AquiferModel m) {
    return m == AquiferModel::Pot || m == AquiferModel::FetkovichRadial ||
           m == AquiferModel::VehRadial || m == AquiferModel::CarterTracyRadial;
}

// The aquifer's pore volume Wi, m3.
double PoreVolumeM3(const Aquifer& a) {
    if (a.model == AquiferModel::FetkovichLinear)
        return a.widthM * a.lengthM * a.thicknessM * a.porosity;
    return kPi * Fraction(a) *
           (a.aquiferRadiusM * a.aquiferRadiusM - a.reservoirRadiusM * a.reservoirRadiusM) *
           a.thicknessM * a.porosity;
}

std::string Missing(const char* what, AquiferModel model) {
    return Format("Für das Aquifermodell \"%s\" fehlt %s.", AquiferModelCaption(model), what);
}

}  // namespace

Aquifer Aquifer::Of(const CaseInputs& in) {
    Aquifer a;
    a.model = AquiferModelOf(in.aquiferModel);
    a.constantM3PerBar = in.aquiferConstantM3PerBar;
    a.reservoirRadiusM = in.reservoirRadiusM;
    a.aquiferRadiusM = in.aquiferRadiusM;
    a.thicknessM = in.aquiferThicknessM;
    a.porosity = in.aquiferPorosity;
    a.permeabilityMd = in.aquiferPermeabilityMd;
    a.angleDeg = in.aquiferAngleDeg;
    a.compressibilityPerBar = in.aquiferCompressibilityPerBar;
    a.waterViscosityCp = in.waterViscosityCp;
    a.lengthM = in.aquiferLengthM;
    a.widthM = in.aquiferWidthM;
    return a;
}

AquiferModel AquiferModelOf(int32_t index) {
    return index >= 0 && index < kAquiferModelCount ? static_cast<AquiferModel>(index)
                                                     : AquiferModel::None;
}

const char* AquiferModelName(AquiferModel m) {
    switch (m) {
        case AquiferModel::None: return "none";
        case AquiferModel::Pot: return "pot";
        case AquiferModel::FetkovichRadial: return "fetkovich_radial";
        case AquiferModel::FetkovichLinear: return "fetkovich_linear";
        case AquiferModel::VehRadial: return "veh_radial";
        case AquiferModel::CarterTracyRadial: return "carter_tracy_radial";
    }
    return "none";
}

const char* AquiferModelCaption(AquiferModel m) {
    switch (m) {
        case AquiferModel::None: return "kein Aquifer";
        case AquiferModel::Pot: return "Topf (pot)";
        case AquiferModel::FetkovichRadial: return "Fetkovich, radial";
        case AquiferModel::FetkovichLinear: return "Fetkovich, linear";
        case AquiferModel::VehRadial: return "van Everdingen-Hurst, radial";
        case AquiferModel::CarterTracyRadial: return "Carter-Tracy, radial";
    }
    return "";
}

bool AquiferModelUses(AquiferModel model, std::string_view name) {
    if (model == AquiferModel::None) return false;
    const bool radialOnly =
        name == "reservoir_radius_m" || name == "aquifer_radius_m" || name == "aquifer_angle_deg";
    if (model == AquiferModel::FetkovichLinear) return !radialOnly;
    if (name == "aquifer_length_m" || name == "aquifer_width_m") return false;
    if (model == AquiferModel::Pot)
        return name != "aquifer_permeability_md" && name != "water_viscosity_cp";
    return true;
}

std::string AquiferProblem(const Aquifer& a) {
    const AquiferModel m = a.model;
    if (m == AquiferModel::None) return {};
    const bool given = a.constantM3PerBar > 0;
    // The geometry that makes K or U when it is not given.
    if (!given) {
        if (!(a.compressibilityPerBar > 0))
            return Missing("die Aquiferkompressibilität (oder die Aquiferkonstante)", m);
        if (!(a.porosity > 0)) return Missing("die Aquiferporosität (oder die Aquiferkonstante)", m);
        if (!(a.thicknessM > 0))
            return Missing("die Aquifermächtigkeit (oder die Aquiferkonstante)", m);
    }
    if (Radial(m)) {
        if (!(a.reservoirRadiusM > 0) && (!given || m != AquiferModel::Pot))
            return Missing("der Lagerstättenradius", m);
        if (!(a.angleDeg > 0) && (!given || m == AquiferModel::FetkovichRadial))
            return Missing("der Anströmwinkel", m);
    }
    switch (m) {
        case AquiferModel::None: return {};
        case AquiferModel::Pot:
            if (!given && !(a.aquiferRadiusM > a.reservoirRadiusM))
                return "Der Aquiferradius muß größer als der Lagerstättenradius sein "
                       "(oder die Aquiferkonstante angegeben).";
            return {};
        case AquiferModel::FetkovichRadial:
        case AquiferModel::FetkovichLinear:
            if (!(a.permeabilityMd > 0)) return Missing("die Aquiferpermeabilität", m);
            if (!(a.waterViscosityCp > 0)) return Missing("die Wasserviskosität", m);
            if (!(a.thicknessM > 0)) return Missing("die Aquifermächtigkeit", m);
            if (m == AquiferModel::FetkovichLinear) {
                if (!(a.lengthM > 0)) return Missing("die Aquiferlänge", m);
                if (!(a.widthM > 0)) return Missing("die Aquiferbreite", m);
                return {};
            }
            if (!(a.aquiferRadiusM >= kMinFetkovichRed * a.reservoirRadiusM))
                return Format("Das Fetkovich-Modell braucht einen Aquiferradius von mindestens "
                              "%.3f Lagerstättenradien (ln(ra/re) > 3/4): %g m bei %g m.",
                              kMinFetkovichRed, a.aquiferRadiusM, a.reservoirRadiusM);
            return {};
        case AquiferModel::VehRadial:
        case AquiferModel::CarterTracyRadial:
            if (!(a.permeabilityMd > 0)) return Missing("die Aquiferpermeabilität", m);
            if (!(a.waterViscosityCp > 0)) return Missing("die Wasserviskosität", m);
            if (!(a.porosity > 0)) return Missing("die Aquiferporosität", m);
            if (!(a.compressibilityPerBar > 0)) return Missing("die Aquiferkompressibilität", m);
            if (a.aquiferRadiusM != 0 && !(a.aquiferRadiusM >= kMinFiniteRed * a.reservoirRadiusM))
                return Format("Der Aquiferradius muß 0 (unendlich) oder mindestens %.1f "
                              "Lagerstättenradien sein: %g m bei %g m.",
                              kMinFiniteRed, a.aquiferRadiusM, a.reservoirRadiusM);
            return {};
    }
    return {};
}

double InfluxConstantM3PerBar(const Aquifer& a) {
    if (a.constantM3PerBar > 0) return a.constantM3PerBar;
    switch (a.model) {
        case AquiferModel::Pot:
        case AquiferModel::FetkovichRadial:
        case AquiferModel::FetkovichLinear:
            return a.compressibilityPerBar * PoreVolumeM3(a);
        case AquiferModel::VehRadial:
        case AquiferModel::CarterTracyRadial:
            return 2 * kPi * Fraction(a) * a.porosity * a.compressibilityPerBar * a.thicknessM *
                   a.reservoirRadiusM * a.reservoirRadiusM;
        case AquiferModel::None: break;
    }
    return 0;
}

double DimensionlessTimePerDay(const Aquifer& a) {
    const double denominator = a.porosity * a.waterViscosityCp * a.compressibilityPerBar *
                               a.reservoirRadiusM * a.reservoirRadiusM;
    return denominator > 0 ? kDarcyM3PerDay * a.permeabilityMd / denominator : 0;
}

double FetkovichProductivityM3PerDayBar(const Aquifer& a) {
    if (!(a.waterViscosityCp > 0)) return 0;
    if (a.model == AquiferModel::FetkovichLinear)
        return a.lengthM > 0 ? 3 * kDarcyM3PerDay * a.permeabilityMd * a.widthM * a.thicknessM /
                                   (a.waterViscosityCp * a.lengthM)
                             : 0;
    const double shape = std::log(a.aquiferRadiusM / a.reservoirRadiusM) - 0.75;
    return shape > 0 ? 2 * kPi * Fraction(a) * kDarcyM3PerDay * a.permeabilityMd * a.thicknessM /
                           (a.waterViscosityCp * shape)
                     : 0;
}

double DimensionlessRadius(const Aquifer& a) {
    return a.aquiferRadiusM > 0 && a.reservoirRadiusM > 0 ? a.aquiferRadiusM / a.reservoirRadiusM
                                                          : 0;
}

InfluxCalculator::InfluxCalculator(const Aquifer& a, double initialPressureBar)
    : model_(a.model),
      pi_(initialPressureBar),
      constant_(InfluxConstantM3PerBar(a)),
      functions_(a.model == AquiferModel::VehRadial || a.model == AquiferModel::CarterTracyRadial
                     ? DimensionlessRadius(a)
                     : 0.0),
      lastPressure_(initialPressureBar),
      lastMean_(initialPressureBar),
      aquiferPressure_(initialPressureBar) {
    if (model_ == AquiferModel::VehRadial || model_ == AquiferModel::CarterTracyRadial)
        tdPerDay_ = DimensionlessTimePerDay(a);
    if (model_ == AquiferModel::FetkovichRadial || model_ == AquiferModel::FetkovichLinear)
        j_ = FetkovichProductivityM3PerDayBar(a);
}

void InfluxCalculator::UseFunctions(std::function<double(double)> wd,
                                    std::function<double(double)> pd,
                                    std::function<double(double)> pdDerivative) {
    wd_ = std::move(wd);
    pd_ = std::move(pd);
    pdDerivative_ = std::move(pdDerivative);
    sumDays_ = -1;
}

// Kept for the trials at one time. A step's Advance computes them at its own
// time, which no later trial asks for (it is not after the last step), so
// they need not be dropped when a step is taken.
void InfluxCalculator::VehSumsAt(double days) const {
    if (days == sumDays_) return;
    double sum = 0;
    for (size_t k = 0; k < stepDays_.size(); ++k)
        sum += stepDrop_[k] * Wd(tdPerDay_ * (days - stepDays_[k]));
    sumBefore_ = sum;
    wdLast_ = Wd(tdPerDay_ * (days - lastDays_));
    sumDays_ = days;
}

double InfluxCalculator::Step(double days, double p, double* aquiferPressure) const {
    switch (model_) {
        case AquiferModel::None: return 0;
        case AquiferModel::Pot: return constant_ * (pi_ - p) / 1000.0;
        default: break;
    }
    if (!(days > lastDays_)) return we1000m3_;
    const double dt = days - lastDays_;
    switch (model_) {
        case AquiferModel::FetkovichRadial:
        case AquiferModel::FetkovichLinear: {
            if (!(constant_ > 0)) return we1000m3_;
            const double mean = (lastPressure_ + p) / 2;
            const double we = we1000m3_ * 1000.0 + constant_ * (aquiferPressure_ - mean) *
                                                       -std::expm1(-j_ * dt / constant_);
            if (aquiferPressure != nullptr) *aquiferPressure = pi_ - we / constant_;
            return we / 1000.0;
        }
        case AquiferModel::VehRadial:
            VehSumsAt(days);
            return constant_ * (sumBefore_ + (lastMean_ - (lastPressure_ + p) / 2) * wdLast_) /
                   1000.0;
        case AquiferModel::CarterTracyRadial: {
            const double tdBefore = tdPerDay_ * lastDays_;
            const double td = tdPerDay_ * days;
            const double we = we1000m3_ * 1000.0;
            const double derivative = PdDerivative(td);
            const double we2 = we + (td - tdBefore) * (constant_ * (pi_ - p) - we * derivative) /
                                        (Pd(td) - tdBefore * derivative);
            return we2 / 1000.0;
        }
        default: return we1000m3_;
    }
}

double InfluxCalculator::Trial(double days, double pressureBar) const {
    return Step(days, pressureBar, nullptr);
}

double InfluxCalculator::Advance(double days, double pressureBar) {
    double aquiferPressure = aquiferPressure_;
    const double we = Step(days, pressureBar, &aquiferPressure);
    if (!(days > lastDays_)) {
        if (model_ == AquiferModel::Pot) we1000m3_ = we;
        return we1000m3_;
    }
    if (model_ == AquiferModel::VehRadial) {
        const double mean = (lastPressure_ + pressureBar) / 2;
        stepDays_.push_back(lastDays_);
        stepDrop_.push_back(lastMean_ - mean);
        lastMean_ = mean;
    }
    aquiferPressure_ = aquiferPressure;
    we1000m3_ = we;
    lastDays_ = days;
    lastPressure_ = pressureBar;
    return we;
}

double InfluxCalculator::PerBar(double days, double pressureBar) const {
    if (model_ == AquiferModel::VehRadial && days > lastDays_) {
        VehSumsAt(days);
        return -0.5 * constant_ * wdLast_ / 1000.0;
    }
    return Trial(days, pressureBar) - Trial(days, pressureBar - 1.0);
}

std::vector<double> CumulativeInflux1000m3(const Aquifer& aquifer, double initialPressureBar,
                                           const std::vector<double>& days,
                                           const std::vector<double>& pressuresBar) {
    InfluxCalculator calculator(aquifer, initialPressureBar);
    std::vector<double> out;
    out.reserve(days.size());
    for (size_t i = 0; i < days.size() && i < pressuresBar.size(); ++i)
        out.push_back(calculator.Advance(days[i], pressuresBar[i]));
    return out;
}

}  // namespace morvek
