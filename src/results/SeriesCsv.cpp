#include "results/SeriesCsv.h"

#include "base/FileIO.h"
#include "base/Format.h"
#include "base/PrintableText.h"
#include "case/MorvekDoc.h"
#include "report/SeriesCsv.h"

std::string SeriesCsvText(const CMorvekDoc& doc) {
    return morvek::SeriesCsvText(doc.m_Graph, doc.ResultKind());
}

bool WriteSeriesCsv(const CMorvekDoc& doc, const std::string& path, std::string& error) {
    std::string problem;
    if (WriteFileAtomically(path, SeriesCsvText(doc), problem)) return true;
    error = Format("Die Datei %s kann nicht geschrieben werden.\n%s", DisplayPath(path).c_str(),
                   problem.c_str());
    return false;
}
