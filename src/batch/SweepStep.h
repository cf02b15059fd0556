#pragma once
// Batch mode's uncertainty run: --vary NAME=LOW:HIGH or NAME=LOW:MODE:HIGH
// (repeatable), --samples, --sampling, --seed, --threads, --abandon and the
// outputs --sweep-csv, --sweep-summary, --tornado and --distribution. The
// step runs after the case passed the checks of the data-entry dialog's OK
// button and was computed; its base case is the case as it then stands.

#include <string>
#include <vector>

#include "sweep/Sweep.h"
#include "sweep/Variation.h"

class CMorvekDoc;
class QCommandLineParser;

struct SweepRequest {
    std::vector<morvek::Variation> variations;
    morvek::SweepOptions options;
    std::string csvPath;
    std::string summaryPath;  // empty: the summary goes to stderr
    std::string tornadoPath;
    std::string distributionPath;

    bool Active() const { return !variations.empty(); }
};

void AddSweepOptions(QCommandLineParser& parser);

// Reads and checks the options after parsing; false with a German message
// when one is refused (the command line is then wrong: exit status 2).
bool ReadSweepOptions(const QCommandLineParser& parser, SweepRequest& request,
                      std::string& problem);

// Runs the sweep on the computed case and writes its outputs; returns batch
// mode's exit status (0; 1 when a file cannot be written, the summary to
// stderr included; 3 when no sample had a result, with every output written). apiAsLoaded is
// the case's oil gravity before the run's oil-gravity question, answerYes the
// answer every sample's question gets, as in a batch run of the sample alone.
int RunSweepStep(const SweepRequest& request, const CMorvekDoc& doc, float apiAsLoaded,
                 bool answerYes, int argc, char** argv);
