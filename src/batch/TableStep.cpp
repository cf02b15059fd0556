#include "batch/TableStep.h"

#include "batch/CommandLineText.h"
#include "batch/ExitStatus.h"
#include "case/MorvekDoc.h"
#include "input/LabTableEntry.h"

namespace {

const QCommandLineOption& PvtOption() {
    static const QCommandLineOption option(
        "pvt-tabelle",
        "Take the fluid properties from a laboratory PVT table file (header line, then rows "
        "of pressure (bar), Bo, Rs, Bg, oil viscosity, gas viscosity) instead of the "
        "correlation.",
        "FILE");
    return option;
}

const QCommandLineOption& RelPermOption() {
    static const QCommandLineOption option(
        "relperm-tabelle",
        "Take krg and kro from a laboratory table file (header line, then rows of gas "
        "saturation, krg, kro) instead of the Corey model.",
        "FILE");
    return option;
}

}  // namespace

int ExitStatusOf(TableEntry entry) {
    switch (entry) {
        case TableEntry::Taken:
            return kExitOk;
        case TableEntry::Refused:
            return kExitRefused;
        case TableEntry::Unreadable:
            break;
    }
    return kExitFile;
}

std::vector<QCommandLineOption> TableCommandLineOptions() {
    return {PvtOption(), RelPermOption()};
}

bool TableOptionsOf(const QCommandLineParser& parser, TableOptions& out, std::string& problem) {
    return FileNameOption(parser, PvtOption().names().front(), out.pvtPath, problem) &&
           FileNameOption(parser, RelPermOption().names().front(), out.relPermPath, problem);
}

int ApplyTableOptions(CMorvekDoc& doc, const TableOptions& options, MessageSink& sink) {
    // Both or neither: a refused second table leaves the first untaken too.
    morvek::CaseInputs inputs = doc.m_Inputs;
    if (!options.pvtPath.empty()) {
        const int status = ExitStatusOf(ReadPvtTableInto(options.pvtPath, inputs, sink));
        if (status != kExitOk) return status;
    }
    if (!options.relPermPath.empty()) {
        const int status = ExitStatusOf(ReadRelPermTableInto(options.relPermPath, inputs, sink));
        if (status != kExitOk) return status;
    }
    doc.m_Inputs.pvtTable = std::move(inputs.pvtTable);
    doc.m_Inputs.relPermTable = std::move(inputs.relPermTable);
    return kExitOk;
}
