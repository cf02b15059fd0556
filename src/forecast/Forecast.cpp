#include "forecast/Forecast.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <optional>

#include "base/CalendarDate.h"
#include "base/Format.h"
#include "base/NumberText.h"

namespace morvek {
namespace {

constexpr double kThousand = 1000.0;
constexpr double kPercent = 100.0;
constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kMonthsPerYear = 12.0;

// The prediction ends at 1 bar; so does the forecast.
constexpr double kLowestPressureBar = 1.0;
// A step changes the pressure by at most this share of the initial pressure
// (3 bar at 300 bar): where it would change more, the step is shortened, so
// that the gas produced over it (at the mean of its start and end ratios)
// follows the gas-oil ratio as closely as the prediction's pressure steps do.
constexpr double kMaxPressureChangeShare = 0.01;
// A step is not shortened below this (days): a jump of the balance's terms
// would otherwise stop the forecast.
constexpr double kMinStepDays = 1e-6;
// Shortened steps take this share of what the pressure change allows, so
// that the next try does not miss again by a hair.
constexpr double kStepSafety = 0.8;
// A run takes at most this many steps (thirty years of monthly steps are 360).
constexpr size_t kMaxSteps = 100000;

// The balance of a step closes to this share of its larger side.
constexpr double kBalanceTolerance = 1e-10;
constexpr int kMaxRootIterations = 200;
// The inner iteration on the step's mean gas-oil ratio: a change of at most
// this share ends it.
constexpr double kGorTolerance = 1e-12;
constexpr int kMaxGorPasses = 100;
// The end of an event within a step is found to this share of the step.
constexpr double kEventTolerance = 1e-10;
constexpr int kEventBisections = 60;

// --- Fluids at a pressure in double precision ------------------------------------------

// The fluids at one pressure as a step of the forecast takes them.
struct FluidPoint {
    FluidState state;
    double oilViscosityCp = 0;
    double gasViscosityCp = 0;
    double bw = 0;
    RunQuantity failed = RunQuantity::None;
};

// The fluid model takes single-precision pressures; the forecast's pressure
// is a double (under an aquifer it changes by less than a float's step in a
// month). Between two neighbouring floats the properties are interpolated
// linearly, so that the balance is a continuous function of the pressure and
// its root exists; at a float's own value they are the model's. The last few
// floats are kept: the root finder's last tries lie within one interval.
class FluidCache {
public:
    explicit FluidCache(const FluidModel& fluid) : fluid_(fluid) {}

    FluidPoint At(double pressureBar) {
        float lo = static_cast<float>(pressureBar);
        if (double(lo) > pressureBar) lo = std::nextafter(lo, -std::numeric_limits<float>::max());
        const FluidPoint a = AtFloat(lo);
        if (double(lo) == pressureBar || a.failed != RunQuantity::None) return a;
        const float hi = std::nextafter(lo, std::numeric_limits<float>::max());
        const FluidPoint b = AtFloat(hi);
        if (b.failed != RunQuantity::None) return b;
        const double w = (pressureBar - double(lo)) / (double(hi) - double(lo));
        auto mix = [w](double x, double y) { return x + w * (y - x); };
        FluidPoint out;
        out.state.bo = mix(a.state.bo, b.state.bo);
        out.state.rs = mix(a.state.rs, b.state.rs);
        out.state.bg = mix(a.state.bg, b.state.bg);
        out.state.rv = mix(a.state.rv, b.state.rv);
        out.oilViscosityCp = mix(a.oilViscosityCp, b.oilViscosityCp);
        out.gasViscosityCp = mix(a.gasViscosityCp, b.gasViscosityCp);
        out.bw = mix(a.bw, b.bw);
        return out;
    }

    FluidPoint AtFloat(float p) {
        for (const Entry& e : entries_)
            if (e.used && e.pressureBar == p) return e.point;
        FluidPoint f;
        FluidState& s = f.state;
        s.rs = fluid_.Rs(p);
        s.bo = fluid_.Bo(p, s.rs);
        f.oilViscosityCp = fluid_.OilViscosity(p, s.rs);
        s.bg = fluid_.Bg(p);
        f.gasViscosityCp = fluid_.GasViscosity(p, s.bg);
        s.rv = fluid_.Rv(p);
        f.bw = fluid_.Bw(p);
        f.failed = FirstMeaningless({{RunQuantity::Rs, s.rs},
                                     {RunQuantity::Bo, s.bo, true},
                                     {RunQuantity::OilViscosity, f.oilViscosityCp},
                                     {RunQuantity::Bg, s.bg, true},
                                     {RunQuantity::GasViscosity, f.gasViscosityCp}});
        if (f.failed == RunQuantity::None && !(PhaseSplitDivisor(s) > 0.0))
            f.failed = RunQuantity::VaporisedOil;
        Entry& e = entries_[next_];
        next_ = (next_ + 1) % entries_.size();
        e = {true, p, f};
        return f;
    }

private:
    struct Entry {
        bool used = false;
        float pressureBar = 0;
        FluidPoint point;
    };
    const FluidModel& fluid_;
    std::array<Entry, 4> entries_{};
    size_t next_ = 0;
};

// --- The steps ---------------------------------------------------------------------------

// The state the steps carry from one to the next.
struct State {
    double days = 0;  // since the start
    double pressureBar = 0;
    double np1000m3 = 0;
    double gp1000Sm3 = 0;
    double wp1000m3 = 0;
    double we1000m3 = 0;
    double gorEndSm3PerM3 = 0;  // producing gas-oil ratio at the end of the last step
    double pressureRateBarPerDay = 0;  // of the last step, for the next one's first try
};

// A step of a given length ending at a given pressure, as the balance and the
// wells make it.
struct Trial {
    double stepDays = 0;
    double pressureBar = 0;
    FluidPoint fluid;
    double et = 0, efw = 0;
    double we1000m3 = 0;
    WellRate rate;
    double gorMean = 0, gorEnd = 0;
    double dnp1000m3 = 0, dwp1000m3 = 0;
    double waterCut = 0;
    double liquidSaturation = 1, oilSaturation = 0;
    double withdrawal1000m3 = 0;
    double residual = 0;  // N Et + We + (F - N Et - We at the start) - F
    double scale = 0;     // the balance's larger side, for its tolerance
    RunQuantity failed = RunQuantity::None;
};

enum class Solve { Solved, BelowLowest, Failed };

// What ends a step early.
enum class Event { None, LowestPressure, AbandonmentRate, PlateauEnd, OilInPlace };

class Stepper {
public:
    Stepper(const FluidModel& fluid, const RelPermModel& relPerm, const Reservoir& reservoir,
            const ForecastSettings& settings, const ForecastStart& start, ForecastInflux* influx)
        : fluids_(fluid),
          relPerm_(relPerm),
          settings_(settings),
          start_(start),
          influx_(influx),
          pi_(reservoir.initialPressureBar),
          ooip_(reservoir.ooip1000m3),
          gasCapRatio_(reservoir.gasCapRatio),
          swi_(relPerm.ConnateWaterSaturation()),
          cf_(reservoir.poreCompressibilityPerBar),
          cw_(reservoir.waterCompressibilityPerBar),
          table_(fluid.Table()) {}

    ForecastResult Run();

private:
    bool TakeInitialState();
    double GorAtStart(const FluidPoint& f);
    Trial Evaluate(double stepDays, double pressureBar, bool linearInflux);
    Solve SolveStep(double stepDays, Trial& out);
    bool SolveAtPressure(double pressureBar, double maxDays, Trial& out);
    Event EventOf(Solve solve, const Trial& t) const;
    double WellsPressureFor(double rate) const;
    double EventMargin(Event event, const Trial& t) const;
    bool StepToEvent(Event& event, double stepDays, Trial& out);
    void Commit(const Trial& t, double endDays);
    void Stop(ForecastStop stop) { out_.stop = stop; }

    FluidCache fluids_;
    const RelPermModel& relPerm_;
    const ForecastSettings& settings_;
    const ForecastStart& start_;
    ForecastInflux* influx_;
    const double pi_, ooip_, gasCapRatio_, swi_, cf_, cw_;
    const TabulatedPvt* table_;

    FluidState initial_;
    double gasCap1000Sm3_ = 0;
    double efwPerBar_ = 0;
    double imbalance_ = 0;  // F - N Et - We at the start
    double lowest_ = kLowestPressureBar;
    double maxPressureChange_ = 0;
    bool plateau_ = true;
    State state_;
    // The influx at the end of the step being solved as a linear function of
    // the pressure there (every model of src/waterdrive is linear in it).
    double influxDays_ = -1, influxAt0_ = 0, influxPerBar_ = 0;
    double gorGuess_ = 0;
    // The residual's slope in the pressure of the last step solved (1000 m3
    // per bar, negative), to aim the next step's tries.
    double residualSlope_ = 0;
    ForecastResult out_;
};

ForecastResult Stepper::Run() {
    out_.startDate = start_.date;
    out_.periodDays = settings_.PeriodDays();
    out_.ooip1000m3 = ooip_;
    if (!TakeInitialState()) return std::move(out_);

    // The calendar of the steps: months from the start, or steps of the
    // given length, and the end of the period.
    const double periodDays = out_.periodDays;
    auto gridDays = [&](int k) {
        if (settings_.stepDays > 0) return std::min(periodDays, k * settings_.stepDays);
        return std::min(periodDays, double(AddMonths(settings_.startDate, k) - settings_.startDate));
    };
    int k = 1;
    double maxStep = kInfinity;  // what the pressure change allows
    while (state_.days < periodDays) {
        if (out_.steps.size() > kMaxSteps) {
            Stop(ForecastStop::NoMeaningfulValue);
            out_.failedQuantity = RunQuantity::OilProduction;
            break;
        }
        while (gridDays(k) <= state_.days) ++k;
        const double toGrid = gridDays(k) - state_.days;
        const double stepDays = std::min(toGrid, maxStep);
        Trial t;
        const Solve solve = SolveStep(stepDays, t);
        if (solve == Solve::Failed) {
            Stop(ForecastStop::NoMeaningfulValue);
            out_.failedQuantity = t.failed;
            break;
        }
        // Too large a change of the pressure: a shorter step.
        if (solve == Solve::Solved) {
            const double change = std::fabs(t.pressureBar - state_.pressureBar);
            if (change > maxPressureChange_) {
                if (stepDays <= kMinStepDays) {
                    Stop(ForecastStop::NoBalance);
                    break;
                }
                maxStep = std::max(kMinStepDays, stepDays * kStepSafety * maxPressureChange_ / change);
                continue;
            }
        }
        Event event = EventOf(solve, t);
        if (event == Event::None) {
            const double change = std::fabs(t.pressureBar - state_.pressureBar);
            Commit(t, stepDays == toGrid ? gridDays(k) : state_.days + stepDays);
            maxStep = change > 0 ? std::max(stepDays, stepDays * maxPressureChange_ / change)
                                 : kInfinity;
            continue;
        }
        Trial at = t;
        if (!StepToEvent(event, stepDays, at)) {
            Stop(ForecastStop::NoMeaningfulValue);
            out_.failedQuantity = at.failed != RunQuantity::None ? at.failed
                                                                 : RunQuantity::OilProduction;
            break;
        }
        if (at.stepDays > 0) Commit(at, state_.days + at.stepDays);
        if (event == Event::PlateauEnd) {
            plateau_ = false;
            out_.plateauEndDays = state_.days;
            continue;
        }
        if (event == Event::LowestPressure)
            Stop(settings_.abandonmentPressureBar > 0 && lowest_ == settings_.abandonmentPressureBar
                     ? ForecastStop::AbandonmentPressure
                     : ForecastStop::LowestPressure);
        else if (event == Event::AbandonmentRate)
            Stop(ForecastStop::AbandonmentRate);
        else
            Stop(ForecastStop::OilInPlaceProduced);
        break;
    }
    return std::move(out_);
}

// The initial state's fluids, the limits and the start as the first row.
bool Stepper::TakeInitialState() {
    {
        ForecastStep& s = out_.steps.emplace_back();
        s.pressureBar = start_.pressureBar;
        s.np1000m3 = start_.np1000m3;
        s.gp1000Sm3 = start_.gp1000Sm3;
        s.wp1000m3 = start_.wp1000m3;
        s.we1000m3 = start_.we1000m3;
    }
    const FluidPoint initial = fluids_.AtFloat(static_cast<float>(pi_));
    if (initial.failed != RunQuantity::None) {
        Stop(ForecastStop::NoMeaningfulValue);
        out_.failedQuantity = initial.failed;
        return false;
    }
    initial_ = initial.state;
    gasCap1000Sm3_ = kThousand * InitialGasCapMioSm3(ooip_, initial_.bo, gasCapRatio_, initial_.bg);
    efwPerBar_ = RockAndWaterExpansionPerBarM3PerM3(initial_.bo, gasCapRatio_, swi_, cw_, cf_);
    maxPressureChange_ = kMaxPressureChangeShare * pi_;

    lowest_ = kLowestPressureBar;
    if (table_ != nullptr) lowest_ = std::max(lowest_, double(table_->LowestPressureBar()));
    if (settings_.abandonmentPressureBar > 0)
        lowest_ = std::max(lowest_, settings_.abandonmentPressureBar);
    out_.lowestPressureBar = lowest_;

    state_.pressureBar = start_.pressureBar;
    state_.np1000m3 = start_.np1000m3;
    state_.gp1000Sm3 = start_.gp1000Sm3;
    state_.wp1000m3 = start_.wp1000m3;
    state_.we1000m3 = start_.we1000m3;

    const bool outsideTable =
        table_ != nullptr && (start_.pressureBar > table_->HighestPressureBar() ||
                              start_.pressureBar < table_->LowestPressureBar());
    if (outsideTable || !(start_.pressureBar > lowest_)) {
        Stop(ForecastStop::NotStarted);
        return false;
    }
    const FluidPoint f = fluids_.At(state_.pressureBar);
    ForecastStep& first = out_.steps.front();
    if (f.failed != RunQuantity::None) {
        Stop(ForecastStop::NoMeaningfulValue);
        out_.failedQuantity = f.failed;
        return false;
    }
    state_.gorEndSm3PerM3 = GorAtStart(f);
    gorGuess_ = state_.gorEndSm3PerM3;
    const double drawdown = pi_ - state_.pressureBar;
    const double et = TotalExpansionEtM3PerM3(f.state, initial_, gasCapRatio_, efwPerBar_ * drawdown);
    const double withdrawal = WithdrawalF1000m3(
        f.state, state_.np1000m3, state_.gp1000Sm3,
        {state_.wp1000m3, start_.wi1000m3, start_.gi1000Sm3, f.bw});
    imbalance_ = withdrawal - ooip_ * et - state_.we1000m3;
    out_.startImbalance1000m3 = imbalance_;
    first.gorSm3PerM3 = first.gorEndSm3PerM3 = state_.gorEndSm3PerM3;
    first.bo = f.state.bo;
    first.rs = f.state.rs;
    first.bg = f.state.bg;
    first.rv = f.state.rv;
    first.bw = f.bw;
    first.et = et;
    first.withdrawal1000m3 = withdrawal;

    const WellRate rate = RateOfWells(settings_.wells, state_.pressureBar, state_.gorEndSm3PerM3);
    first.limit = rate.limit;
    if (rate.limit != RateLimit::Target) {
        plateau_ = false;
        out_.plateauEndDays = 0;
    }
    if (settings_.abandonmentRateM3PerDay > 0 && rate.oilM3PerDay < settings_.abandonmentRateM3PerDay) {
        Stop(ForecastStop::AbandonmentRate);
        return false;
    }
    return true;
}

// The producing gas-oil ratio of the start: Rs until free gas flows.
double Stepper::GorAtStart(const FluidPoint& f) {
    Trial t;
    t.fluid = f;
    const double drawdown = pi_ - state_.pressureBar;
    const double share = OilVolumeShare(f.state, initial_, ooip_, gasCap1000Sm3_, state_.np1000m3,
                                        state_.gp1000Sm3);
    const double netWater =
        std::max(0.0, state_.we1000m3 - (state_.wp1000m3 - start_.wi1000m3) * f.bw);
    const double sl = (share * (1.0 - swi_) + swi_ * (1.0 + cw_ * drawdown) +
                       netWater * (1.0 - swi_) / (ooip_ * initial_.bo)) /
                      (1.0 - cf_ * drawdown);
    const double ratio = relPerm_.KrgKro(sl);
    if (std::isinf(ratio)) return f.state.rs;
    return ProducingGorSm3PerM3(f.state, ratio, f.oilViscosityCp, f.gasViscosityCp);
}

// A step of stepDays that ends at pressureBar: the rate of the wells, the oil,
// water and gas it produces (the gas-oil ratio iterated to its step mean) and
// what remains of the balance.
Trial Stepper::Evaluate(double stepDays, double pressureBar, bool linearInflux) {
    Trial t;
    t.stepDays = stepDays;
    t.pressureBar = pressureBar;
    t.fluid = fluids_.At(pressureBar);
    const FluidPoint& f = t.fluid;
    if (f.failed != RunQuantity::None) {
        t.failed = f.failed;
        return t;
    }
    const double drawdown = pi_ - pressureBar;
    t.efw = efwPerBar_ * drawdown;
    t.et = TotalExpansionEtM3PerM3(f.state, initial_, gasCapRatio_, t.efw);
    if (influx_ != nullptr) {
        const double influxDays = start_.influxDays + state_.days + stepDays;
        if (linearInflux) {
            if (influxDays != influxDays_) {
                // The influx at the start's pressure and its change per bar fix
                // the line.
                const double p0 = state_.pressureBar;
                const double atStart = influx_->Trial(influxDays, p0);
                influxDays_ = influxDays;
                influxPerBar_ = influx_->PerBar(influxDays, p0);
                influxAt0_ = atStart - influxPerBar_ * p0;
            }
            t.we1000m3 = influxAt0_ + influxPerBar_ * pressureBar;
        } else {
            t.we1000m3 = influx_->Trial(influxDays, pressureBar);
        }
    }

    const double np = state_.np1000m3, gp = state_.gp1000Sm3, wp = state_.wp1000m3;
    double gorEnd = gorGuess_;
    double gorMean = 0;
    for (int pass = 0; pass < kMaxGorPasses; ++pass) {
        gorMean = 0.5 * (state_.gorEndSm3PerM3 + gorEnd);
        t.rate = RateOfWells(settings_.wells, pressureBar, gorMean);
        const double q = t.rate.oilM3PerDay;
        t.dnp1000m3 = q * stepDays / kThousand;
        t.waterCut =
            WaterCutAt(settings_.waterCut, kPercent * (np + 0.5 * t.dnp1000m3) / ooip_);
        t.dwp1000m3 = q * t.waterCut / (1.0 - t.waterCut) * stepDays / kThousand;
        const double share = OilVolumeShare(f.state, initial_, ooip_, gasCap1000Sm3_,
                                            np + t.dnp1000m3, gp + gorMean * t.dnp1000m3);
        // Water that entered and stayed fills pore space of the oil zone.
        const double netWater =
            std::max(0.0, t.we1000m3 - (wp + t.dwp1000m3 - start_.wi1000m3) * f.bw);
        t.oilSaturation = share * (1.0 - swi_) / (1.0 - cf_ * drawdown);
        t.liquidSaturation = (share * (1.0 - swi_) + swi_ * (1.0 + cw_ * drawdown) +
                              netWater * (1.0 - swi_) / (ooip_ * initial_.bo)) /
                             (1.0 - cf_ * drawdown);
        const double ratio = relPerm_.KrgKro(t.liquidSaturation);
        if (std::isinf(ratio)) {
            t.failed = RunQuantity::OilImmobile;
            return t;
        }
        const double next = ProducingGorSm3PerM3(f.state, ratio, f.oilViscosityCp, f.gasViscosityCp);
        const bool settled = std::fabs(next - gorEnd) <= kGorTolerance * (1.0 + std::fabs(next));
        gorEnd = next;
        if (settled) break;
    }
    gorGuess_ = gorEnd;
    t.gorMean = gorMean;
    t.gorEnd = gorEnd;
    t.failed = FirstMeaningless({{RunQuantity::OilProduction, t.dnp1000m3},
                                 {RunQuantity::Gor, gorEnd},
                                 {RunQuantity::OilSaturation, t.liquidSaturation}});
    t.withdrawal1000m3 = WithdrawalF1000m3(
        f.state, np + t.dnp1000m3, gp + gorMean * t.dnp1000m3,
        {wp + t.dwp1000m3, start_.wi1000m3, start_.gi1000Sm3, f.bw});
    t.residual = ooip_ * t.et + t.we1000m3 + imbalance_ - t.withdrawal1000m3;
    t.scale = std::fabs(t.withdrawal1000m3) + std::fabs(ooip_ * t.et) + std::fabs(t.we1000m3) +
              std::fabs(imbalance_);
    return t;
}

// Finds x in [lo, hi] where the decreasing function f crosses zero, with
// f(lo) > 0 > f(hi) given (Illinois' form of regula falsi); `close` tells
// whether a value is near enough to zero. Returns the value of the try
// nearest zero.
template <class F, class Close>
Trial FindRoot(double lo, double hi, Trial flo, Trial fhi, F f, Close close, bool& failed) {
    failed = false;
    Trial best = std::fabs(flo.residual) < std::fabs(fhi.residual) ? flo : fhi;
    double ylo = flo.residual, yhi = fhi.residual;
    int side = 0;
    for (int i = 0; i < kMaxRootIterations; ++i) {
        double x = (lo * yhi - hi * ylo) / (yhi - ylo);
        if (!(x > lo && x < hi)) x = 0.5 * (lo + hi);
        if (!(x > lo && x < hi)) break;  // no double between them
        const Trial t = f(x);
        if (t.failed != RunQuantity::None) {
            failed = true;
            return t;
        }
        if (std::fabs(t.residual) < std::fabs(best.residual)) best = t;
        if (close(t)) return t;
        if (t.residual > 0) {
            lo = x;
            ylo = t.residual;
            if (side == 1) yhi *= 0.5;
            side = 1;
        } else {
            hi = x;
            yhi = t.residual;
            if (side == -1) ylo *= 0.5;
            side = -1;
        }
    }
    return best;
}

bool BalanceCloses(const Trial& t) {
    return std::fabs(t.residual) <= kBalanceTolerance * t.scale;
}

// The end pressure of a step of stepDays: the pressure at which the balance
// closes with what the wells produce over the step. The residual falls as
// the pressure rises; the first tries lie where the last step's rate of
// change and the residual's slope lead (a secant step), and once two tries
// enclose the root it is found by FindRoot. Below the lowest pressure the
// step cannot close (BelowLowest); above the initial pressure no aquifer
// lifts it.
Solve Stepper::SolveStep(double stepDays, Trial& out) {
    const double p0 = state_.pressureBar;
    const double top = std::max(pi_, p0);
    auto eval = [&](double p) { return Evaluate(stepDays, p, true); };
    // The tries nearest the root on either side: lower pressure with a
    // positive residual, higher pressure with a negative one.
    std::optional<Trial> below, above;
    const Trial* last = nullptr;
    const Trial* before = nullptr;
    Trial tries[2];
    int next = 0;
    auto tryAt = [&](double p) -> std::optional<Solve> {
        Trial& t = tries[next];
        next ^= 1;
        t = eval(std::clamp(p, lowest_, top));
        before = last;
        last = &t;
        if (t.failed != RunQuantity::None) {
            out = t;
            return Solve::Failed;
        }
        if (BalanceCloses(t)) {
            out = t;
            return Solve::Solved;
        }
        if (t.residual > 0) {
            if (!below || t.pressureBar > below->pressureBar) below = t;
        } else if (!above || t.pressureBar < above->pressureBar) {
            above = t;
        }
        if (t.residual < 0 && t.pressureBar <= lowest_) {
            out = t;
            return Solve::BelowLowest;
        }
        if (t.residual > 0 && t.pressureBar >= top) {
            out = t;  // held at the initial pressure
            return Solve::Solved;
        }
        return std::nullopt;
    };
    const double expected = p0 + state_.pressureRateBarPerDay * stepDays;
    if (const auto done = tryAt(state_.pressureRateBarPerDay != 0 ? expected : p0)) return *done;
    // A secant step with the last step's slope of the residual, else a small
    // move the way the residual points; then further secant steps, widened
    // while they do not reach the other side.
    double width = std::max(std::fabs(expected - p0), 1e-6 * p0);
    for (int i = 0; i < kMaxRootIterations && !(below && above); ++i) {
        double p;
        const double slope = before != nullptr && before->pressureBar != last->pressureBar
                                 ? (last->residual - before->residual) /
                                       (last->pressureBar - before->pressureBar)
                                 : residualSlope_;
        if (slope < 0 && std::isfinite(slope)) {
            // Overshoot a little, so that the next try lies on the other side.
            // (The residual falls with the pressure: a try beyond the lowest
            // or above the top pressure still tells which side the root is on.)
            const double step = -last->residual / slope;
            p = last->pressureBar + step * (1.0 + 1e-3) + (step > 0 ? 1e-12 : -1e-12) * p0;
        } else {
            p = last->pressureBar + (last->residual > 0 ? 1.0 : -1.0) * width * std::pow(4.0, i);
        }
        if (const auto done = tryAt(p)) return *done;
    }
    if (!(below && above)) {
        out = *last;
        return Solve::Failed;
    }
    residualSlope_ = (above->residual - below->residual) / (above->pressureBar - below->pressureBar);
    bool failed = false;
    out = FindRoot(below->pressureBar, above->pressureBar, *below, *above, eval, BalanceCloses,
                   failed);
    return failed ? Solve::Failed : Solve::Solved;
}

// The step that ends exactly at pressureBar, no longer than maxDays: its
// length is where the balance closes at that pressure.
bool Stepper::SolveAtPressure(double pressureBar, double maxDays, Trial& out) {
    auto eval = [&](double days) { return Evaluate(days, pressureBar, false); };
    const Trial lo = eval(0.0);
    const Trial hi = eval(maxDays);
    if (lo.failed != RunQuantity::None || hi.failed != RunQuantity::None) {
        out = lo.failed != RunQuantity::None ? lo : hi;
        return false;
    }
    if (!(lo.residual > 0) || !(hi.residual < 0)) {
        out = std::fabs(lo.residual) < std::fabs(hi.residual) ? lo : hi;
        return true;
    }
    bool failed = false;
    out = FindRoot(0.0, maxDays, lo, hi, eval, BalanceCloses, failed);
    return !failed;
}

// The lowest pressure at which J (p - pwf) still gives the rate (in double
// precision: the step that ends there still produces it).
double Stepper::WellsPressureFor(double rate) const {
    const WellLimits& w = settings_.wells;
    double p = w.minBottomholePressureBar + rate / w.productivityIndexM3PerDayBar;
    while (w.productivityIndexM3PerDayBar * (p - w.minBottomholePressureBar) < rate)
        p = std::nextafter(p, kInfinity);
    return p;
}

// How far a step is from an event that a quantity crossing a value makes:
// positive before it, negative after (the oil rate above the abandonment
// rate, the oil in place not yet produced); NaN for the others.
double Stepper::EventMargin(Event event, const Trial& t) const {
    if (event == Event::AbandonmentRate) return t.rate.oilM3PerDay - settings_.abandonmentRateM3PerDay;
    if (event == Event::OilInPlace) return ooip_ - (state_.np1000m3 + t.dnp1000m3);
    return kNaN;
}

Event Stepper::EventOf(Solve solve, const Trial& t) const {
    if (solve == Solve::BelowLowest) return Event::LowestPressure;
    if (settings_.abandonmentRateM3PerDay > 0 &&
        t.rate.oilM3PerDay < settings_.abandonmentRateM3PerDay)
        return Event::AbandonmentRate;
    if (plateau_ && t.rate.limit != RateLimit::Target) return Event::PlateauEnd;
    if (state_.np1000m3 + t.dnp1000m3 >= ooip_) return Event::OilInPlace;
    return Event::None;
}

// The step from the state to the moment the event happens (within stepDays).
// An event found first may be preceded by another: the earliest is taken.
bool Stepper::StepToEvent(Event& event, double stepDays, Trial& out) {
    for (int round = 0; round < 4; ++round) {
        bool ok = true;
        const WellLimits& w = settings_.wells;
        // Where the wells' limit J (p - pwf) ends the plateau or reaches the
        // abandonment rate, the step ends at the pressure that gives that rate.
        const double wellsRate = event == Event::PlateauEnd ? w.oilRateTargetM3PerDay
                                 : event == Event::AbandonmentRate ? settings_.abandonmentRateM3PerDay
                                                                   : 0.0;
        if (event == Event::LowestPressure) {
            ok = SolveAtPressure(lowest_, stepDays, out);
        } else if (wellsRate > 0 && w.productivityIndexM3PerDayBar > 0 &&
                   out.rate.limit == RateLimit::Wells &&
                   SolveAtPressure(WellsPressureFor(wellsRate), stepDays, out) &&
                   out.rate.limit != RateLimit::Gas) {
            // (A gas limit binding there instead: bisection below.)
        } else {
            // The step's length is searched for the longest step without any
            // event, with the event just after it: by regula falsi (Illinois)
            // on the event's margin where it has one and both ends are known,
            // else by halving.
            double lo = 0, hi = stepDays;
            double marginLo = event == Event::OilInPlace ? ooip_ - state_.np1000m3 : kNaN;
            double marginHi = out.stepDays == stepDays ? EventMargin(event, out) : kNaN;
            const double scale = event == Event::OilInPlace ? ooip_ : settings_.abandonmentRateM3PerDay;
            int side = 0;
            Trial best;
            best.stepDays = 0;
            Event atHi = event;
            if (marginHi == 0) {
                // The whole step reaches the event exactly (Np = N).
                lo = hi;
                best = out;
            }
            for (int i = 0; i < kEventBisections && hi - lo > kEventTolerance * stepDays; ++i) {
                double mid = 0.5 * (lo + hi);
                if (marginLo > 0 && marginHi < 0) {
                    const double x = (lo * marginHi - hi * marginLo) / (marginHi - marginLo);
                    if (x > lo && x < hi) mid = x;
                }
                Trial t;
                const Solve s = SolveStep(mid, t);
                if (s == Solve::Failed) {
                    out = t;
                    return false;
                }
                const Event e = EventOf(s, t);
                if (e == Event::None) {
                    lo = mid;
                    best = t;
                    const double margin = EventMargin(event, t);
                    // At the event to rounding: the step ends here.
                    if (margin <= kEventTolerance * scale) break;
                    marginLo = margin;
                    if (side == 1) marginHi *= 0.5;
                    side = 1;
                } else if (e == event && EventMargin(event, t) == 0) {
                    lo = mid;
                    best = t;
                    break;
                } else {
                    hi = mid;
                    atHi = e;
                    marginHi = e == event ? EventMargin(event, t) : kNaN;
                    if (side == -1) marginLo *= 0.5;
                    side = -1;
                }
            }
            if (atHi == Event::LowestPressure && event != Event::LowestPressure) {
                // The pressure limit comes first: its step ends exactly there.
                event = Event::LowestPressure;
                stepDays = hi;
                continue;
            }
            event = atHi;
            out = best;
            return true;
        }
        if (!ok) return false;
        // Did another event come first?
        const Event before = EventOf(Solve::Solved, out);
        if (before == Event::None || before == event) return true;
        event = before;
        stepDays = out.stepDays;
    }
    return true;
}

void Stepper::Commit(const Trial& t, double endDays) {
    double we = t.we1000m3;
    if (influx_ != nullptr) we = influx_->Advance(start_.influxDays + endDays, t.pressureBar);
    influxDays_ = -1;
    const double previousPressure = state_.pressureBar;
    state_.days = endDays;
    state_.pressureBar = t.pressureBar;
    state_.np1000m3 += t.dnp1000m3;
    state_.gp1000Sm3 += t.gorMean * t.dnp1000m3;
    state_.wp1000m3 += t.dwp1000m3;
    state_.we1000m3 = we;
    state_.gorEndSm3PerM3 = t.gorEnd;
    if (t.stepDays > 0)
        state_.pressureRateBarPerDay = (t.pressureBar - previousPressure) / t.stepDays;

    ForecastStep& s = out_.steps.emplace_back();
    s.days = state_.days;
    s.stepDays = t.stepDays;
    s.pressureBar = t.pressureBar;
    s.oilRateM3PerDay = t.rate.oilM3PerDay;
    s.gasRate1000Sm3PerDay = t.rate.oilM3PerDay * t.gorMean / kThousand;
    s.waterRateM3PerDay = t.rate.oilM3PerDay * t.waterCut / (1.0 - t.waterCut);
    s.np1000m3 = state_.np1000m3;
    s.gp1000Sm3 = state_.gp1000Sm3;
    s.wp1000m3 = state_.wp1000m3;
    s.we1000m3 = we;
    s.gorSm3PerM3 = t.gorMean;
    s.gorEndSm3PerM3 = t.gorEnd;
    s.waterCut = t.waterCut;
    s.limit = t.rate.limit;
    s.bo = t.fluid.state.bo;
    s.rs = t.fluid.state.rs;
    s.bg = t.fluid.state.bg;
    s.rv = t.fluid.state.rv;
    s.bw = t.fluid.bw;
    s.et = t.et;
    s.withdrawal1000m3 = t.withdrawal1000m3;
    s.oilSaturation = t.oilSaturation;
    s.gasSaturation = 1.0 - t.liquidSaturation;
}

}  // namespace

double WellLimits::GasLimit1000Sm3PerDay() const {
    if (maxGasRate1000Sm3PerDay > 0) return maxGasRate1000Sm3PerDay;
    if (maxGorSm3PerM3 > 0) return oilRateTargetM3PerDay * maxGorSm3PerM3 / kThousand;
    return 0;
}

WellRate RateOfWells(const WellLimits& w, double pressureBar, double gor) {
    WellRate r{w.oilRateTargetM3PerDay, RateLimit::Target};
    if (w.productivityIndexM3PerDayBar > 0) {
        const double wells =
            std::max(0.0, w.productivityIndexM3PerDayBar * (pressureBar - w.minBottomholePressureBar));
        if (wells < r.oilM3PerDay) r = {wells, RateLimit::Wells};
    }
    const double gas = w.GasLimit1000Sm3PerDay();
    if (gas > 0 && gor > w.maxGorSm3PerM3 && gor > 0) {
        const double limited = gas * kThousand / gor;
        if (limited < r.oilM3PerDay) r = {limited, RateLimit::Gas};
    }
    return r;
}

double WaterCutAt(const LabWaterCutTable* table, double recoveryPct) {
    if (table == nullptr || table->rows.empty()) return 0.0;
    const std::vector<LabWaterCutRow>& rows = table->rows;
    if (recoveryPct <= rows.front().recoveryPct) return rows.front().waterCut;
    if (recoveryPct >= rows.back().recoveryPct) return rows.back().waterCut;
    const auto upper = std::upper_bound(
        rows.begin(), rows.end(), recoveryPct,
        [](double v, const LabWaterCutRow& r) { return v < double(r.recoveryPct); });
    const LabWaterCutRow& a = *(upper - 1);
    const LabWaterCutRow& b = *upper;
    const double w = (recoveryPct - a.recoveryPct) / (double(b.recoveryPct) - a.recoveryPct);
    return a.waterCut + w * (double(b.waterCut) - a.waterCut);
}

ForecastSettings ForecastSettings::Of(const CaseInputs& in) {
    ForecastSettings s;
    s.startDate = ForecastStartDate(in);
    s.months = static_cast<int>(std::lround(double(in.forecastYears) * kMonthsPerYear));
    s.stepDays = in.timeStepDays;
    s.wells.oilRateTargetM3PerDay = in.oilRateTargetM3PerDay;
    s.wells.productivityIndexM3PerDayBar = in.productivityIndexM3PerDayBar;
    s.wells.minBottomholePressureBar = in.minBottomholePressureBar;
    s.wells.maxGorSm3PerM3 = in.maxGorSm3PerM3;
    s.wells.maxGasRate1000Sm3PerDay = in.maxGasRate1000Sm3PerDay;
    s.abandonmentRateM3PerDay = in.abandonmentRateM3PerDay;
    s.abandonmentPressureBar = in.abandonmentPressureBar;
    s.waterCut = in.waterCutTable ? &*in.waterCutTable : nullptr;
    return s;
}

double ForecastSettings::PeriodDays() const {
    return double(AddMonths(startDate, months) - startDate);
}

double ForecastResult::OilAtDays(double days) const {
    if (steps.empty()) return 0;
    if (days <= 0) return steps.front().np1000m3;
    const auto after = std::lower_bound(steps.begin(), steps.end(), days,
                                        [](const ForecastStep& s, double d) { return s.days < d; });
    if (after == steps.end()) return steps.back().np1000m3;
    const ForecastStep& b = *after;
    return b.np1000m3 - b.oilRateM3PerDay * (b.days - days) / kThousand;
}

double ForecastResult::OilRateAtDays(double days) const {
    if (steps.size() < 2 || days < 0 || days > steps.back().days) return 0;
    const auto after = std::lower_bound(steps.begin() + 1, steps.end(), days,
                                        [](const ForecastStep& s, double d) { return s.days < d; });
    return after == steps.end() ? 0 : after->oilRateM3PerDay;
}

ForecastStep ForecastResult::AtDays(double days) const {
    if (steps.empty()) return {};
    if (days <= 0) return steps.front();
    const auto after = std::lower_bound(steps.begin(), steps.end(), days,
                                        [](const ForecastStep& s, double d) { return s.days < d; });
    if (after == steps.end()) return steps.back();
    const ForecastStep& b = *after;
    if (b.days == days || after == steps.begin()) return b;
    const ForecastStep& a = *(after - 1);
    const double w = (days - a.days) / (b.days - a.days);
    const double left = b.days - days;  // days of the step still to come
    ForecastStep s = b;
    s.days = days;
    s.pressureBar = a.pressureBar + w * (b.pressureBar - a.pressureBar);
    s.np1000m3 = b.np1000m3 - b.oilRateM3PerDay * left / kThousand;
    s.gp1000Sm3 = b.gp1000Sm3 - b.gasRate1000Sm3PerDay * left;
    s.wp1000m3 = b.wp1000m3 - b.waterRateM3PerDay * left / kThousand;
    s.we1000m3 = a.we1000m3 + w * (b.we1000m3 - a.we1000m3);
    return s;
}

ForecastStart InitialStart(const Reservoir& reservoir, int32_t date) {
    ForecastStart s;
    s.date = date;
    s.pressureBar = reservoir.initialPressureBar;
    return s;
}

ForecastResult Forecast(const FluidModel& fluid, const RelPermModel& relPerm,
                        const Reservoir& reservoir, const ForecastSettings& settings,
                        const ForecastStart& start, ForecastInflux* influx) {
    return Stepper(fluid, relPerm, reservoir, settings, start, influx).Run();
}

AquiferInflux::AquiferInflux(const Aquifer& aquifer, double initialPressureBar)
    : calculator_(aquifer, initialPressureBar) {
    if (aquifer.model != AquiferModel::VehRadial) return;
    tdPerDay_ = DimensionlessTimePerDay(aquifer);
    daysPerTd_ = 1.0 / tdPerDay_;
    functions_ = std::make_unique<RadialInfluxFunctions>(DimensionlessRadius(aquifer));
    otherLags_.assign(kOtherLags, {std::nan(""), 0.0});
    calculator_.UseFunctions([this](double tD) { return Wd(tD); }, {}, {});
}

double AquiferInflux::Wd(double tD) const {
    // The calculator asks for WD(tdPerDay (t - tj)); a lag of whole days
    // gives the very same product here.
    constexpr double kMaxCachedDays = 200 * 366;
    const double days = std::floor(tD * daysPerTd_ + 0.5);
    if (days >= 1 && days <= kMaxCachedDays && days * tdPerDay_ == tD) {
        const size_t i = static_cast<size_t>(days);
        if (i >= wdOfWholeDays_.size()) wdOfWholeDays_.resize(i + 1, std::nan(""));
        double& wd = wdOfWholeDays_[i];
        if (std::isnan(wd)) wd = functions_->Wd(tD);
        return wd;
    }
    const uint64_t bits = std::bit_cast<uint64_t>(tD);
    std::pair<double, double>& slot =
        otherLags_[static_cast<size_t>((bits * 0x9E3779B97F4A7C15ull) >> 52) % kOtherLags];
    if (std::bit_cast<uint64_t>(slot.first) != bits) slot = {tD, functions_->Wd(tD)};
    return slot.second;
}

int32_t ForecastStartDate(const CaseInputs& in) {
    if (in.history && !in.history->rows.empty() && !in.history->startDate.empty()) {
        int32_t day0 = 0;
        if (ParseIsoDate(in.history->startDate, day0))
            return day0 + static_cast<int32_t>(std::floor(in.history->rows.back().days));
    }
    return static_cast<int32_t>(in.forecastStartDate);
}

ForecastStart StartAfterHistory(const CaseInputs& in, AquiferInflux* influx) {
    ForecastStart s;
    s.date = ForecastStartDate(in);
    s.pressureBar = in.initialPressureBar;
    if (!in.history || in.history->rows.empty()) return s;
    for (const HistoryRow& row : in.history->rows)
        if (influx != nullptr && row.days > 0) influx->Advance(row.days, row.pressureBar);
    const HistoryRow& last = in.history->rows.back();
    s.influxDays = last.days;
    s.pressureBar = last.pressureBar;
    s.np1000m3 = last.np1000m3;
    s.gp1000Sm3 = kThousand * double(last.gpMioSm3);
    s.wp1000m3 = last.wp1000m3;
    s.wi1000m3 = last.wi1000m3;
    s.gi1000Sm3 = kThousand * double(last.giMioSm3);
    s.we1000m3 = influx != nullptr && last.days > 0 ? influx->Trial(last.days, last.pressureBar) : 0;
    return s;
}

std::string ForecastRefusal(const CaseInputs& in) {
    const ForecastSettings s = ForecastSettings::Of(in);
    const bool history = in.history && !in.history->rows.empty();
    if (!(ForecastStartDate(in) > 0))
        return history ? "Die Produktionshistorie hat keine Daten: bitte den Beginn der Prognose "
                         "angeben (forecast_start, JJJJ-MM-TT), den Tag ihrer letzten Zeile."
                       : "Bitte den Beginn der Prognose angeben (forecast_start, JJJJ-MM-TT).";
    if (!(in.forecastYears > 0))
        return "Bitte den Prognosezeitraum in Jahren angeben (forecast_years).";
    if (s.months < 1) return "Der Prognosezeitraum muß mindestens einen Monat lang sein.";
    const int32_t end = AddMonths(ForecastStartDate(in), s.months);
    if (end > kLastDateSerial)
        return Format("Der Prognosezeitraum endet nach dem Jahr %d (am %s).", kLastDateYear,
                      GermanDate(end).c_str());
    if (!(in.oilRateTargetM3PerDay > 0))
        return "Die Plateaurate Öl (oil_rate_target_m3_per_day) muß größer als 0 sein.";
    // The pressure the forecast starts from: the initial one, or the
    // history's last.
    const float p0 = history ? in.history->rows.back().pressureBar : in.initialPressureBar;
    const char* p0Name = history ? "dem Druck am Ende der Produktionshistorie" : "dem Initialdruck";
    if (in.productivityIndexM3PerDayBar > 0 && !(in.minBottomholePressureBar < p0))
        return Format("Der Mindestsohlendruck (%s bar) muß unter %s (%s bar) liegen.",
                      ShortestText(in.minBottomholePressureBar).c_str(), p0Name,
                      ShortestText(p0).c_str());
    if (in.abandonmentRateM3PerDay > 0 && !(in.abandonmentRateM3PerDay < in.oilRateTargetM3PerDay))
        return Format("Die Aufgaberate (%s m3/d) muß unter der Plateaurate (%s m3/d) liegen.",
                      ShortestText(in.abandonmentRateM3PerDay).c_str(),
                      ShortestText(in.oilRateTargetM3PerDay).c_str());
    if (in.abandonmentPressureBar > 0 && !(in.abandonmentPressureBar < p0))
        return Format("Der Aufgabedruck (%s bar) muß unter %s (%s bar) liegen.",
                      ShortestText(in.abandonmentPressureBar).c_str(), p0Name,
                      ShortestText(p0).c_str());
    if (in.waterCutTable && !IsValidTable(*in.waterCutTable))
        return "Die Tabelle des Wasseranteils ist ungültig.";
    if (const std::string why = AquiferProblem(Aquifer::Of(in)); !why.empty()) return why;
    return {};
}

ForecastResult ForecastCase(const CaseInputs& inputs, const RunOptions& options) {
    const Reservoir reservoir = Reservoir::Of(inputs);
    const ForecastSettings settings = ForecastSettings::Of(inputs);
    const Aquifer aquifer = Aquifer::Of(inputs);
    std::optional<AquiferInflux> influx;
    if (aquifer.Any()) influx.emplace(aquifer, inputs.initialPressureBar);
    const ForecastStart start = StartAfterHistory(inputs, influx ? &*influx : nullptr);
    return Forecast(FluidOfCase(inputs, options), RelPermModel(inputs), reservoir, settings, start,
                    influx ? &*influx : nullptr);
}

}  // namespace morvek
