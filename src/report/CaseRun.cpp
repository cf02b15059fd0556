#include "report/CaseRun.h"

#include "report/LabReport.h"

namespace morvek {

bool CaseRun::HasResultTable() const {
    if (prediction) return PredictionHasResult(*prediction);
    if (pvtTable) {
        for (const PvtTableRow& row : pvtTable->rows)
            if (row.failedQuantity == nullptr) return true;
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

CaseRun RunCase(const CaseInputs& inputs, ResultKind kind, const RunOptions& options) {
    CaseRun run;
    run.kind = kind;
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
