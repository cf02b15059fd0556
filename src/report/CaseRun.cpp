#include "report/CaseRun.h"

#include "base/Format.h"
#include "report/LabReport.h"

namespace morvek {
namespace {

// Rs above this share over Rs at the bubble point is a rising Rs, not a
// rounding of the table.
constexpr double kRsTolerance = 1e-6;

}  // namespace

bool CaseRun::HasResultTable() const {
    if (prediction) return PredictionHasResult(*prediction);
    if (pvtTable) {
        for (const PvtTableRow& row : pvtTable->rows)
            if (row.failedQuantity == RunQuantity::None) return true;
        return false;
    }
    return relPermTable && !relPermTable->rows.empty();
}

ReportLines PredictionReportLines(const CaseInputs& inputs, const GasMixture& gas,
                                  const PredictionResult& result) {
    ReportLines lines;
    AppendReportHead(lines, inputs, gas);
    AppendLabDataReport(lines, inputs);
    AppendPredictionReport(lines, result);
    return lines;
}

std::vector<std::string> CaseWarnings(const CaseInputs& in) {
    std::vector<std::string> out;
    const float pb = in.bubblePointPressureBar;
    if (in.pvtTable && IsValidTable(*in.pvtTable)) {
        const TabulatedPvt table(*in.pvtTable, pb);
        const double rsAtPb = table.Rs(pb);
        // The lowest row above pb whose Rs lies above Rs(pb): the table's
        // own bubble point is at least there.
        for (auto row = in.pvtTable->rows.begin(); row != in.pvtTable->rows.end(); ++row) {
            if (!(row->pressureBar > pb)) continue;
            if (double(row->rs) > rsAtPb * (1 + kRsTolerance)) {
                out.push_back(Format(
                    "Warnung: Rs der PVT-Tabelle %s fällt schon über dem Gasentlösungsdruck "
                    "(%.1f bar): %.1f sm3/m3 bei %.1f bar, %.1f sm3/m3 am "
                    "Gasentlösungsdruck. Bitte den Gasentlösungsdruck prüfen.",
                    in.pvtTable->fileName.c_str(), double(pb), double(row->rs),
                    double(row->pressureBar), rsAtPb));
                break;
            }
        }
    }
    if (in.gasCapRatio > 0.0f && in.initialPressureBar > pb)
        out.push_back(Format(
            "Warnung: der Fall hat eine Gaskappe (m = %g), doch der Initialdruck %.1f bar liegt "
            "über dem Gasentlösungsdruck %.1f bar; eine Gaskappe steht über gesättigtem Öl "
            "(Initialdruck gleich Gasentlösungsdruck).",
            double(in.gasCapRatio), double(in.initialPressureBar), double(pb)));
    return out;
}

CaseRun RunCase(const CaseInputs& inputs, ResultKind kind, const RunOptions& options) {
    CaseRun run;
    run.kind = kind;
    if (kind != ResultKind::RelPermTable) run.warnings = CaseWarnings(inputs);
    const RelPermModel relPerm(inputs);
    if (kind == ResultKind::RelPermTable) {
        run.apiGravity = FluidOfCase(inputs, options).ApiGravity();
        run.relPermTable = ComputeRelPermTable(relPerm);
        ReportLines sources;
        AppendLabDataReport(sources, inputs, false);
        run.report = RelPermTableReport(*run.relPermTable, inputs.fieldName, sources);
        run.graph = RelPermTableGraph(*run.relPermTable);
        run.graph.labels.heading += LabTableHeadingSuffix(inputs, false);
        return run;
    }
    const FluidModel fluid = FluidOfCase(inputs, options);
    run.apiGravity = fluid.ApiGravity();
    run.calibration = fluid.Calibration();
    if (kind == ResultKind::PvtTable) {
        AppendReportHead(run.report, inputs, fluid.Gas());
        AppendLabDataReport(run.report, inputs);
        run.pvtTable = ComputePvtTable(fluid, inputs.initialPressureBar);
        AppendPvtTableReport(run.report, *run.pvtTable, ComputeShortRelPermTable(relPerm));
        // The PVT graph's heading is too long for a suffix beside its axis
        // titles; its report names the table.
        run.graph = PvtTableGraph(*run.pvtTable);
        return run;
    }
    run.prediction = Predict(fluid, relPerm, Reservoir::Of(inputs));
    run.report = PredictionReportLines(inputs, fluid.Gas(), *run.prediction);
    run.graph = PredictionGraph(*run.prediction, inputs.initialPressureBar, inputs.measuredRows);
    run.graph.labels.heading += LabTableHeadingSuffix(inputs);
    return run;
}

}  // namespace morvek
