#include "report/Report.h"

#include <array>
#include <iterator>

#include "base/FixedText.h"
#include "base/Format.h"
#include "base/PrintableText.h"
#include "base/RunValues.h"
#include "model/MeasuredRows.h"
#include "pvt/GasComponents.h"
#include "pvt/GasDeviation.h"
#include "pvt/OilCorrelations.h"

namespace morvek {
namespace {

// --- Head ---------------------------------------------------------------------------------
constexpr double kHeadPsiPerBar = 14.503;  // psia to bar in the report head
constexpr double kRankineOffset = 492.0;
constexpr double kKelvinOffset = 273.0;
constexpr double kOilDensityNumerator = 141.34435;  // t/m3 from API, not 141.5

double RankineToKelvin(double r) {
    return (r - kRankineOffset) * 5.0 / 9.0 + kKelvinOffset;
}

// --- Prediction ---------------------------------------------------------------------------
constexpr int kRowEverySteps = 10;
constexpr int kPointEverySteps = 5;
constexpr double kMaxPlainViscosityCp = 10000.0;  // larger ones print in exponent form
constexpr double kSuspectViscosityCp = 2000.0;
// The balance ratio of the last step outside these bounds hints at a wrong
// bubble-point pressure.
constexpr double kBalanceRatioLow = 0.8;
constexpr double kBalanceRatioHigh = 1.3;
// Head lines, one row per ten of at most about 500 steps and the closing lines.
constexpr size_t kExpectedReportLines = 80;

// A table row "%11.1f %7.2f %9.4f %7.1f %6.3f %4.2f %6.3f %6.1f %8.5f" with
// pressure, Np, Gp in million sm3, GOR, So, Bo, viscosity, Rs and krg/kro.
struct RowColumn {
    int width, precision;
};
constexpr RowColumn kRowColumns[] = {{11, 1}, {7, 2}, {9, 4}, {7, 1}, {6, 3},
                                     {4, 2},  {6, 3}, {6, 1}, {8, 5}};
constexpr size_t kRowColumnCount = std::size(kRowColumns);
constexpr size_t kPlainRowLength = 75;

std::string PlainRow(const std::array<double, kRowColumnCount>& values) {
    std::string row;
    row.reserve(kPlainRowLength);
    for (size_t i = 0; i < kRowColumnCount; ++i) {
        if (i > 0) row += ' ';
        AppendFixed(row, values[i], kRowColumns[i].width, kRowColumns[i].precision);
    }
    return row;
}

void AppendEvent(ReportLines& lines, const PredictionEvent& e) {
    switch (e.kind) {
        case PredictionEventKind::BubblePointTooLow:
            lines.push_back(" Fehler Rs=Initiales Rs,deshalb dd<0");
            lines.push_back(" Gasentlösungsdruck auf Initialdruck erhöhen");
            if (e.value > kSuspectViscosityCp)
                lines.push_back(Format(" Ölviskosität betägt %g cp  !!!", e.value));
            break;
        case PredictionEventKind::NegativeOilProduction:
            lines.push_back(Format(" Fehler dnp:%3.2f<0 ", e.value));
            break;
        case PredictionEventKind::OilInPlaceExceeded:
            lines.push_back(
                Format("\nABBRUCH Kum.Oelprod.:%7.1f > OOIP:%7.1f\n", e.value, e.value2));
            break;
        case PredictionEventKind::LiquidBelowConnateWater:
            break;  // a developer's note, not a line of the report
    }
}

// Where a laboratory PVT table ended the run, with the last state.
void AppendTableEnd(ReportLines& lines, const PredictionResult& r) {
    if (r.stopReason == StopReason::OutsidePvtTable) {
        lines.push_back(Format(" Initialdruck außerhalb der PVT-Tabelle (%.1f bis %.1f bar):",
                               double(r.lowestTablePressureBar),
                               double(r.highestTablePressureBar)));
        lines.push_back(" keine Berechnung (die Tabelle wird nicht extrapoliert)");
    } else if (r.stopReason == StopReason::LowestTablePressure && !r.steps.empty()) {
        const PredictionStep& last = r.steps.back();
        lines.push_back(Format(" Ende der PVT-Tabelle bei %.1f bar: Berechnung beendet",
                               double(last.pressureBar)));
        lines.push_back(Format(" (Kum.Oelprod.:%9.2f, Entoelungsgrad:%6.2f Prozent, GOEV:%7.1f)",
                               last.np1000m3, 100.0 * last.np1000m3 / r.ooip1000m3,
                               last.gorSm3PerM3));
    }
}

}  // namespace

void AppendReportHead(ReportLines& lines, const CaseInputs& in, const GasMixture& g) {
    const double temperaturR = in.temperatureC * 9.0 / 5.0 + kRankineOffset;
    const double tpcK = RankineToKelvin(g.tpcRankine);
    const double tpcKorrK = RankineToKelvin(g.tpcCorrectedRankine);
    const double tpr = temperaturR / g.tpcCorrectedRankine;
    const double molgewicht = g.molecularWeight;
    // The Lee constants of the gas viscosity, as the run's fluids take them.
    const GasAtTemperature gas(in.temperatureC, g.ppcCorrectedPsia, g.tpcCorrectedRankine,
                               molgewicht, g.standardDensityKgM3);
    const double leeK = gas.LeeK(), leeX = gas.LeeX(), leeY = gas.LeeY();

    auto add = [&lines](std::string line) { lines.push_back(std::move(line)); };
    add(Format("     MORVEK BERECHNUNG FELD: %s ", OneLineText(in.fieldName).c_str()));
    add(" ");
    add("     GASEIGENSCHAFTEN: ");
    add(" ");
    add(Format("     TEMPERATUR  (GRAD C): %6.1f", double(in.temperatureC)));
    add(" ");
    add("     KOMPONENTE(PROZENT)     EINGEGEBEN   KORRIGIERT");
    add(" ");
    for (int i = 0; i < kGasComponentCount; ++i)
        add(Format("     %s  %12.2f%12.2f", GasComponentTable[i].name, g.enteredPercent[i],
                   g.normalisedPercent[i]));
    add(" ");
    add("     KONSTANTE ZUR BERECHNUNG DER VISKOSITAET NACH LEE");
    add(" ");
    // At or below absolute zero (-273.3 deg C) the constants have no value;
    // the head keeps its line count.
    if (const RunQuantity lee = FirstMeaningless({{RunQuantity::LeeConstants, leeK},
                                                  {RunQuantity::LeeConstants, leeX},
                                                  {RunQuantity::LeeConstants, leeY}});
        lee != RunQuantity::None)
        add(NoMeaningfulResult(RunQuantityName(lee)));
    else
        add(Format("     K: %7.3f         X: %5.3f         Y: %5.3f", leeK, leeX, leeY));
    add(" ");
    add("     PSEUDOKRITISCHE WERTE FUER DRUCK UND TEMPERATUR");
    add(" ");
    add(Format("     DRUCK(BAR)      %27.2f", g.ppcPsia / kHeadPsiPerBar));
    add(Format("     TEMPERATUR(GRAD K)     %20.2f ", tpcK));
    add(" ");
    add("     NACH KORREKTUR WEGEN CO2 UND H2S");
    add(" ");
    add(Format("     DRUCK(BAR)       %26.2f ", g.ppcCorrectedPsia / kHeadPsiPerBar));
    add(Format("     TEMPERATUR(GRAD K)     %20.2f ", tpcKorrK));
    add(Format("     TEMPERATURKORREKTUR(GRAD K) %15.2f ", tpcK - tpcKorrK));
    add(Format("     PSEUDOREDUZIERTE TEMPERATUR(-) %12.2f ", tpr));
    add(Format("     MOLEKULARGEWICHT(-)     %19.2f ", molgewicht));
    add(Format("     GASDICHTE U. NORMALBED.(KG/M*3) %11.3f ", g.standardDensityKgM3));
    add(Format("     REL. GASDICHTELBED.(LUFT=1) %15.3f ", g.relativeDensity));
    add(" ");
    add(Format("     ORIGINAL-OIL-IN-PLACE(1000M3) %13.1f ", double(in.ooip1000m3)));
    add(Format("     INITIALDRUCK(BAR)           %15.1f ", double(in.initialPressureBar)));
    add(Format("     GASENTLOESUNGSDRUCK(BAR)    %15.1f ", double(in.bubblePointPressureBar)));
    add(Format("     OELDICHTE(GRAD API)         %15.1f ", double(in.apiGravity)));
    add(Format("     OELDICHTE(T/M3)             %15.3f ",
               kOilDensityNumerator / (double(in.apiGravity) + 131.5)));
    add(" ");
    add(" ");
    add(Format("     HAFTWASSERSAETTIGUNG(-)     %15.2f ", double(in.connateWaterSaturation)));
    add(Format("     KRITISCHE GASSAETTIGUNG(-)  %15.2f ", double(in.criticalGasSaturation)));
    add(Format("     MAX.REL.PERMIABILITAET OEL(-)%14.2f ", double(in.kroMax)));
    add(Format("     MAX.REL.PERMIABILITAET GAS(-)%14.2f ", double(in.krgMax)));
    add(Format("     KORRELATIONSMETHODE PVT OEL %s", CorrelationReportName(in.correlation)));
    add(Format("     PORENVOL.GASKAPPE/PORENVOL.OEL(-) %9.2f", double(in.gasCapRatio)));
    if (in.initialGorSm3PerM3 > 0)
        add(Format("     INITALES GOEV VORGEGEBEN  (-)%14.2f", double(in.initialGorSm3PerM3)));
    else
        add("     INITALES GOEV VORGEGEBEN  (-)");
    if (in.oilViscosityAtBubblePointCp > 0)
        add(Format("     OELVISKOSITAET BEI %5.1f BAR (CP) %9.3f",
                   double(in.bubblePointPressureBar), double(in.oilViscosityAtBubblePointCp)));
    else
        add(Format("     OELVISKOSITAET BEI %5.1f BAR (CP)", double(in.bubblePointPressureBar)));
}

const char* RunQuantityName(RunQuantity q) {
    switch (q) {
        case RunQuantity::None: return "";
        case RunQuantity::Rs: return "Rs";
        case RunQuantity::Bo: return "Bo";
        case RunQuantity::Co: return "Co";
        case RunQuantity::OilViscosity: return "Ölviskosität";
        case RunQuantity::Bg: return "Bg (Realgasfaktor)";
        case RunQuantity::GasViscosity: return "Gasviskosität";
        case RunQuantity::GasCap: return "Gaskappe";
        case RunQuantity::OilProduction: return "Ölproduktion";
        case RunQuantity::GasProduction: return "Gasproduktion";
        case RunQuantity::Gor: return "GOEV";
        case RunQuantity::OilSaturation: return "Ölsättigung";
        case RunQuantity::KrgKro: return "KRG/KRO";
        case RunQuantity::OilImmobile: return "KRG/KRO (kro = 0: das Öl fließt nicht mehr)";
        case RunQuantity::VaporisedOil:
            return "Rv (Rv·Rs der PVT-Tabelle muß unter 1 liegen)";
        case RunQuantity::LeeConstants: return "Viskositätskonstanten nach Lee";
    }
    return "";
}

std::string NoMeaningfulResultText(RunQuantity q, float pressureBar) {
    return Format("Keine sinnvolle Berechnung möglich: %s bei %.1f bar", RunQuantityName(q),
                  double(pressureBar));
}

std::string PredictionFailureText(const PredictionResult& r) {
    if (r.failedQuantity != RunQuantity::None)
        return NoMeaningfulResultText(r.failedQuantity, r.failedPressureBar);
    if (PredictionPointCount(r) <= 1) return "Die Vorhersage endet vor ihrem ersten Ergebnis.";
    // The report's line of a balance ratio without a value, without its blank.
    if (!IsMeaningful(r.balanceRatio)) return NoMeaningfulValueText("Materialbilanzfehler");
    return {};
}

int PredictionPointCount(const PredictionResult& result) {
    if (!result.initialStateTaken) return 0;
    int points = 1;
    for (const PredictionStep& s : result.steps)
        if (s.index > 0 && s.index % kPointEverySteps == 0 && points < kSeriesLength) ++points;
    return points;
}

bool PredictionHasResult(const PredictionResult& result) {
    return PredictionPointCount(result) > 1 && result.failedQuantity == RunQuantity::None &&
           IsMeaningful(result.balanceRatio);
}

void AppendPredictionReport(ReportLines& lines, const PredictionResult& r) {
    lines.reserve(lines.size() + kExpectedReportLines);
    if (r.initialStateTaken)
        lines.push_back(Format("     INITIALE GASKAPPE (MIO SM3):%15.2f ", r.initialGasCapMioSm3));
    size_t e = 0;
    for (const PredictionStep& s : r.steps) {
        for (; e < r.events.size() && r.events[e].step == s.index; ++e)
            AppendEvent(lines, r.events[e]);
        if (s.index == 0) {
            lines.push_back(" ");
            lines.push_back(" ");
            lines.push_back(
                "      DRUCK  OELPROD.  GASPROD   GOEV   SO    BO    NUO    RS    KRG/KRO");
            lines.push_back(
                "      (BAR)  (1000M3)  (Mio M3) (M3/M3) (-)   (-)   (CP) (M3/M3)  (-)");
            lines.push_back(" ");
        }
        if (s.index % kRowEverySteps == 0) {
            if (s.oilViscosityCp < kMaxPlainViscosityCp)
                lines.push_back(PlainRow({double(s.pressureBar), s.np1000m3, s.gp1000Sm3 / 1000.0,
                                          s.gorSm3PerM3, s.oilSaturation, s.bo, s.oilViscosityCp,
                                          s.rs, s.krgKro}));
            else
                lines.push_back(Format("%11.1f %7.2f %9.4f %7.1e %6.3f %4.2f %8.1e %6.1f %8.5f",
                                       double(s.pressureBar), s.np1000m3, s.gp1000Sm3 / 1000.0,
                                       s.gorSm3PerM3, s.oilSaturation, s.bo, s.oilViscosityCp, s.rs,
                                       s.krgKro));
        }
    }
    // The messages of the step that ended the run.
    for (; e < r.events.size(); ++e) AppendEvent(lines, r.events[e]);
    if (r.failedQuantity != RunQuantity::None)
        lines.push_back(NoMeaningfulResult(RunQuantityName(r.failedQuantity), r.failedPressureBar));
    AppendTableEnd(lines, r);

    // A step whose expansion was zero below pi leaves the ratio undefined.
    const double f = r.balanceRatio;
    if (!IsMeaningful(f)) {
        lines.push_back(NoMeaningfulResult("Materialbilanzfehler"));
    } else if (f < kBalanceRatioLow || f > kBalanceRatioHigh) {
        lines.push_back(Format(" Materialbilanzfehler:%6.1f Prozent", (1.0 - f) * 100.0));
        lines.push_back(" Gasentlösungsdruck zu niedrig?");
    }
    if (PredictionHasResult(r)) lines.push_back(" Morvek Berechnung abgeschlossen");
}

void AppendPvtTableReport(ReportLines& lines, const PvtTableResult& table,
                          const std::vector<ShortRelPermRow>& shortRelPerm) {
    for (const PvtTableRow& row : table.rows) {
        // A laboratory table's grid begins at its lowest pressure.
        if (row.pressureBar == table.gridStepBar ||
            (table.fromLabTable && &row == &table.rows.front())) {
            for (const char* line : {" ", " ", " ", " ", "        PVT DATEN", " "})
                lines.push_back(line);
            if (table.fromLabTable)
                lines.push_back(Format("   Rs und Bo nach PVT-Tabelle %s (%d Zeilen)",
                                       OneLineText(table.labTableName).c_str(), table.labTableRows));
            else
                lines.push_back(
                    Format("   Rs und Bo nach %s", CorrelationLiterature(table.correlation)));
            lines.push_back(" ");
            lines.push_back("   DRUCK    Rs       Bo   VIS.OEL     Co       Bg      VIS.GAS");
            lines.push_back("   (BAR) (NM3/M3) (M3/SM3   (CP)   (1/BAR)  (M3/SM3)     (CP)");
            lines.push_back(" ");
        }
        if (row.failedQuantity != RunQuantity::None) {
            lines.push_back(NoMeaningfulResult(RunQuantityName(row.failedQuantity), row.pressureBar));
            continue;
        }
        lines.push_back(Format("%7.1f  %7.2f %7.3f %7.3f %10.3e %8.5f %9.5f",
                               double(row.pressureBar), row.rs, row.bo, row.oilViscosityCp, row.co,
                               row.bg, row.gasViscosityCp));
    }
    for (const char* line : {" ", " ", " OELSAETTIGUNG MIT RELATIVE PERMEABILITAETEN",
                             "     SO(-)   KRO(-)   KRG(-)      KRGO(-)", " "})
        lines.push_back(line);
    for (const ShortRelPermRow& row : shortRelPerm)
        lines.push_back(Format(" %7.2f  %9.3g  %7.3f   %10.6g", row.oilSaturation, row.kro, row.krg,
                               row.krgKro));
    lines.push_back("Berechnung der PVT-Daten abgeschlossen");
}

ReportLines RelPermTableReport(const RelPermTableResult& table, const std::string& fieldName,
                               const ReportLines& sourceLines) {
    ReportLines lines;
    lines.push_back(Format(" FELD:%s", OneLineText(fieldName).c_str()));
    lines.push_back(" ");
    lines.push_back(Format(" Haftwassersättigung:    %5.2f", double(table.connateWaterSaturation)));
    lines.push_back(Format(" Kritische Gassättigung: %5.2f", double(table.criticalGasSaturation)));
    lines.insert(lines.end(), sourceLines.begin(), sourceLines.end());
    lines.push_back(" ");
    lines.push_back(" OELSAETTIGUNG SO MIT RELATIVE PERMEABILITAETEN  GASSAETTIGUNG");
    lines.push_back("    SO(-)    KRO(-)   KRG(-)    KRG/KRO(-)          SG(-)");
    lines.push_back(" ");
    for (const RelPermTableRow& row : table.rows)
        lines.push_back(Format(" %7.2f  %9.3g  %7.3f   %10.4g  %13.2f", double(row.oilSaturation),
                               double(row.kro), double(row.krg), row.krgKro,
                               double(row.gasSaturation)));
    return lines;
}

std::string ViscosityCalibrationNote(const ViscosityCalibration& c) {
    return Format(
        "\n"
        "\tVorgegeben:\n"
        "\tViskositaet(cp):%g bei %g bar\n"
        "\tOeldichte API:  %g\n"
        "\tOeldichte API:  %g fuer die Viskositaetsberechnung\n",
        double(c.measuredCp), double(c.bubblePointPressureBar), double(c.apiGravity),
        double(c.apiForViscosity));
}

std::string BelowConnateWaterNote(const PredictionEvent& e, float swi, float sgc, int count) {
    std::string note = Format("so:%5.2f< 0 Krg:%5.3f swi:%4.1f sgc:%5.1f sle:%5.2f\n", e.value,
                              e.value2, double(swi), double(sgc), e.value3);
    if (count > 1) note += Format("(%d-mal in dieser Berechnung)\n", count);
    return note;
}

}  // namespace morvek
