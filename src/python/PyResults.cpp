#include "PyResults.h"

#include "PyCommon.h"
#include "case/OilGravityQuestion.h"
#include "pvt/FluidModel.h"
#include "pvt/GasMixture.h"
#include "report/Report.h"

namespace morvek::python {

py::object DataFrameOf(const py::dict& columns, py::object index) {
    py::module_ pandas = py::module_::import("pandas");
    // A dict's arrays are copied, so the frame is the caller's to change.
    return pandas.attr("DataFrame")(columns, py::arg("index") = index);
}

std::string JoinedReport(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) {
        out += line;
        out += '\n';
    }
    return out;
}

std::vector<std::string> RunDiagnostics(const CaseInputs& in, const RunOptions& options,
                                        ResultKind kind, const PredictionResult* prediction) {
    std::vector<std::string> out;
    // The oil-gravity check runs before every run when an initial gas-oil
    // ratio was measured and no laboratory PVT table stands in for the
    // correlations (as the document's CheckOilGravity); its questions are
    // answered by the run's options, its message is kept.
    if (in.initialGorSm3PerM3 != 0.0f && !in.pvtTable) {
        CollectingSink sink;
        AskForApiFromInitialGor(in, MixGas(in.gasMolePercent).relativeDensity, sink);
        out = std::move(sink.messages);
    }
    if (kind != ResultKind::RelPermTable) {
        for (std::string& warning : CaseWarnings(in)) out.push_back(std::move(warning));
        const ViscosityCalibration calibration = FluidOfCase(in, options).Calibration();
        if (calibration.applied) out.push_back(ViscosityCalibrationNote(calibration));
    }
    if (prediction != nullptr && prediction->liquidBelowConnateWaterCount > 0) {
        for (const PredictionEvent& e : prediction->events) {
            if (e.kind != PredictionEventKind::LiquidBelowConnateWater) continue;
            out.push_back(BelowConnateWaterNote(e, in.connateWaterSaturation,
                                                in.criticalGasSaturation,
                                                prediction->liquidBelowConnateWaterCount));
            break;
        }
    }
    return out;
}

}  // namespace morvek::python
