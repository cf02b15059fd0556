#pragma once
// Batch mode's forecast against time: --forecast runs it on the computed case
// (its German report replaces the prediction's on stdout or in --report),
// --forecast-csv and --forecast-graph write its steps and its graphs against
// time, --wasseranteil reads its water-cut table into the case (before --save,
// as the laboratory tables are). With --vary the uncertainty run takes the
// forecast as its run: --np-by adds cumulative oil by the end of given years,
// --fan-chart draws P90, P50 and P10 of oil rate and cumulative oil.

#include <string>
#include <vector>

class CMorvekDoc;
class MessageSink;
class QCommandLineParser;
struct SweepRequest;

struct ForecastRequest {
    bool active = false;
    std::string csvPath;
    std::string graphPath;
    std::string waterCutPath;
    std::vector<int> npByYears;
    std::string fanPath;
};

void AddForecastOptions(QCommandLineParser& parser);

// Reads and checks the options after parsing; false with a German message
// when one is refused (exit status 2).
bool ReadForecastOptions(const QCommandLineParser& parser, bool sweepActive,
                         ForecastRequest& request, std::string& problem);

// Reads --wasseranteil into the case: the exit status (0, 1 for a file that
// cannot be read, 2 for one refused); the case keeps its table on failure.
int ApplyWaterCutOption(CMorvekDoc& doc, const ForecastRequest& request, MessageSink& sink);

// Checks the case's forecast inputs before anything is saved or written:
// 0, or 2 with the German message on stderr.
int CheckForecastRequest(const ForecastRequest& request, const SweepRequest& sweep,
                         const CMorvekDoc& doc);

// Runs the forecast (or with --vary its uncertainty run) on the computed case
// and writes its outputs; report receives the forecast's report lines.
// Returns the exit status: 0, 1 when a file cannot be written, 3 when the
// forecast has no result.
int RunForecastStep(const ForecastRequest& request, const SweepRequest& sweep,
                    const CMorvekDoc& doc, float apiAsLoaded, bool answerYes, int argc,
                    char** argv, std::vector<std::string>& report);
