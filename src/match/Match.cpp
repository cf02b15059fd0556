// The match: Ceres Solver's Levenberg-Marquardt within bounds on the misfit of
// MatchMisfit.h, then Ceres's covariance estimate of the fitted values.

#include "match/Match.h"

#include <ceres/ceres.h>
#include <glog/logging.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <mutex>

#include "base/Format.h"
#include "match/FitStatistics.h"
#include "match/MatchMisfit.h"
#include "match/MatchSetupDetail.h"

namespace morvek {
namespace {

// Finite-difference step in the solver's scaled variables (see
// MatchableField::typical): 3 % of each input's scale. The misfit is not
// smooth on a small scale: gas starts to flow at the first step whose gas
// saturation passes Sgc, and krg/kro jumps there from zero (the relative
// permeabilities measure the oil saturation from Sgc), so the producing
// gas-oil ratio of a row near that point jumps by a few percent whenever a
// small change of the inputs moves the onset by one pressure step. Steps of a
// thousandth see those jumps as slopes and leave Levenberg-Marquardt stuck a
// few percent from the answer; steps of 3 % see the trend through them and
// were the smallest that found every synthetic case tried (six cases, 8 to
// 15 rows, starts 20 % off either way) within 0.5 %. The rounding of the
// prediction (single-precision inputs, the inner iteration's 0.001 sm3/m3)
// is negligible at that step.
constexpr double kStep = 3e-2;
// A start that ended this much lower than the converged one is worth a warning.
constexpr double kLowerMisfit = 1e-3;

// The misfit as Ceres sees it: one residual block over all rows, one
// parameter block of the scaled inputs (input = u * scale).
//
// The derivatives are finite differences taken here rather than by Ceres's
// NumericDiffCostFunction: that one steps relative to |u| only (1.5e-8 at a
// gas cap of zero, lost in the prediction's rounding) and steps across the
// bounds (a negative gas cap, a kro above 1). Here each step stays inside
// the bounds: central where there is room on both sides, else one-sided.
class MisfitCost final : public ceres::CostFunction {
public:
    MisfitCost(const CaseInputs& base, const std::vector<ResolvedParameter>& params,
               const ResidualLayout& layout, const RunOptions& run, const MatchCallback& callback)
        : base_(base), params_(params), layout_(layout), run_(run), callback_(callback) {
        set_num_residuals(layout.Count());
        mutable_parameter_block_sizes()->push_back(static_cast<int>(params.size()));
    }

    bool Evaluate(double const* const* parameters, double* residuals,
                  double** jacobians) const override {
        const double* u = parameters[0];
        const size_t n = static_cast<size_t>(num_residuals());
        const size_t p = params_.size();
        if (!At(u, residuals)) return false;
        if (jacobians == nullptr || jacobians[0] == nullptr) return true;
        const std::vector<double> center(residuals, residuals + n);
        std::vector<double> moved(u, u + p), up(n), down(n);
        for (size_t j = 0; j < p; ++j) {
            const double lo = params_[j].bounds.lower / params_[j].scale;
            const double hi = params_[j].bounds.upper / params_[j].scale;
            const double h = std::min(kStep, (hi - lo) / 2);
            const bool roomUp = u[j] + h <= hi;
            const bool roomDown = u[j] - h >= lo;
            const double* plus = center.data();
            const double* minus = center.data();
            double width = 0;
            // A side whose prediction fails (it ends before a row) counts as
            // no room there.
            if (roomUp) {
                moved[j] = u[j] + h;
                if (At(moved.data(), up.data())) {
                    plus = up.data();
                    width += h;
                } else if (stopped_) {
                    return false;
                }
            }
            if (roomDown) {
                moved[j] = u[j] - h;
                if (At(moved.data(), down.data())) {
                    minus = down.data();
                    width += h;
                } else if (stopped_) {
                    return false;
                }
            }
            moved[j] = u[j];
            for (size_t i = 0; i < n; ++i)
                jacobians[0][i * p + j] = width > 0 ? (plus[i] - minus[i]) / width : 0.0;
        }
        return true;
    }

    // The case at the scaled point, each input within its bounds and in the
    // single precision the case holds.
    CaseInputs InputsAt(const double* u) const {
        CaseInputs in = base_;
        for (size_t j = 0; j < params_.size(); ++j) {
            const ResolvedParameter& p = params_[j];
            const double x = std::clamp(u[j] * p.scale, p.bounds.lower, p.bounds.upper);
            p.field->Number(in) = StoredValue(x, p.bounds);
        }
        return in;
    }

    static float StoredValue(double x, const MatchBounds& b) {
        float f = static_cast<float>(x);
        // Rounding must not carry the value across a bound.
        if (f > b.upper) f = std::nextafter(f, -INFINITY);
        if (f < b.lower) f = std::nextafter(f, INFINITY);
        return f;
    }

    int Predictions() const { return predictions_; }
    bool Stopped() const { return stopped_; }
    void SetIteration(int iteration, double rms) const {
        iteration_ = iterationsBefore_ + iteration;
        bestRms_ = rms;
    }
    // The iterations of the starts before the current one, for the progress.
    void AddIterations(int iterations) const { iterationsBefore_ += iterations; }
    bool Report() const {
        if (callback_ && !stopped_ && !callback_({iteration_, predictions_, bestRms_}))
            stopped_ = true;
        return !stopped_;
    }

private:
    // Residuals at u; the last point is kept, since Ceres asks for the
    // Jacobian at a point whose residuals it has just had.
    bool At(const double* u, double* residuals) const {
        const size_t n = static_cast<size_t>(num_residuals());
        const size_t p = params_.size();
        if (cacheValid_ && std::equal(u, u + p, cachedU_.begin())) {
            std::copy(cachedR_.begin(), cachedR_.end(), residuals);
            return true;
        }
        if (stopped_) return false;
        const PredictionResult r = PredictCase(InputsAt(u), run_, kMatchStepControl);
        ++predictions_;
        const bool ok =
            Residuals(r, layout_, residuals) &&
            std::all_of(residuals, residuals + n, [](double v) { return std::isfinite(v); });
        if (ok) {
            cachedU_.assign(u, u + p);
            cachedR_.assign(residuals, residuals + n);
            cacheValid_ = true;
        }
        return Report() && ok;
    }

    const CaseInputs& base_;
    const std::vector<ResolvedParameter>& params_;
    const ResidualLayout& layout_;
    const RunOptions& run_;
    const MatchCallback& callback_;
    mutable int predictions_ = 0;
    mutable int iteration_ = 0;
    mutable int iterationsBefore_ = 0;
    mutable double bestRms_ = 0;
    mutable bool stopped_ = false;
    mutable bool cacheValid_ = false;
    mutable std::vector<double> cachedU_, cachedR_;
};

// Ceres reports through glog, on stderr unless glog was set up otherwise,
// also with logging_type SILENT (a failed first evaluation, say). The engine
// prints nothing, and nothing else in the program uses glog: below FATAL its
// messages are dropped, once for the process.
void SilenceSolverLog() {
    static std::once_flag once;
    std::call_once(once, [] { FLAGS_minloglevel = google::GLOG_FATAL; });
}

class ProgressCallback final : public ceres::IterationCallback {
public:
    ProgressCallback(const MisfitCost& cost, double weightSum) : cost_(cost), w_(weightSum) {}
    ceres::CallbackReturnType operator()(const ceres::IterationSummary& s) override {
        cost_.SetIteration(s.iteration, std::sqrt(2 * s.cost / w_));
        return cost_.Report() ? ceres::SOLVER_CONTINUE : ceres::SOLVER_ABORT;
    }

private:
    const MisfitCost& cost_;
    double w_;
};

std::vector<RowComparison> CompareRows(const PredictionResult& r,
                                       const std::vector<MeasuredPoint>& rows) {
    std::vector<RowComparison> out;
    if (r.steps.empty()) return out;
    for (const MeasuredPoint& row : rows) {
        const PredictedPoint at = PredictionAt(r, row.np1000m3);
        out.push_back({row, at.pressureBar, at.gorSm3PerM3, at.beyondEnd});
    }
    return out;
}

// The residuals, RMS and row comparisons of the case, as the match predicts
// it. False without steps or with rows beyond the prediction's end (beyond
// then names them, the rows are compared as far as they can be).
bool Compare(const CaseInputs& in, const ResidualLayout& layout, const RunOptions& run, double& rms,
             std::vector<RowComparison>& rows, std::string& beyond) {
    const PredictionResult r = PredictCase(in, run, kMatchStepControl);
    rows = CompareRows(r, layout.rows);
    beyond = RowsBeyondEnd(r, layout.rows);
    std::vector<double> residuals(static_cast<size_t>(layout.Count()));
    if (!Residuals(r, layout, residuals.data())) return false;
    rms = WeightedRms(residuals, layout);
    return true;
}

// Where the prediction ends, for messages: "bei Np 1234.5 (41.2 bar)".
std::string EndText(const CaseInputs& in, const RunOptions& run) {
    const PredictionResult r = PredictCase(in, run, kMatchStepControl);
    if (r.steps.empty()) return "ohne einen Schritt";
    return Format("bei Np %.1f (1000 m3) und %.1f bar", r.steps.back().np1000m3,
                  double(r.steps.back().pressureBar));
}

// The points the match starts from, in the solver's scaled variables: the
// given start, then the centre (where the bounds cut the box) and the corners
// of a box of +-kStartBox scale around it within the bounds; with more than
// kMaxCornerInputs inputs the box's axis ends instead of its corners.
constexpr double kStartBox = 0.25;
constexpr size_t kMaxCornerInputs = 3;

std::vector<std::vector<double>> StartPoints(const std::vector<ResolvedParameter>& params) {
    const size_t p = params.size();
    std::vector<double> given(p), lo(p), hi(p);
    for (size_t j = 0; j < p; ++j) {
        const ResolvedParameter& r = params[j];
        given[j] = r.start / r.scale;
        lo[j] = std::max(r.bounds.lower, r.start - kStartBox * r.scale) / r.scale;
        hi[j] = std::min(r.bounds.upper, r.start + kStartBox * r.scale) / r.scale;
    }
    std::vector<std::vector<double>> points = {given};
    auto add = [&points](const std::vector<double>& u) {
        for (const std::vector<double>& v : points)
            if (v == u) return;
        points.push_back(u);
    };
    std::vector<double> centre(p);
    for (size_t j = 0; j < p; ++j) centre[j] = (lo[j] + hi[j]) / 2;
    add(centre);
    if (p <= kMaxCornerInputs) {
        for (size_t corner = 0; corner < (size_t{1} << p); ++corner) {
            std::vector<double> u(p);
            for (size_t j = 0; j < p; ++j) u[j] = (corner >> j) & 1 ? hi[j] : lo[j];
            add(u);
        }
    } else {
        for (size_t j = 0; j < p; ++j)
            for (double end : {lo[j], hi[j]}) {
                std::vector<double> u = given;
                u[j] = end;
                add(u);
            }
    }
    return points;
}

// The start values of a point, "m_OOIP 4000, m_Gaskappe 0.6".
std::string StartText(const std::vector<ResolvedParameter>& params, const std::vector<double>& u) {
    std::string text;
    for (size_t j = 0; j < params.size(); ++j)
        text += Format("%s%s %.6g", j == 0 ? "" : ", ", params[j].field->recordName,
                       u[j] * params[j].scale);
    return text;
}

std::string NotConvergedMessage(const ceres::Solver::Summary& s, int maxIterations) {
    if (s.termination_type == ceres::NO_CONVERGENCE)
        return Format("Die Anpassung ist nach %d %s nicht konvergiert.", maxIterations,
                      maxIterations == 1 ? "Iteration" : "Iterationen");
    return "Die Anpassung ist gescheitert: die Vorhersage ergab an keinem besseren Punkt "
           "Werte.";
}

}  // namespace

MatchResult Match(const CaseInputs& inputs, const MatchOptions& options,
                  const MatchCallback& callback) {
    MatchResult result;
    result.fittedInputs = inputs;
    result.weights = options.weights;
    result.message = CheckMatch(inputs, options);
    if (!result.message.empty()) return result;

    const std::vector<ResolvedParameter> params = ResolveParameters(inputs, options);
    const ResidualLayout layout{MeasuredPoints(inputs.measuredRows), options.weights.pressure,
                                options.weights.gor};
    const size_t p = params.size();
    result.residualCount = layout.Count();
    result.degreesOfFreedom = result.residualCount - static_cast<int>(p);
    CaseInputs start = inputs;
    for (size_t j = 0; j < p; ++j) {
        const ResolvedParameter& r = params[j];
        const float stored = MisfitCost::StoredValue(r.start, r.bounds);
        r.field->Number(start) = stored;
        result.inputs.push_back({r.field->recordName, r.start, r.start, stored, r.bounds});
    }
    result.fittedInputs = start;

    // The start values' prediction must reach every row: a row beyond its end
    // has nothing to be compared with.
    std::string beyond;
    result.predictions = 1;
    if (!Compare(start, layout, options.run, result.rmsBefore, result.rowsBefore, beyond)) {
        result.status = MatchStatus::Refused;
        result.message =
            beyond.empty()
                ? "An den Startwerten ergibt die Vorhersage keinen Schritt: die Anpassung kann "
                  "nicht beginnen."
                : Format("An den Startwerten endet die Vorhersage %s, vor dem Öl der Meßwerte "
                         "%s: die Anpassung kann nicht beginnen. Bitte andere Startwerte "
                         "wählen oder diese Meßwerte entfernen.",
                         EndText(start, options.run).c_str(), beyond.c_str());
        return result;
    }
    result.status = MatchStatus::NotConverged;

    SilenceSolverLog();
    MisfitCost cost(inputs, params, layout, options.run, callback);
    cost.SetIteration(0, result.rmsBefore);
    ProgressCallback progress(cost, layout.WeightSum());
    ceres::Solver::Options solverOptions;
    solverOptions.linear_solver_type = ceres::DENSE_QR;
    solverOptions.max_num_iterations = options.maxIterations;
    solverOptions.num_threads = 1;
    solverOptions.logging_type = ceres::SILENT;
    solverOptions.minimizer_progress_to_stdout = false;
    solverOptions.callbacks.push_back(&progress);
    ceres::Problem::Options problemOptions;
    problemOptions.cost_function_ownership = ceres::DO_NOT_TAKE_OWNERSHIP;
    auto bound = [&](ceres::Problem& problem, double* u) {
        problem.AddResidualBlock(&cost, nullptr, u);
        for (size_t j = 0; j < p; ++j) {
            const int k = static_cast<int>(j);
            problem.SetParameterLowerBound(u, k, params[j].bounds.lower / params[j].scale);
            problem.SetParameterUpperBound(u, k, params[j].bounds.upper / params[j].scale);
        }
    };

    // Levenberg-Marquardt from every start point; the best converged one
    // counts.
    const std::vector<std::vector<double>> points =
        options.multipleStarts ? StartPoints(params)
                               : std::vector<std::vector<double>>{StartPoints(params).front()};
    struct Outcome {
        std::vector<double> u;
        double cost = std::numeric_limits<double>::infinity();
        ceres::Solver::Summary summary;
    };
    std::vector<Outcome> outcomes;
    for (const std::vector<double>& point : points) {
        Outcome& o = outcomes.emplace_back();
        o.u = point;
        ceres::Problem problem(problemOptions);
        bound(problem, o.u.data());
        ceres::Solve(solverOptions, &problem, &o.summary);
        const int iterations = std::max(0, static_cast<int>(o.summary.iterations.size()) - 1);
        cost.AddIterations(iterations);
        if (cost.Stopped()) break;
        if (o.summary.IsSolutionUsable()) o.cost = o.summary.final_cost;
        MatchStart& m = result.starts.emplace_back();
        for (size_t j = 0; j < p; ++j) {
            m.start.push_back(point[j] * params[j].scale);
            m.fitted.push_back(o.u[j] * params[j].scale);
        }
        m.converged = o.summary.termination_type == ceres::CONVERGENCE;
        m.rms = std::isfinite(o.cost) ? std::sqrt(2 * o.cost / layout.WeightSum()) : o.cost;
        m.iterations = iterations;
    }
    if (cost.Stopped()) {
        result.status = MatchStatus::Cancelled;
        result.message = "Die Anpassung wurde abgebrochen.";
        result.predictions = cost.Predictions() + 1;
        return result;
    }

    size_t best = 0;
    bool anyConverged = false;
    for (size_t i = 0; i < outcomes.size(); ++i) {
        const bool converged = result.starts[i].converged;
        if ((converged && !anyConverged) ||
            (converged == anyConverged && outcomes[i].cost < outcomes[best].cost))
            best = i;
        anyConverged = anyConverged || converged;
    }
    result.bestStart = static_cast<int>(best);
    Outcome& chosen = outcomes[best];
    result.iterations = result.starts[best].iterations;
    // Another start that ended lower without converging: the answer may lie
    // elsewhere.
    for (size_t i = 0; i < outcomes.size(); ++i) {
        if (!anyConverged || result.starts[i].converged) continue;
        if (outcomes[i].cost < chosen.cost * (1 - kLowerMisfit)) {
            result.startWarning = Format(
                "Warnung: der Start bei %s endete ohne Konvergenz mit kleinerem RMS (%.2f %%) "
                "als die konvergierte Lösung (%.2f %%); die Meßwerte bestimmen die Werte "
                "womöglich nicht eindeutig.",
                StartText(params, points[i]).c_str(), 100 * result.starts[i].rms,
                100 * result.starts[best].rms);
            break;
        }
    }
    if (!anyConverged) {
        result.message = NotConvergedMessage(chosen.summary, options.maxIterations);
        result.predictions = cost.Predictions() + 1;
        return result;
    }

    CaseInputs fitted = inputs;
    for (size_t j = 0; j < p; ++j) {
        FittedInput& f = result.inputs[j];
        const ResolvedParameter& r = params[j];
        f.fitted = std::clamp(chosen.u[j] * r.scale, r.bounds.lower, r.bounds.upper);
        f.stored = MisfitCost::StoredValue(f.fitted, r.bounds);
        r.field->Number(fitted) = f.stored;
        const double tolerance = 1e-6 * r.scale;
        f.atBound =
            f.fitted - r.bounds.lower <= tolerance || r.bounds.upper - f.fitted <= tolerance;
    }
    {
        // The covariance at the chosen point.
        ceres::Problem problem(problemOptions);
        bound(problem, chosen.u.data());
        std::vector<double> scales;
        for (const ResolvedParameter& r : params) scales.push_back(r.scale);
        EstimateFitStatistics(problem, chosen.u.data(), chosen.cost, scales, result);
    }
    if (cost.Stopped()) {
        result.status = MatchStatus::Cancelled;
        result.message = "Die Anpassung wurde abgebrochen.";
        result.predictions = cost.Predictions() + 1;
        return result;
    }
    result.predictions = cost.Predictions() + 2;
    if (!Compare(fitted, layout, options.run, result.rmsAfter, result.rowsAfter, beyond)) {
        // The values as the case stores them end the prediction before a row:
        // no fit of those rows at all.
        result.message =
            beyond.empty()
                ? "Die Vorhersage der angepaßten Werte ergibt keinen Schritt."
                : Format("Die Vorhersage der angepaßten Werte endet %s, vor dem Öl der "
                         "Meßwerte %s: die Anpassung ist nicht gelungen.",
                         EndText(fitted, options.run).c_str(), beyond.c_str());
        return result;
    }
    result.status = MatchStatus::Converged;
    result.fittedInputs = fitted;
    return result;
}

}  // namespace morvek
