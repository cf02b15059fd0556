#include "report/CaseRun.h"

namespace morvek {

bool CaseRun::HasResultTable() const {
    if (prediction) return !prediction->steps.empty();
    if (pvtTable) {
        for (const PvtTableRow& row : pvtTable->rows)
            if (row.failedQuantity == nullptr) return true;
        return false;
    }
    return relPermTable && !relPermTable->rows.empty();
}

CaseRun RunCase(const CaseInputs& inputs, ResultKind kind, const RunOptions& options) {
    CaseRun run;
    run.kind = kind;
    const RelPermModel relPerm(inputs);
    if (kind == ResultKind::RelPermTable) {
        run.apiGravity = FluidOfCase(inputs, options).ApiGravity();
        run.relPermTable = ComputeRelPermTable(relPerm);
        run.report = RelPermTableReport(*run.relPermTable, inputs.fieldName);
        run.graph = RelPermTableGraph(*run.relPermTable);
        return run;
    }
    const FluidModel fluid = FluidOfCase(inputs, options);
    run.apiGravity = fluid.ApiGravity();
    run.calibration = fluid.Calibration();
    AppendReportHead(run.report, inputs, fluid.Gas());
    if (kind == ResultKind::PvtTable) {
        run.pvtTable = ComputePvtTable(fluid, inputs.initialPressureBar);
        AppendPvtTableReport(run.report, *run.pvtTable, ComputeShortRelPermTable(relPerm));
        run.graph = PvtTableGraph(*run.pvtTable);
        return run;
    }
    run.prediction = Predict(fluid, relPerm, Reservoir::Of(inputs));
    AppendPredictionReport(run.report, *run.prediction);
    run.graph = PredictionGraph(*run.prediction, inputs.initialPressureBar, inputs.measuredRows);
    return run;
}

}  // namespace morvek
