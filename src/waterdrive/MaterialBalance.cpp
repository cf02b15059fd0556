// The balance of a production history with water influx and its regression.

#include "waterdrive/MaterialBalance.h"

#include <ceres/ceres.h>
#include <glog/logging.h>

#include <algorithm>
#include <boost/math/tools/roots.hpp>
#include <cmath>
#include <limits>
#include <mutex>

#include "base/Format.h"
#include "depletion/BalanceTerms.h"
#include "match/FitStatistics.h"
#include "waterdrive/Aquifer.h"

namespace morvek {
namespace {

// The fluids at a pressure as the balance takes them.
struct Fluids {
    FluidState state;
    double bw = 1;
};

Fluids FluidsAt(const FluidModel& fluid, float p) {
    Fluids f;
    f.state.rs = fluid.Rs(p);
    f.state.bo = fluid.Bo(p, f.state.rs);
    f.state.bg = fluid.Bg(p);
    f.state.rv = fluid.Rv(p);
    f.bw = fluid.Bw(p);
    return f;
}

// Everything of a case the balance of its rows needs, computed once.
struct Setup {
    explicit Setup(const CaseInputs& in, const RunOptions& run)
        : fluid(FluidOfCase(in, run)), aquifer(Aquifer::Of(in)) {
        pi = in.initialPressureBar;
        initial = FluidsAt(fluid, pi).state;
        n = in.ooip1000m3;
        m = in.gasCapRatio;
        const double cf = in.poreCompressibilityPerBar, cw = in.waterCompressibilityPerBar;
        efwPerBar = cf != 0.0 || cw != 0.0
                        ? RockAndWaterExpansionPerBarM3PerM3(initial.bo, m, in.connateWaterSaturation,
                                                             cw, cf)
                        : 0.0;
        lowest = LowestTablePressureBar(in);
        highest = in.pvtTable && IsValidTable(*in.pvtTable) ? in.pvtTable->rows.back().pressureBar
                                                             : 1000.0f;
    }
    FluidModel fluid;
    Aquifer aquifer;
    float pi = 0;
    FluidState initial;
    double n = 0, m = 0, efwPerBar = 0;
    float lowest = 0, highest = 1000;
};

// The terms of a row at pressure p (its influx not yet set).
void Terms(const Setup& s, const HistoryRow& h, float p, HistoryBalanceRow& r) {
    const Fluids f = FluidsAt(s.fluid, p);
    r.pressureBar = p;
    r.bo = f.state.bo;
    r.rs = f.state.rs;
    r.bg = f.state.bg;
    r.rv = f.state.rv;
    r.bw = f.bw;
    WaterAndInjection water;
    water.wp1000m3 = h.wp1000m3;
    water.wi1000m3 = h.wi1000m3;
    water.gi1000Sm3 = 1000.0 * double(h.giMioSm3);
    water.bw = f.bw;
    r.f1000m3 = WithdrawalF1000m3(f.state, h.np1000m3, 1000.0 * double(h.gpMioSm3), water);
    r.eo = OilExpansionEoM3PerM3(f.state, s.initial);
    r.eg = GasCapExpansionEgM3PerM3(f.state, s.initial);
    r.efw = s.efwPerBar != 0.0 ? s.efwPerBar * (double(s.pi) - double(p)) : 0.0;
    r.et = TotalExpansionEtM3PerM3(f.state, s.initial, s.m, r.efw);
}

void Indices(double n, double m, HistoryBalanceRow& r) {
    r.hasIndices = r.f1000m3 > 0;
    if (!r.hasIndices) return;
    r.ddi = n * r.eo / r.f1000m3;
    r.gdi = n * m * r.eg / r.f1000m3;
    r.cdi = n * r.efw / r.f1000m3;
    r.wdi = r.we1000m3 / r.f1000m3;
    r.sum = r.ddi + r.gdi + r.cdi + r.wdi;
}

// The pressure at which the row's balance closes, given the influx before
// it; nullopt when it does not close within the PVT range (then the end of
// the range nearer to closing is taken).
bool SolvePressure(const Setup& s, const HistoryRow& h, const InfluxCalculator& influx,
                   HistoryBalanceRow& r) {
    auto g = [&](double p) {
        HistoryBalanceRow t;
        Terms(s, h, static_cast<float>(p), t);
        return t.f1000m3 - s.n * t.et - influx.Trial(h.days, p);
    };
    const double lo = std::max<double>(s.lowest, 1.0);
    const double hi = std::max<double>(s.highest, s.pi);
    const double glo = g(lo), ghi = g(hi);
    double p = 0;
    bool solved = false;
    if (glo <= 0 && ghi >= 0) {
        // g grows with the pressure: a lower pressure expands the fluids and
        // the aquifer more.
        boost::uintmax_t iterations = 200;
        const auto root = boost::math::tools::toms748_solve(
            g, lo, hi, glo, ghi, boost::math::tools::eps_tolerance<double>(40), iterations);
        p = (root.first + root.second) / 2;
        solved = true;
    } else {
        p = glo > 0 ? lo : hi;
    }
    Terms(s, h, static_cast<float>(p), r);
    return solved;
}

}  // namespace

const char* MbObjectiveName(MbObjective objective) {
    return objective == MbObjective::Pressure ? "pressure" : "f";
}

HistoryBalance BalanceOfHistory(const CaseInputs& in, const RunOptions& run,
                                bool computePressures) {
    HistoryBalance out;
    if (!in.history || in.history->rows.empty()) {
        out.problem = "Der Fall hat keine Produktionshistorie.";
        return out;
    }
    const Setup s(in, run);
    if (std::string problem = AquiferProblem(s.aquifer); !problem.empty()) {
        out.problem = problem;
        return out;
    }
    out.ooip1000m3 = s.n;
    out.gasCapRatio = s.m;
    out.rsi = s.initial.rs;
    out.boi = s.initial.bo;
    out.bgi = s.initial.bg;
    out.pressuresComputed = computePressures;
    InfluxCalculator influx(s.aquifer, s.pi);
    const std::vector<HistoryRow>& rows = in.history->rows;
    for (size_t i = 0; i < rows.size(); ++i) {
        const HistoryRow& h = rows[i];
        if (h.IsInitialState()) {
            // Nothing produced yet: no balance, but its pressure acts on the
            // aquifer.
            ++out.initialRows;
            influx.Advance(h.days, h.pressureBar);
            continue;
        }
        HistoryBalanceRow r;
        r.row = static_cast<int>(i);
        r.days = h.days;
        r.measuredPressureBar = h.pressureBar;
        r.np1000m3 = h.np1000m3;
        r.gp1000Sm3 = 1000.0 * double(h.gpMioSm3);
        r.wp1000m3 = h.wp1000m3;
        r.wi1000m3 = h.wi1000m3;
        r.gi1000Sm3 = 1000.0 * double(h.giMioSm3);
        if (computePressures) {
            if (!SolvePressure(s, h, influx, r)) ++out.unsolvedRows;
        } else {
            // The PVT table has no fluids below its lowest pressure: the row is
            // left out, its pressure still acts on the aquifer.
            if (h.pressureBar < s.lowest) {
                ++out.rowsBelowTable;
                influx.Advance(h.days, h.pressureBar);
                continue;
            }
            Terms(s, h, h.pressureBar, r);
        }
        r.we1000m3 = influx.Advance(h.days, r.pressureBar);
        Indices(s.n, s.m, r);
        out.rows.push_back(r);
    }
    if (out.rows.empty())
        out.problem = "Die Produktionshistorie hat keine Zeile nach dem Anfangszustand.";
    return out;
}

// ---- The regression ----------------------------------------------------------------------------

namespace {

struct Fittable {
    const char* name;
    double typical;  // a modest change, for the solver's scale
};
constexpr Fittable kFittable[] = {
    {"ooip_1000m3", 100.0},
    {"gas_cap_ratio", 0.1},
    {"aquifer_constant_m3_per_bar", 100.0},
    {"aquifer_radius_m", 500.0},
    {"aquifer_permeability_md", 10.0},
};

double TypicalOf(const Field& f) {
    for (const Fittable& x : kFittable)
        if (std::string(f.name) == x.name) return x.typical;
    return 1.0;
}

// Why this input takes no part in the case's aquifer model, or "".
std::string UnusedInput(const CaseInputs& in, const Field& f) {
    const AquiferModel m = AquiferModelOf(in.aquiferModel);
    const std::string name = f.name;
    const char* caption = AquiferModelCaption(m);
    if (name == "aquifer_constant_m3_per_bar" && m == AquiferModel::None)
        return Format("%s kann nicht angepaßt werden: der Fall hat kein Aquifermodell.",
                      f.recordName);
    if (name == "aquifer_radius_m" &&
        (m == AquiferModel::None || m == AquiferModel::FetkovichLinear ||
         (m == AquiferModel::Pot && in.aquiferConstantM3PerBar > 0) ||
         ((m == AquiferModel::VehRadial || m == AquiferModel::CarterTracyRadial) &&
          in.aquiferRadiusM == 0)))
        return Format("%s kann beim Aquifermodell \"%s\" nicht angepaßt werden%s.", f.recordName,
                      caption,
                      in.aquiferRadiusM == 0 && m != AquiferModel::None
                          ? " (der Aquifer ist unendlich; einen Startwert angeben)"
                          : "");
    if (name == "aquifer_permeability_md" &&
        (m == AquiferModel::None || m == AquiferModel::Pot))
        return Format("%s kann beim Aquifermodell \"%s\" nicht angepaßt werden.", f.recordName,
                      caption);
    return {};
}

struct Parameter {
    std::string name;  // as given: the CSV and the summary name it so
    const Field* field = nullptr;
    double start = 0;
    MatchBounds bounds;
    double scale = 1;
};

std::vector<Parameter> Resolve(const CaseInputs& in, const MbFitOptions& options) {
    std::vector<Parameter> out;
    const Aquifer aquifer = Aquifer::Of(in);
    for (const MatchParameter& p : options.parameters) {
        const Field* f = FindField(p.name);
        if (f == nullptr) continue;
        Parameter r;
        r.name = p.name;
        r.field = f;
        r.bounds = p.bounds ? *p.bounds : MbDefaultBounds(in, *f);
        double value = f->Number(in);
        // A constant of 0 stands for the geometry's: the fit starts from it.
        if (std::string(f->name) == "aquifer_constant_m3_per_bar" && value == 0)
            value = InfluxConstantM3PerBar(aquifer);
        r.start = p.start ? *p.start : value;
        r.scale = std::max(std::fabs(r.start), TypicalOf(*f));
        out.push_back(r);
    }
    return out;
}

float Stored(double x, const MatchBounds& b) {
    float f = static_cast<float>(std::clamp(x, b.lower, b.upper));
    if (f > b.upper) f = std::nextafter(f, -INFINITY);
    if (f < b.lower) f = std::nextafter(f, INFINITY);
    return f;
}

CaseInputs InputsAt(const CaseInputs& base, const std::vector<Parameter>& params, const double* u) {
    CaseInputs in = base;
    for (size_t j = 0; j < params.size(); ++j)
        params[j].field->Number(in) = Stored(u[j] * params[j].scale, params[j].bounds);
    return in;
}

// The residuals of a case (as many as rows take part), false when the
// balance cannot be formed.
bool Residuals(const CaseInputs& in, const MbFitOptions& options, double fScale, double* out,
               std::vector<RowComparison>* rows = nullptr) {
    const bool pressure = options.objective == MbObjective::Pressure;
    const HistoryBalance b = BalanceOfHistory(in, options.run, pressure);
    if (!b.problem.empty()) return false;
    if (rows != nullptr) rows->clear();
    for (size_t i = 0; i < b.rows.size(); ++i) {
        const HistoryBalanceRow& r = b.rows[i];
        out[i] = pressure ? (r.pressureBar - r.measuredPressureBar) / r.measuredPressureBar
                          : (r.f1000m3 - b.ooip1000m3 * r.et - r.we1000m3) / fScale;
        if (rows != nullptr) {
            RowComparison c;
            c.measured.np1000m3 = static_cast<float>(r.np1000m3);
            c.measured.pressureBar = static_cast<float>(r.measuredPressureBar);
            c.pressureBar = r.pressureBar;
            rows->push_back(c);
        }
    }
    return std::all_of(out, out + b.rows.size(), [](double v) { return std::isfinite(v); });
}

double Rms(const std::vector<double>& r) {
    double s = 0;
    for (double v : r) s += v * v;
    return r.empty() ? 0 : std::sqrt(s / r.size());
}

// Finite differences of 1e-4 of each input's scale, inside the bounds: the
// f residuals are smooth; the pressure objective's roots are found to 1e-12
// of the pressure, far below what such a step moves them.
constexpr double kStep = 1e-4;

class BalanceCost final : public ceres::CostFunction {
public:
    BalanceCost(const CaseInputs& base, const std::vector<Parameter>& params,
                const MbFitOptions& options, double fScale, int residuals,
                const MatchCallback& callback)
        : base_(base), params_(params), options_(options), fScale_(fScale), callback_(callback) {
        set_num_residuals(residuals);
        mutable_parameter_block_sizes()->push_back(static_cast<int>(params.size()));
    }

    bool Evaluate(double const* const* parameters, double* residuals,
                  double** jacobians) const override {
        const double* u = parameters[0];
        const size_t n = static_cast<size_t>(num_residuals());
        const size_t p = params_.size();
        if (!At(u, residuals)) return false;
        if (jacobians == nullptr || jacobians[0] == nullptr) return true;
        std::vector<double> moved(u, u + p), up(n), down(n);
        for (size_t j = 0; j < p; ++j) {
            const double lo = params_[j].bounds.lower / params_[j].scale;
            const double hi = params_[j].bounds.upper / params_[j].scale;
            const double h = std::min(kStep, (hi - lo) / 2);
            const bool roomUp = u[j] + h <= hi, roomDown = u[j] - h >= lo;
            const double* plus = residuals;
            const double* minus = residuals;
            double width = 0;
            if (roomUp) {
                moved[j] = u[j] + h;
                if (!At(moved.data(), up.data())) return false;
                plus = up.data();
                width += h;
            }
            if (roomDown) {
                moved[j] = u[j] - h;
                if (!At(moved.data(), down.data())) return false;
                minus = down.data();
                width += h;
            }
            moved[j] = u[j];
            for (size_t i = 0; i < n; ++i)
                jacobians[0][i * p + j] = width > 0 ? (plus[i] - minus[i]) / width : 0.0;
        }
        return true;
    }

    int Evaluations() const { return evaluations_; }
    bool Stopped() const { return stopped_; }
    bool Report(int iteration, double rms) const {
        if (callback_ && !stopped_ && !callback_({iteration, evaluations_, rms})) stopped_ = true;
        return !stopped_;
    }

private:
    bool At(const double* u, double* residuals) const {
        if (stopped_) return false;
        ++evaluations_;
        return Residuals(InputsAt(base_, params_, u), options_, fScale_, residuals);
    }

    const CaseInputs& base_;
    const std::vector<Parameter>& params_;
    const MbFitOptions& options_;
    double fScale_;
    const MatchCallback& callback_;
    mutable int evaluations_ = 0;
    mutable bool stopped_ = false;
};

class Progress final : public ceres::IterationCallback {
public:
    Progress(const BalanceCost& cost, int residuals) : cost_(cost), n_(residuals) {}
    ceres::CallbackReturnType operator()(const ceres::IterationSummary& s) override {
        return cost_.Report(s.iteration, std::sqrt(2 * s.cost / n_)) ? ceres::SOLVER_CONTINUE
                                                                      : ceres::SOLVER_ABORT;
    }

private:
    const BalanceCost& cost_;
    int n_;
};

void SilenceSolverLog() {
    static std::once_flag once;
    std::call_once(once, [] { FLAGS_minloglevel = google::GLOG_FATAL; });
}

}  // namespace

const std::vector<const Field*>& MbFittableFields() {
    static const std::vector<const Field*> fields = [] {
        std::vector<const Field*> out;
        for (const Fittable& f : kFittable) out.push_back(FindField(f.name));
        return out;
    }();
    return fields;
}

std::string MbFittableNames() {
    std::string names;
    for (const Field* f : MbFittableFields()) {
        if (!names.empty()) names += ", ";
        names += f->name;
    }
    return names;
}

MatchBounds MbDefaultBounds(const CaseInputs& in, const Field& f) {
    const std::string name = f.name;
    const AquiferModel m = AquiferModelOf(in.aquiferModel);
    if (name == "aquifer_constant_m3_per_bar") return {1e-3, f.max};
    if (name == "aquifer_permeability_md") return {1e-3, f.max};
    if (name == "aquifer_radius_m") {
        const double re = in.reservoirRadiusM;
        const double least = m == AquiferModel::FetkovichRadial ? kMinFetkovichRed * 1.0001
                             : m == AquiferModel::Pot            ? 1.0001
                                                                 : kMinFiniteRed;
        return {least * re, f.max};
    }
    return {f.min, f.max};
}

std::string CheckMbFit(const CaseInputs& in, const MbFitOptions& options) {
    if (!in.history) return "Der Fall hat keine Produktionshistorie.";
    if (options.parameters.empty()) return "Es ist keine Eingabe zum Anpassen genannt.";
    std::vector<const Field*> seen;
    for (const MatchParameter& p : options.parameters) {
        const Field* f = FindField(p.name);
        if (f == nullptr || std::find(MbFittableFields().begin(), MbFittableFields().end(), f) ==
                                MbFittableFields().end())
            return Format("\"%s\" kann nicht angepaßt werden. Möglich sind: %s.", p.name.c_str(),
                          MbFittableNames().c_str());
        if (std::find(seen.begin(), seen.end(), f) != seen.end())
            return Format("%s ist zweimal genannt.", f->name);
        seen.push_back(f);
        if (std::string unused = UnusedInput(in, *f); !unused.empty()) return unused;
    }
    const HistoryBalance b = BalanceOfHistory(in, options.run, false);
    if (!b.problem.empty()) return b.problem;
    if (b.rows.size() < options.parameters.size())
        return Format("Die Produktionshistorie hat %zu Zeile(n) nach dem Anfangszustand; für %zu "
                      "angepaßte Eingaben sind mindestens so viele nötig.",
                      b.rows.size(), options.parameters.size());
    for (const Parameter& p : Resolve(in, options)) {
        if (!(p.bounds.lower <= p.bounds.upper) || !std::isfinite(p.bounds.lower) ||
            !std::isfinite(p.bounds.upper))
            return Format("Die Grenzen von %s sind ungültig.", p.field->name);
        if (p.bounds.lower < p.field->min || p.bounds.upper > p.field->max)
            return Format("Die Grenzen von %s liegen außerhalb von %g bis %g.", p.field->name,
                          double(p.field->min), double(p.field->max));
        if (!(p.start >= p.bounds.lower && p.start <= p.bounds.upper))
            return Format("Der Startwert %g von %s liegt außerhalb seiner Grenzen %g bis %g.",
                          p.start, p.field->name, p.bounds.lower, p.bounds.upper);
    }
    return {};
}

MatchResult MbFit(const CaseInputs& inputs, const MbFitOptions& options,
                  const MatchCallback& callback) {
    MatchResult result;
    result.fittedInputs = inputs;
    result.weights = {1.0, 0.0};
    result.message = CheckMbFit(inputs, options);
    if (!result.message.empty()) return result;

    const std::vector<Parameter> params = Resolve(inputs, options);
    const size_t p = params.size();
    std::vector<double> u(p);
    CaseInputs start = inputs;
    for (size_t j = 0; j < p; ++j) {
        const Parameter& r = params[j];
        u[j] = r.start / r.scale;
        const float stored = Stored(r.start, r.bounds);
        r.field->Number(start) = stored;
        result.inputs.push_back({r.name, r.start, r.start, stored, r.bounds});
    }
    result.fittedInputs = start;
    result.status = MatchStatus::NotConverged;

    // f residuals in units of the rows' mean withdrawal.
    const HistoryBalance before = BalanceOfHistory(start, options.run, false);
    double fScale = 0;
    for (const HistoryBalanceRow& r : before.rows) fScale += std::fabs(r.f1000m3);
    fScale = before.rows.empty() || fScale == 0 ? 1.0 : fScale / before.rows.size();
    const int n = static_cast<int>(before.rows.size());
    result.residualCount = n;
    result.degreesOfFreedom = n - static_cast<int>(p);

    std::vector<double> residuals(static_cast<size_t>(n));
    if (!Residuals(start, options, fScale, residuals.data(), &result.rowsBefore)) {
        result.message = "An den Startwerten läßt sich die Bilanz nicht bilden.";
        result.predictions = 1;
        return result;
    }
    result.rmsBefore = Rms(residuals);

    SilenceSolverLog();
    BalanceCost cost(inputs, params, options, fScale, n, callback);
    ceres::Problem::Options problemOptions;
    problemOptions.cost_function_ownership = ceres::DO_NOT_TAKE_OWNERSHIP;
    ceres::Problem problem(problemOptions);
    problem.AddResidualBlock(&cost, nullptr, u.data());
    for (size_t j = 0; j < p; ++j) {
        const int k = static_cast<int>(j);
        problem.SetParameterLowerBound(u.data(), k, params[j].bounds.lower / params[j].scale);
        problem.SetParameterUpperBound(u.data(), k, params[j].bounds.upper / params[j].scale);
    }
    Progress progress(cost, n);
    ceres::Solver::Options solverOptions;
    solverOptions.linear_solver_type = ceres::DENSE_QR;
    solverOptions.max_num_iterations = options.maxIterations;
    solverOptions.num_threads = 1;
    solverOptions.logging_type = ceres::SILENT;
    solverOptions.minimizer_progress_to_stdout = false;
    solverOptions.function_tolerance = 1e-12;
    solverOptions.parameter_tolerance = 1e-10;
    solverOptions.callbacks.push_back(&progress);
    ceres::Solver::Summary summary;
    ceres::Solve(solverOptions, &problem, &summary);
    result.iterations = static_cast<int>(summary.iterations.size()) - 1;
    result.predictions = cost.Evaluations() + 1;

    if (cost.Stopped()) {
        result.status = MatchStatus::Cancelled;
        result.message = "Die Anpassung wurde abgebrochen.";
        return result;
    }
    if (summary.termination_type != ceres::CONVERGENCE) {
        result.message =
            summary.termination_type == ceres::NO_CONVERGENCE
                ? Format("Die Anpassung ist nach %d %s nicht konvergiert.", options.maxIterations,
                         options.maxIterations == 1 ? "Iteration" : "Iterationen")
                : "Die Anpassung ist gescheitert: die Bilanz ergab an keinem besseren Punkt Werte.";
        return result;
    }

    CaseInputs fitted = inputs;
    std::vector<double> scales;
    for (size_t j = 0; j < p; ++j) {
        FittedInput& f = result.inputs[j];
        const Parameter& r = params[j];
        f.fitted = std::clamp(u[j] * r.scale, r.bounds.lower, r.bounds.upper);
        f.stored = Stored(f.fitted, r.bounds);
        r.field->Number(fitted) = f.stored;
        const double tolerance = 1e-6 * r.scale;
        f.atBound =
            f.fitted - r.bounds.lower <= tolerance || r.bounds.upper - f.fitted <= tolerance;
        scales.push_back(r.scale);
    }
    EstimateFitStatistics(problem, u.data(), summary.final_cost, scales, result);
    if (!Residuals(fitted, options, fScale, residuals.data(), &result.rowsAfter)) {
        result.message = "Mit den angepaßten Werten läßt sich die Bilanz nicht bilden.";
        return result;
    }
    result.rmsAfter = Rms(residuals);
    result.predictions = cost.Evaluations() + 2;
    result.status = MatchStatus::Converged;
    result.fittedInputs = fitted;
    return result;
}

}  // namespace morvek
