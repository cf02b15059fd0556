#include "batch/SweepStep.h"

#include <QCommandLineParser>
#include <charconv>
#include <iostream>
#include <memory>

#include "base/AtomicFileWriter.h"
#include "base/Format.h"
#include "base/NumberText.h"
#include "batch/CommandLineText.h"
#include "batch/DrawingApplication.h"
#include "batch/ExitStatus.h"
#include "batch/SampleRun.h"
#include "case/MorvekDoc.h"
#include "input/CaseRefusal.h"
#include "sweep/SweepText.h"
#include "sweep/Tornado.h"
#include "views/SweepCharts.h"
#include "views/qt/ChartExport.h"

namespace {

constexpr uint64_t kMaxSamples = 1000000000;
constexpr float kMinAbandonBar = 1.0f;  // the prediction ends at 1 bar
constexpr float kMaxAbandonBar = 1000.0f;

const QString kVary = QStringLiteral("vary");
const QString kSamples = QStringLiteral("samples");
const QString kSampling = QStringLiteral("sampling");
const QString kSeed = QStringLiteral("seed");
const QString kThreads = QStringLiteral("threads");
const QString kAbandon = QStringLiteral("abandon");
const QString kCsv = QStringLiteral("sweep-csv");
const QString kSummary = QStringLiteral("sweep-summary");
const QString kTornado = QStringLiteral("tornado");
const QString kDistribution = QStringLiteral("distribution");

// A whole decimal number within [lo, hi], nothing else on the line.
bool ParseCount(const std::string& text, uint64_t lo, uint64_t hi, uint64_t& value) {
    uint64_t v = 0;
    const char* end = text.data() + text.size();
    const std::from_chars_result r = std::from_chars(text.data(), end, v);
    if (text.empty() || r.ec != std::errc() || r.ptr != end || v < lo || v > hi) return false;
    value = v;
    return true;
}

bool WriteChart(const std::string& path, const PageDrawing& draw, const std::string& title) {
    std::string error;
    if (!ExportDrawing(draw, title, path, error)) {
        std::cerr << error << '\n';
        return false;
    }
    return true;
}

}  // namespace

void AddSweepOptions(QCommandLineParser& parser) {
    parser.addOption({kVary,
                      "Uncertainty run: vary a number input of the case uniformly between LOW "
                      "and HIGH, or triangularly with the most likely value MODE; repeatable. "
                      "NAME as for --set (m_OOIP, m_Sgc, m_Gas[3], ...) or the field's English "
                      "name (ooip_1000m3).",
                      "NAME=LOW[:MODE]:HIGH"});
    parser.addOption({kSamples, "Samples of the uncertainty run (default 1000).", "N"});
    parser.addOption({kSampling,
                      "Sampling of the uncertainty run: lhs (Latin hypercube, default) or mc "
                      "(Monte Carlo).",
                      "lhs|mc"});
    parser.addOption({kSeed, "Seed of the uncertainty run's random numbers (default 1).", "S"});
    parser.addOption(
        {kThreads, "Run the samples on at most N threads (default: every core).", "N"});
    parser.addOption({kAbandon,
                      "Also give cumulative oil and recovery factor when the pressure reaches "
                      "BAR (abandonment pressure).",
                      "BAR"});
    parser.addOption(
        {kCsv, "Write one line per sample (semicolons, decimal point) into FILE.", "FILE"});
    parser.addOption({kSummary,
                      "Write the German summary of the uncertainty run into FILE instead of "
                      "stderr.",
                      "FILE"});
    parser.addOption({kTornado,
                      "Draw the tornado chart of the recovery factor into FILE (.png, .svg or "
                      ".pdf).",
                      "FILE"});
    parser.addOption({kDistribution,
                      "Draw the S-curve of the recovery factor with P90, P50 and P10 into FILE "
                      "(.png, .svg or .pdf).",
                      "FILE"});
}

bool ReadSweepOptions(const QCommandLineParser& parser, SweepRequest& request,
                      std::string& problem) {
    SweepRequest r;
    for (const QString& text : parser.values(kVary)) {
        morvek::Variation v;
        if (!morvek::ParseVariation(Bytes(text), v, problem)) return false;
        r.variations.push_back(v);
    }
    problem = morvek::CheckVariations(r.variations);
    if (!problem.empty()) {
        problem = "--vary " + problem;
        return false;
    }
    for (const QString& name :
         {kSamples, kSampling, kSeed, kThreads, kAbandon, kCsv, kSummary, kTornado, kDistribution})
        if (parser.isSet(name) && r.variations.empty()) {
            problem = Format("--%s verlangt mindestens ein --vary.", Bytes(name).c_str());
            return false;
        }

    morvek::SamplingPlan& plan = r.options.plan;
    if (parser.isSet(kSamples) &&
        !ParseCount(Bytes(parser.value(kSamples)), 1, kMaxSamples, plan.samples)) {
        problem = Format("--samples erwartet eine ganze Zahl von 1 bis %llu, nicht \"%s\".",
                         static_cast<unsigned long long>(kMaxSamples),
                         Bytes(parser.value(kSamples)).c_str());
        return false;
    }
    if (parser.isSet(kSampling)) {
        const QString s = parser.value(kSampling).toLower();
        if (s != "lhs" && s != "mc") {
            problem = "--sampling erwartet lhs (Latin Hypercube) oder mc (Monte Carlo).";
            return false;
        }
        plan.sampling = s == "mc" ? morvek::Sampling::MonteCarlo : morvek::Sampling::LatinHypercube;
    }
    if (parser.isSet(kSeed) && !ParseCount(Bytes(parser.value(kSeed)), 0, UINT64_MAX, plan.seed)) {
        problem =
            Format("--seed erwartet eine ganze Zahl von 0 bis %llu, nicht \"%s\".",
                   static_cast<unsigned long long>(UINT64_MAX), Bytes(parser.value(kSeed)).c_str());
        return false;
    }
    if (parser.isSet(kThreads)) {
        uint64_t threads = 0;
        if (!ParseCount(Bytes(parser.value(kThreads)), 1, 1024, threads)) {
            problem = Format("--threads erwartet eine ganze Zahl von 1 bis 1024, nicht \"%s\".",
                             Bytes(parser.value(kThreads)).c_str());
            return false;
        }
        r.options.threads = static_cast<int>(threads);
    }
    if (parser.isSet(kAbandon)) {
        float bar = 0.0f;
        if (!ParseFloatStrict(Bytes(parser.value(kAbandon)), bar) || bar < kMinAbandonBar ||
            bar > kMaxAbandonBar) {
            problem = Format("--abandon erwartet einen Druck von %g bis %g bar, nicht \"%s\".",
                             double(kMinAbandonBar), double(kMaxAbandonBar),
                             Bytes(parser.value(kAbandon)).c_str());
            return false;
        }
        r.options.abandonmentPressureBar = bar;
    }
    problem = morvek::CheckSummaryMemory(r.options, morvek::MemoryOfComputerBytes());
    if (!problem.empty()) return false;
    if (!FileNameOption(parser, kCsv, r.csvPath, problem) ||
        !FileNameOption(parser, kSummary, r.summaryPath, problem) ||
        !FileNameOption(parser, kTornado, r.tornadoPath, problem) ||
        !FileNameOption(parser, kDistribution, r.distributionPath, problem))
        return false;
    for (const std::string* chart : {&r.tornadoPath, &r.distributionPath})
        if (!chart->empty() && !IsDrawingFileName(*chart)) {
            problem = Format(
                "Die Grafik kann nicht als %s gespeichert werden: erlaubt sind Dateien mit der "
                "Endung .png, .svg oder .pdf.",
                chart->c_str());
            return false;
        }
    request = r;
    return true;
}

int RunSweepStep(const SweepRequest& request, const CMorvekDoc& doc, float apiAsLoaded,
                 bool answerYes, int argc, char** argv) {
    if (!request.Active()) return kExitOk;
    morvek::CaseInputs base = doc.m_Inputs;
    // Each sample asks the oil-gravity question anew, as a batch run of it
    // alone would, from the gravity the case file holds.
    base.apiGravity = apiAsLoaded;
    morvek::SweepOptions options = request.options;
    if (const std::string why = morvek::CheckAbandonment(base, options.abandonmentPressureBar);
        !why.empty()) {
        std::cerr << "--abandon: " << why << '\n';
        return kExitRefused;
    }
    options.run.useApiFromInitialGor = answerYes && base.initialGorSm3PerM3 != 0.0f;
    options.check = RefusalOfCase;
    const bool abandonment = options.HasAbandonment();

    morvek::SweepResult result;
    if (!RunWithSampleCsv(request.csvPath, morvek::SweepCsvHeader(request.variations, abandonment),
                          [&](AtomicFileWriter* csv) {
                              morvek::SweepSink sink;
                              if (csv)
                                  sink = [&](const morvek::SweepRow& row) {
                                      csv->Append(morvek::SweepCsvLine(row, abandonment));
                                  };
                              result = morvek::Sweep(base, request.variations, options, sink);
                          }))
        return kExitFile;

    const morvek::TornadoResult tornado = morvek::Tornado(base, request.variations, options);
    morvek::SweepReport report{doc.m_Feldname, request.variations, options, std::move(result),
                               &tornado};
    if (!DeliverSummary(request.summaryPath, morvek::SweepSummaryText(report))) return kExitFile;
    const int status = SampleRunStatus(report.result.completed, report.result.failedCount);

    if (request.tornadoPath.empty() && request.distributionPath.empty()) return status;
    const std::unique_ptr<QGuiApplication> app = ApplicationForDrawing(argc, argv);
    const SweepChartData charts =
        SweepChartDataOf(doc.m_Feldname, doc.GetPathName(), tornado, report.result);
    if (!request.tornadoPath.empty() &&
        !WriteChart(
            request.tornadoPath,
            [&](Surface& dc) {
                DrawTornadoPage(dc, charts, ScreenFrame(charts.tornado.bars.size()));
            },
            kTornadoTitle))
        return kExitFile;
    if (!request.distributionPath.empty() &&
        !WriteChart(
            request.distributionPath,
            [&](Surface& dc) { DrawDistributionPage(dc, charts, ScreenFrame()); },
            kDistributionTitle))
        return kExitFile;
    return status;
}
