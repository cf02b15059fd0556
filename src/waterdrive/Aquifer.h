#pragma once
// Water influx from an aquifer into the reservoir, as functions of the time
// and the reservoir's boundary pressure history.
//
//   pot                  We = K (pi - p): a small aquifer that follows the
//                        reservoir pressure at once; K = ct pi f (ra^2 - re^2) h phi
//   fetkovich_radial     pseudo-steady state (Fetkovich 1971): each step takes
//   fetkovich_linear     the mean boundary pressure of its start and end,
//                        dWe = K (pa - p) (1 - exp(-J dt / K)), pa = pi - We / K;
//                        K = ct Wi, radial J = 2 pi f c k h / (mu (ln(ra/re) - 3/4)),
//                        linear J = 3 c k w h / (mu L)
//   veh_radial           van Everdingen & Hurst (1949), unsteady state,
//                        finite (ra) or infinite (ra = 0) radial aquifer:
//                        superposition of the pressure steps,
//                        We(tn) = U sum_j dp_j WD(tD(tn - tj)), U = 2 pi f phi ct h re^2,
//                        the boundary pressure of each step the mean of its
//                        end pressures (dp_0 = (pi - p1)/2, dp_j = (p_{j-1} - p_{j+1})/2)
//   carter_tracy_radial  Carter & Tracy (1960): constant influx rate over each
//                        step, no superposition, with the total drop pi - pn:
//                        We_n = We_{n-1} + (tDn - tD{n-1}) (U dp_n - We_{n-1} PD'(tDn))
//                                              / (PD(tDn) - tD{n-1} PD'(tDn))
//
// with f = angle/360, tD = c k t / (phi mu ct re^2) and c = 8.5270e-3 the
// Darcy constant of these units (mD, m, bar, cP, days, m3). A given
// aquifer_constant_m3_per_bar replaces the geometric K (pot, Fetkovich) or U
// (van Everdingen-Hurst, Carter-Tracy).
//
// Every function is pure; InfluxCalculator carries the state of one history
// step by step (a forecast takes it one trial pressure at a time).

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/CaseInputs.h"
#include "waterdrive/InfluxFunctions.h"

namespace morvek {

enum class AquiferModel : int32_t {
    None = 0,
    Pot = 1,
    FetkovichRadial = 2,
    FetkovichLinear = 3,
    VehRadial = 4,
    CarterTracyRadial = 5,
};
inline constexpr int kAquiferModelCount = 6;

// q [m3/day] = c k [mD] A [m2] / mu [cP] * dp/dx [bar/m].
inline constexpr double kDarcyM3PerDay = 8.5270173e-3;
// The smallest aquifer radius of a finite radial aquifer in reservoir radii
// (van Everdingen-Hurst, Carter-Tracy): closer, the boundary is felt before
// the tabulated functions begin.
inline constexpr double kMinFiniteRed = 1.1;
// Fetkovich's radial productivity needs ln(ra/re) > 3/4.
inline constexpr double kMinFetkovichRed = 2.117000016612675;  // e^(3/4)

struct Aquifer {
    AquiferModel model = AquiferModel::None;
    double constantM3PerBar = 0;  // 0: from the geometry
    double reservoirRadiusM = 0;
    double aquiferRadiusM = 0;  // 0: infinite (van Everdingen-Hurst, Carter-Tracy)
    double thicknessM = 0;
    double porosity = 0;
    double permeabilityMd = 0;
    double angleDeg = 0;
    double compressibilityPerBar = 0;  // total: water and rock
    double waterViscosityCp = 0;
    double lengthM = 0;  // linear
    double widthM = 0;

    static Aquifer Of(const CaseInputs& inputs);
    bool Any() const { return model != AquiferModel::None; }
};

AquiferModel AquiferModelOf(int32_t index);  // None for an index out of range
const char* AquiferModelName(AquiferModel model);    // "veh_radial"
const char* AquiferModelCaption(AquiferModel model);  // "van Everdingen-Hurst, radial"

// Whether the model can use one of the aquifer's inputs (its field name,
// "aquifer_length_m"): the linear aquifer has no radii and no angle, the
// radial ones no length and width, the pot no flow (permeability, water
// viscosity), no model none. The window greys the others.
bool AquiferModelUses(AquiferModel model, std::string_view fieldName);

// Why the aquifer's inputs do not make a model (a German message naming the
// missing or contradictory input), or "".
std::string AquiferProblem(const Aquifer& aquifer);

// K (pot, Fetkovich) or U (van Everdingen-Hurst, Carter-Tracy), m3/bar.
double InfluxConstantM3PerBar(const Aquifer& aquifer);
// tD per day (van Everdingen-Hurst, Carter-Tracy).
double DimensionlessTimePerDay(const Aquifer& aquifer);
// Fetkovich's productivity index J, m3/(day bar).
double FetkovichProductivityM3PerDayBar(const Aquifer& aquifer);
// ra / re, 0 for an infinite aquifer.
double DimensionlessRadius(const Aquifer& aquifer);

// The cumulative influx of one boundary-pressure history, step by step.
// Times are days after day 0, when the whole aquifer stood at the initial
// pressure; each step must come after the last. Van Everdingen-Hurst keeps
// the sum over the steps before a time for the trials at that time (a
// forecast's or a pressure fit's search), so one calculator is for one
// thread at a time.
class InfluxCalculator {
public:
    InfluxCalculator(const Aquifer& aquifer, double initialPressureBar);

    // The cumulative influx (1000 m3) at `days` if the boundary pressure there
    // were pressureBar; changes nothing. A time not after the last step's
    // gives the last step's influx (the pot's follows the pressure).
    double Trial(double days, double pressureBar) const;
    // Takes the step and returns its cumulative influx (1000 m3).
    double Advance(double days, double pressureBar);
    // The change of Trial(days, p) per bar of p (every model is linear in
    // the step's boundary pressure); van Everdingen-Hurst: the step's own
    // term alone, -U WD(tD of the step) / 2.
    double PerBar(double days, double pressureBar) const;

    double Cumulative1000m3() const { return we1000m3_; }
    double LastDays() const { return lastDays_; }
    double LastPressureBar() const { return lastPressure_; }
    // Fetkovich: the aquifer's mean pressure after the last step.
    double AquiferPressureBar() const { return aquiferPressure_; }

    // Carter-Tracy with other dimensionless pressure functions (a published
    // example's approximations); van Everdingen-Hurst with another WD.
    void UseFunctions(std::function<double(double)> wd, std::function<double(double)> pd,
                      std::function<double(double)> pdDerivative);

private:
    double Step(double days, double pressureBar, double* aquiferPressure) const;
    // Van Everdingen-Hurst at a time: the sum over the steps before and WD
    // of the new step's length.
    void VehSumsAt(double days) const;
    double Wd(double tD) const { return wd_ ? wd_(tD) : functions_.Wd(tD); }
    double Pd(double tD) const { return pd_ ? pd_(tD) : functions_.Pd(tD); }
    double PdDerivative(double tD) const {
        return pdDerivative_ ? pdDerivative_(tD) : functions_.PdDerivative(tD);
    }

    AquiferModel model_;
    double pi_;
    double constant_;  // K or U, m3/bar
    double tdPerDay_ = 0;
    double j_ = 0;
    RadialInfluxFunctions functions_;
    std::function<double(double)> wd_, pd_, pdDerivative_;

    double we1000m3_ = 0;
    double lastDays_ = 0;
    double lastPressure_;
    double lastMean_;  // van Everdingen-Hurst: the boundary pressure of the last step
    double aquiferPressure_;
    // van Everdingen-Hurst: the start of each step and its pressure drop.
    std::vector<double> stepDays_;
    std::vector<double> stepDrop_;
    mutable double sumDays_ = -1, sumBefore_ = 0, wdLast_ = 0;  // of VehSumsAt
};

// The cumulative influx (1000 m3) at every time of a history (days strictly
// increasing, after day 0).
std::vector<double> CumulativeInflux1000m3(const Aquifer& aquifer, double initialPressureBar,
                                           const std::vector<double>& days,
                                           const std::vector<double>& pressuresBar);

}  // namespace morvek
