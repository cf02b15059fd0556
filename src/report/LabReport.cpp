#include "report/LabReport.h"

#include "base/Format.h"
#include "base/PrintableText.h"
#include "pvt/OilCorrelations.h"

namespace morvek {
namespace {

bool HasPvtTable(const CaseInputs& in) {
    return in.pvtTable && IsValidTable(*in.pvtTable);
}

bool HasRelPermTable(const CaseInputs& in) {
    return in.relPermTable && IsValidTable(*in.relPermTable);
}

void AppendPvtRows(ReportLines& lines, const LabPvtTable& table) {
    lines.push_back(" ");
    lines.push_back(Format("     PVT-TABELLE %s, WIE GELESEN:", OneLineText(table.fileName).c_str()));
    lines.push_back(" ");
    // The optional columns follow when the table has them.
    std::string head = "         DRUCK        BO        RS          BG   VIS.OEL   VIS.GAS";
    std::string units = "         (BAR)  (M3/SM3)  (SM3/M3)    (M3/SM3)      (CP)      (CP)";
    if (table.hasRv) {
        head += "          RV";
        units += "    (M3/SM3)";
    }
    if (table.hasBw) {
        head += "        BW";
        units += "  (M3/SM3)";
    }
    lines.push_back(head);
    lines.push_back(units);
    lines.push_back(" ");
    for (const LabPvtRow& r : table.rows) {
        std::string line =
            Format("     %9.6g %9.6g %9.6g %11.6g %9.6g %9.6g", double(r.pressureBar),
                   double(r.bo), double(r.rs), double(r.bg), double(r.oilViscosityCp),
                   double(r.gasViscosityCp));
        if (table.hasRv) line += Format(" %11.6g", double(r.rv));
        if (table.hasBw) line += Format(" %9.6g", double(r.bw));
        lines.push_back(line);
    }
}

void AppendRelPermRows(ReportLines& lines, const LabRelPermTable& table) {
    lines.push_back(" ");
    lines.push_back(
        Format("     TABELLE DER REL. PERMEABILITAETEN %s, WIE GELESEN:", OneLineText(table.fileName).c_str()));
    lines.push_back(" ");
    lines.push_back("         SG(-)    KRG(-)    KRO(-)");
    lines.push_back(" ");
    for (const LabRelPermRow& r : table.rows)
        lines.push_back(Format("     %9.6g %9.6g %9.6g", double(r.gasSaturation), double(r.krg),
                               double(r.kro)));
}

}  // namespace

bool UsesLabData(const CaseInputs& in) {
    return HasPvtTable(in) || HasRelPermTable(in) || in.poreCompressibilityPerBar != 0.0f ||
           in.waterCompressibilityPerBar != 0.0f;
}

void AppendLabDataReport(ReportLines& lines, const CaseInputs& in, bool withFluids) {
    if (!(withFluids ? UsesLabData(in) : HasRelPermTable(in))) return;
    lines.push_back(" ");
    lines.push_back("     HERKUNFT DER STOFFDATEN UND REL. PERMEABILITAETEN");
    lines.push_back(" ");
    if (withFluids) {
        if (HasPvtTable(in))
            lines.push_back(Format("     PVT-DATEN:             TABELLE %s (%zu ZEILEN)",
                                   OneLineText(in.pvtTable->fileName).c_str(), in.pvtTable->rows.size()));
        else
            lines.push_back(Format("     PVT-DATEN:             KORRELATION %s",
                                   CorrelationLiterature(CorrelationOf(in.correlation))));
    }
    if (HasRelPermTable(in))
        lines.push_back(Format("     REL.PERMEABILITAETEN:  TABELLE %s (%zu ZEILEN)",
                               OneLineText(in.relPermTable->fileName).c_str(), in.relPermTable->rows.size()));
    else
        lines.push_back(
            "     REL.PERMEABILITAETEN:  COREY-ANSATZ (COREY, PRODUCERS MONTHLY NOV. 1954)");
    if (withFluids) {
        lines.push_back(Format("     PORENKOMPRESSIBILITAET (1/BAR)  %12.3e",
                               double(in.poreCompressibilityPerBar)));
        lines.push_back(Format("     WASSERKOMPRESSIBILITAET (1/BAR) %12.3e",
                               double(in.waterCompressibilityPerBar)));
        if (HasPvtTable(in)) AppendPvtRows(lines, *in.pvtTable);
    }
    if (HasRelPermTable(in)) AppendRelPermRows(lines, *in.relPermTable);
}

std::string LabTableHeadingSuffix(const CaseInputs& in, bool withFluids) {
    // Short: the heading shares its line with the two axis titles; the
    // report names the tables.
    return (withFluids && HasPvtTable(in)) || HasRelPermTable(in) ? " (Tabellen)" : "";
}

}  // namespace morvek
