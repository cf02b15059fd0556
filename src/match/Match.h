#pragma once
// History matching: fits some inputs of a case to its measured rows. The
// misfit is the weighted sum of squared relative residuals of the shut-in
// pressure and of the producing gas-oil ratio at each row's cumulative oil
// (MatchMisfit.h); Ceres Solver minimises it within bounds (Levenberg-
// Marquardt) from the given start and a few deterministic others and
// estimates the covariance of the fitted values, from which come their
// standard errors, 95 % intervals and correlations. Every row must lie within
// the prediction: the match does not start when the start values' prediction
// ends before a row's oil, and is not converged when the fitted values' does.
//
// Match is a pure function like every prediction: it never asks, never prints
// and never changes its inputs; the caller takes the fitted values if it
// likes (the window on "Übernehmen", batch mode after a converged match).

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "depletion/Prediction.h"
#include "model/CaseInputs.h"
#include "model/FieldTable.h"
#include "model/MeasuredRows.h"

namespace morvek {

// The inputs a match may fit, by their record names, in the order the dialog
// lists them: m_OOIP, m_Gaskappe, m_KrgMax, m_KroMax, m_Sgc, m_Swi,
// m_Entloesungsdruck.
const std::vector<const Field*>& MatchableFields();
// "m_OOIP, m_Gaskappe, ...", for messages.
std::string MatchableNames();

// Start value and bounds of one fitted input, in the input's unit.
struct MatchBounds {
    double lower = 0;
    double upper = 0;
};

// The bounds a match takes for an input unless told otherwise: the field
// table's range where the dialog has one, and otherwise bounds the dialog's
// OK checks and the physics ask for (see the .cpp). fitted: the record names
// of every input fitted together (Swi and Sgc share the room below 1).
MatchBounds DefaultBounds(const CaseInputs& inputs, const Field& field,
                          const std::vector<std::string>& fitted);

struct MatchParameter {
    std::string name;                   // record name ("m_OOIP") or English name ("ooip_1000m3")
    std::optional<double> start;        // default: the case's value
    std::optional<MatchBounds> bounds;  // default: DefaultBounds
};

struct MatchWeights {
    double pressure = 1.0;
    double gor = 1.0;
};

struct MatchOptions {
    std::vector<MatchParameter> parameters;
    MatchWeights weights;
    // The fluids of every prediction (the oil-gravity decision of the run).
    RunOptions run;
    int maxIterations = 100;
    // Start Levenberg-Marquardt also from the centre and the corners of a box
    // around the start (Match.cpp) and take the best converged end; false:
    // from the start alone.
    bool multipleStarts = true;
};

// Why fitting this input cannot move the case's prediction (a German
// message), or "": with a table of relative permeabilities krg and kro come
// from the table, so m_KrgMax, m_KroMax and m_Sgc take no part.
std::string UnusedMatchInput(const CaseInputs& inputs, const Field& field);

// The options fitting these inputs from the case's values within the
// default bounds.
MatchOptions MatchOptionsFor(const std::vector<std::string>& names);

// Why a match of the case with these options cannot start (a German message
// for the user), or "" when it can: no measured rows, fewer rows than fitted
// inputs, an input that cannot be fitted, is named twice or takes no part
// (UnusedMatchInput), a start outside
// its bounds, bounds the dialog's OK checks would refuse, weights that are
// negative or both zero, a measured pressure or gas-oil ratio that is not
// above zero (a relative residual needs it).
std::string CheckMatch(const CaseInputs& inputs, const MatchOptions& options);

// Where the match stands, after every prediction and every iteration.
struct MatchProgress {
    int iteration = 0;
    int predictions = 0;
    double rms = 0;  // relative RMS of the best point so far (0.01 = 1 %)
};
// Return false to stop the match (the window's "Abbrechen").
using MatchCallback = std::function<bool(const MatchProgress&)>;

enum class MatchStatus {
    Converged,
    NotConverged,  // iterations used up, or the solver gave up
    Cancelled,
    Refused,  // CheckMatch said no; message says why
};

struct FittedInput {
    std::string name;  // record name
    double start = 0;
    double fitted = 0;  // the solver's value
    float stored = 0;   // what the case takes (single precision, within the bounds)
    MatchBounds bounds;
    bool atBound = false;  // the fitted value lies on a bound
    // Standard error and 95 % interval (Student's t, n - p degrees of
    // freedom, residual variance estimated from the misfit); absent when
    // the rows determine no variance (as many residuals as inputs) or the
    // inputs are not separately determined (singular covariance). The
    // interval is cut off at the bounds.
    bool hasStatistics = false;
    double stdError = 0;
    double ci95Low = 0;
    double ci95High = 0;
};

// One measured row against the prediction of the fitted case.
struct RowComparison {
    MeasuredPoint measured;
    double pressureBar = 0;         // computed
    double gorSm3PerM3 = 0;         // computed (step mean, as report and graph show)
    bool beyondPrediction = false;  // the prediction ended before this row's oil
};

// One start of the match: where it began and ended.
struct MatchStart {
    std::vector<double> start;   // the inputs' values, in the order of MatchResult::inputs
    std::vector<double> fitted;  // where the solver ended
    double rms = 0;              // weighted relative RMS there (infinite: no usable end)
    bool converged = false;
    int iterations = 0;
};

struct MatchResult {
    MatchStatus status = MatchStatus::Refused;
    std::string message;  // German: why refused, why not converged
    std::vector<FittedInput> inputs;
    // correlation[i][j] of the fitted inputs; empty without statistics.
    std::vector<std::vector<double>> correlation;
    double rmsBefore = 0;   // relative RMS of the residuals at the start values
    double rmsAfter = 0;    // ... at the stored fitted values
    int residualCount = 0;  // pressures and gas-oil ratios with a weight above zero
    int degreesOfFreedom = 0;
    std::vector<RowComparison> rowsBefore;
    std::vector<RowComparison> rowsAfter;
    int iterations = 0;   // of the start whose end is reported
    int predictions = 0;  // of all starts
    MatchWeights weights;
    // Every start, the given one first, and the one reported: the converged
    // end of the lowest misfit (or, when none converged, the lowest end).
    std::vector<MatchStart> starts;
    int bestStart = 0;
    // German, or empty: another start ended without converging but lower
    // than the converged end reported.
    std::string startWarning;
    // The case with the stored fitted values (the start case unless converged).
    CaseInputs fittedInputs;

    bool Converged() const { return status == MatchStatus::Converged; }
};

// Fits the case. callback (optional) sees the progress and may stop it; it
// is called on the caller's thread.
MatchResult Match(const CaseInputs& inputs, const MatchOptions& options,
                  const MatchCallback& callback = {});

// |r| above this is worth a warning: the rows determine those two only together.
inline constexpr double kStrongCorrelation = 0.9;

}  // namespace morvek
