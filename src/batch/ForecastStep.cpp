#include "batch/ForecastStep.h"

#include <QCommandLineParser>
#include <charconv>
#include <iostream>
#include <memory>

#include "base/AtomicFileWriter.h"
#include "base/Format.h"
#include "batch/CommandLineText.h"
#include "batch/DrawingApplication.h"
#include "batch/ExitStatus.h"
#include "batch/SampleRun.h"
#include "batch/TableStep.h"
#include "batch/SweepStep.h"
#include "case/MorvekDoc.h"
#include "forecast/ForecastSweep.h"
#include "forecast/ForecastText.h"
#include "input/CaseRefusal.h"
#include "input/LabTableEntry.h"
#include "views/ForecastCharts.h"
#include "views/qt/ChartExport.h"

namespace {

const QString kForecast = QStringLiteral("forecast");
const QString kCsv = QStringLiteral("forecast-csv");
const QString kGraph = QStringLiteral("forecast-graph");
const QString kWaterCut = QStringLiteral("wasseranteil");
const QString kNpBy = QStringLiteral("np-by");
const QString kFan = QStringLiteral("fan-chart");

bool IsPicture(const std::string& path, std::string& problem) {
    if (path.empty() || IsDrawingFileName(path)) return true;
    problem = OneLineText("Die Grafik kann nicht als " + DisplayPath(path) +
                          " gespeichert werden: erlaubt sind Dateien mit der Endung .png, .svg "
                          "oder .pdf.");
    return false;
}

// "2030,2035": years of the forecast, ascending, each once.
bool ParseYears(const std::string& text, std::vector<int>& years) {
    years.clear();
    size_t pos = 0;
    while (pos <= text.size()) {
        const size_t end = std::min(text.find(',', pos), text.size());
        int year = 0;
        const char* first = text.data() + pos;
        const char* last = text.data() + end;
        const auto r = std::from_chars(first, last, year);
        if (first == last || r.ec != std::errc() || r.ptr != last || year < 1900 || year > 2199)
            return false;
        if (!years.empty() && year <= years.back()) return false;
        years.push_back(year);
        pos = end + 1;
    }
    return !years.empty();
}

morvek::CaseInputs ForecastInputsOf(const CMorvekDoc& doc, float apiAsLoaded) {
    morvek::CaseInputs in = doc.m_Inputs;
    in.apiGravity = apiAsLoaded;
    return in;
}

bool WriteChart(const std::string& path, const PageDrawing& draw, const std::string& title) {
    std::string error;
    if (!ExportDrawing(draw, title, path, error)) {
        std::cerr << error << '\n';
        return false;
    }
    return true;
}

int RunForecastSweep(const ForecastRequest& request, const SweepRequest& sweep,
                     const CMorvekDoc& doc, const morvek::CaseInputs& base, bool useApi, int argc,
                     char** argv) {
    morvek::ForecastSweepOptions options;
    options.plan = sweep.options.plan;
    options.threads = sweep.options.threads;
    options.run.useApiFromInitialGor = useApi;
    options.check = RefusalOfCase;
    options.npByYears = request.npByYears;
    const std::vector<morvek::ForecastOutcomeColumn> columns =
        morvek::ForecastOutcomeColumns(options);

    morvek::ForecastSweepResult result;
    if (!RunWithSampleCsv(sweep.csvPath,
                          morvek::ForecastSweepCsvHeader(sweep.variations, options),
                          [&](AtomicFileWriter* csv) {
                              morvek::ForecastSweepSink sink;
                              if (csv)
                                  sink = [&](const morvek::ForecastSweepRow& row) {
                                      csv->Append(morvek::ForecastSweepCsvLine(row, columns));
                                  };
                              result = morvek::ForecastSweep(base, sweep.variations, options, sink);
                          }))
        return kExitFile;
    if (!DeliverSummary(sweep.summaryPath, morvek::ForecastSweepSummaryText(
                                               doc.m_Feldname, sweep.variations, options, result)))
        return kExitFile;
    const int status = SampleRunStatus(result.completed, result.failedCount);
    if (request.fanPath.empty()) return status;
    const std::unique_ptr<QGuiApplication> app = ApplicationForDrawing(argc, argv);
    const FanChartData data{doc.m_Feldname, doc.GetPathName(), result.fan};
    return WriteChart(
               request.fanPath,
               [&](Surface& dc) { DrawFanPage(dc, data, ForecastScreenFrame()); }, kFanTitle)
               ? status
               : kExitFile;
}

}  // namespace

void AddForecastOptions(QCommandLineParser& parser) {
    parser.addOption({kForecast,
                      "Forecast against time from the case's forecast inputs (--set "
                      "forecast_start=YYYY-MM-DD, forecast_years, oil_rate_target_m3_per_day, "
                      "productivity_index_m3_per_day_bar, ...): its German report replaces the "
                      "prediction's (stdout or --report). With --vary the uncertainty run takes "
                      "the forecast as its run."});
    parser.addOption({kCsv,
                      "With --forecast: write one line per step (date;days;pressure_bar;"
                      "oil_rate_m3_per_day;...) into FILE.",
                      "FILE"});
    parser.addOption({kGraph,
                      "With --forecast: draw the graphs against time (rates; pressure and GOR; "
                      "cumulatives) into FILE (.png, .svg or .pdf).",
                      "FILE"});
    parser.addOption({kWaterCut,
                      "Read the forecast's water-cut table (header line, then rows of recovery "
                      "factor (%) and water cut (fraction of the liquid)) into the case.",
                      "FILE"});
    parser.addOption({kNpBy,
                      "With --forecast and --vary: also give cumulative oil by the end of each "
                      "year (comma-separated, ascending).",
                      "YEARS"});
    parser.addOption({kFan,
                      "With --forecast and --vary: draw P90, P50 and P10 of oil rate and "
                      "cumulative oil against time into FILE (.png, .svg or .pdf).",
                      "FILE"});
}

bool ReadForecastOptions(const QCommandLineParser& parser, bool sweepActive,
                         ForecastRequest& request, std::string& problem) {
    ForecastRequest r;
    r.active = parser.isSet(kForecast);
    if (!FileNameOption(parser, kCsv, r.csvPath, problem) ||
        !FileNameOption(parser, kGraph, r.graphPath, problem) ||
        !FileNameOption(parser, kWaterCut, r.waterCutPath, problem) ||
        !FileNameOption(parser, kFan, r.fanPath, problem))
        return false;
    for (const QString& name : {kCsv, kGraph, kNpBy, kFan})
        if (parser.isSet(name) && !r.active) {
            problem = Format("--%s verlangt --forecast.", Bytes(name).c_str());
            return false;
        }
    for (const QString& name : {kNpBy, kFan})
        if (parser.isSet(name) && !sweepActive) {
            problem = Format("--%s verlangt mindestens ein --vary.", Bytes(name).c_str());
            return false;
        }
    if (r.active && sweepActive && (parser.isSet("tornado") || parser.isSet("distribution") ||
                                    parser.isSet("abandon"))) {
        problem =
            "--tornado, --distribution und --abandon gelten für die Vorhersage über dem Druck, "
            "nicht für die Prognose über die Zeit (--forecast); dort zeigt --fan-chart die "
            "Verteilung.";
        return false;
    }
    if (r.active && sweepActive && (!r.csvPath.empty() || !r.graphPath.empty())) {
        problem = "--forecast-csv und --forecast-graph gelten für eine Prognose; mit --vary "
                  "schreibt --sweep-csv die Stichproben.";
        return false;
    }
    if (parser.isSet(kNpBy) && !ParseYears(Bytes(parser.value(kNpBy)), r.npByYears)) {
        problem = Format("--np-by erwartet aufsteigende Jahre von 1900 bis 2199, durch Kommas "
                         "getrennt (zum Beispiel 2030,2035), nicht \"%s\".",
                         OneLineText(Bytes(parser.value(kNpBy))).c_str());
        return false;
    }
    if (!IsPicture(r.graphPath, problem) || !IsPicture(r.fanPath, problem)) return false;
    request = r;
    return true;
}

int ApplyWaterCutOption(CMorvekDoc& doc, const ForecastRequest& request, MessageSink& sink) {
    if (request.waterCutPath.empty()) return kExitOk;
    morvek::CaseInputs inputs = doc.m_Inputs;
    const int status = ExitStatusOf(ReadWaterCutTableInto(request.waterCutPath, inputs, sink));
    if (status == kExitOk) doc.m_Inputs.waterCutTable = std::move(inputs.waterCutTable);
    return status;
}

int CheckForecastRequest(const ForecastRequest& request, const SweepRequest& sweep,
                         const CMorvekDoc& doc) {
    if (!request.active) return kExitOk;
    std::string why = morvek::ForecastRefusal(doc.m_Inputs);
    if (why.empty() && sweep.Active()) {
        morvek::ForecastSweepOptions options;
        options.npByYears = request.npByYears;
        why = morvek::CheckForecastSweep(doc.m_Inputs, options);
    }
    if (why.empty()) return kExitOk;
    std::cerr << "--forecast: " << why << '\n';
    return kExitRefused;
}

int RunForecastStep(const ForecastRequest& request, const SweepRequest& sweep,
                    const CMorvekDoc& doc, float apiAsLoaded, bool answerYes, int argc,
                    char** argv, std::vector<std::string>& report) {
    // The forecast decides the oil-gravity question as the run before it.
    const morvek::CaseInputs in = ForecastInputsOf(doc, apiAsLoaded);
    const bool useApi = answerYes && in.initialGorSm3PerM3 != 0.0f;
    // A sweep without a result still leaves the forecast's report to write.
    int sweepStatus = kExitOk;
    if (sweep.Active()) {
        sweepStatus = RunForecastSweep(request, sweep, doc, in, useApi, argc, argv);
        if (sweepStatus != kExitOk && sweepStatus != kExitNoResult) return sweepStatus;
    }
    const morvek::ForecastResult result = morvek::ForecastCase(in, {useApi});
    morvek::ForecastOrigin origin;
    if (in.history && !in.history->rows.empty()) {
        origin.afterHistory = true;
        origin.historyName = in.history->fileName;
    }
    origin.aquifer = morvek::AquiferText(morvek::Aquifer::Of(in));
    report = morvek::ForecastReportLines(in, result, origin);
    if (!request.csvPath.empty() &&
        !WriteOutputFile(request.csvPath, morvek::ForecastCsvText(result)))
        return kExitFile;
    if (!request.graphPath.empty()) {
        const std::unique_ptr<QGuiApplication> app = ApplicationForDrawing(argc, argv);
        const ForecastChartData data = ForecastChartDataOf(doc.m_Feldname, doc.GetPathName(),
                                                           result, in.history ? &*in.history : nullptr);
        if (!WriteChart(
                request.graphPath,
                [&](Surface& dc) { DrawForecastPage(dc, data, ForecastScreenFrame()); },
                kForecastTitle))
            return kExitFile;
    }
    return result.steps.size() > 1 && sweepStatus == kExitOk ? kExitOk : kExitNoResult;
}
