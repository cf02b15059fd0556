#include "results/SeriesCsv.h"

#include "base/FileIO.h"
#include "base/Format.h"
#include "base/PrintableText.h"
#include "report/SeriesCsv.h"

bool WriteSeriesCsv(const morvek::GraphSeries& graph, morvek::ResultKind kind,
                    const std::string& path, std::string& error) {
    std::string problem;
    if (WriteFileAtomically(path, morvek::SeriesCsvText(graph, kind), problem)) return true;
    error = Format("Die Datei %s kann nicht geschrieben werden.\n%s", DisplayPath(path).c_str(),
                   problem.c_str());
    return false;
}
