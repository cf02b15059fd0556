// Gas properties of the composition and the head of every report.
// Kay's mixing rule for the pseudo-critical values; Wichert and Aziz (1972)
// for the correction of sour gas; Lee, Gonzalez and Eakin (1966) for the gas
// viscosity constants the head shows.

#include <cmath>

#include "base/Format.h"
#include "base/PrintableText.h"
#include "case/MorvekDoc.h"
#include "case/RunValues.h"
#include "pvt/GasComponents.h"

namespace {

constexpr double kPsiPerBar = 14.503;            // psia to bar in the report head
constexpr double kMolWeightAir = 28.964;
// 10330 kp/m2 is 1.033 at; 231504 is 848 kp m/(kmol K) times 273 K.
constexpr double kNormPressureKpM2 = 10330.0;
constexpr double kGasConstantTimesNormT = 231504.0;
// The program's temperature conventions: 492 and 273, not 491.67 and 273.15.
constexpr double kRankineOffset = 492.0;
constexpr double kKelvinOffset = 273.0;
constexpr double kOilDensityNumerator = 141.34435;  // t/m3 from API, not 141.5

double RankineToKelvin(double r) { return (r - kRankineOffset) * 5.0 / 9.0 + kKelvinOffset; }

}  // namespace

void CMorvekDoc::Gasprop() {
    m_Text.clear();

    double entered[kGasComponents];
    double sum = 0.0;
    for (int i = 0; i < kGasComponents; ++i) {
        entered[i] = m_Gas[i];
        sum += entered[i];
    }
    double corrected[kGasComponents];
    for (int i = 0; i < kGasComponents; ++i) corrected[i] = entered[i] * 100.0 / sum;

    double molgewicht = 0.0, ppc = 0.0, tpc = 0.0;
    for (int i = 0; i < kGasComponents; ++i) {
        const GasComponent& c = GasComponentTable[i];
        molgewicht += c.molecularWeight * corrected[i] / 100.0;
        ppc += c.criticalPressure * corrected[i] / 100.0;
        tpc += c.criticalTemperature * corrected[i] / 100.0;
    }
    m_GasNormDichte = molgewicht * kNormPressureKpM2 / kGasConstantTimesNormT;
    m_GasRelDichte = molgewicht / kMolWeightAir;
    m_Molgewicht = molgewicht;
    m_Ppc = ppc;
    m_Tpc = tpc;
    CorrectPseudoCritical();

    const double temperaturR = m_Temperatur * 9.0 / 5.0 + kRankineOffset;
    const double tpcK = RankineToKelvin(m_Tpc);
    const double tpcKorrK = RankineToKelvin(m_TpcKorr);
    const double tpr = temperaturR / m_TpcKorr;

    const double leeK = (9.4 + 0.02 * molgewicht) * std::pow(temperaturR, 1.5) /
                        (209.0 + 19.0 * molgewicht + temperaturR);
    const double leeX = 3.5 + 986.0 / temperaturR + 0.01 * molgewicht;
    const double leeY = 2.4 - 0.2 * leeX;

    auto add = [this](std::string line) { m_Text.push_back(std::move(line)); };
    add(Format("     MORVEK BERECHNUNG FELD: %s ", OneLineText(m_Feldname).c_str()));
    add(" ");
    add("     GASEIGENSCHAFTEN: ");
    add(" ");
    add(Format("     TEMPERATUR  (GRAD C): %6.1f", double(m_Temperatur)));
    add(" ");
    add("     KOMPONENTE(PROZENT)     EINGEGEBEN   KORRIGIERT");
    add(" ");
    for (int i = 0; i < kGasComponents; ++i)
        add(Format("     %s  %12.2f%12.2f", GasComponentTable[i].name, entered[i], corrected[i]));
    add(" ");
    add("     KONSTANTE ZUR BERECHNUNG DER VISKOSITAET NACH LEE");
    add(" ");
    // At or below absolute zero (-273.3 deg C) the constants have no value;
    // the head keeps its line count.
    if (FirstMeaningless({{"K", leeK}, {"X", leeX}, {"Y", leeY}}) != nullptr)
        add(NoMeaningfulResult("Viskositätskonstanten nach Lee"));
    else
        add(Format("     K: %7.3f         X: %5.3f         Y: %5.3f", leeK, leeX, leeY));
    add(" ");
    add("     PSEUDOKRITISCHE WERTE FUER DRUCK UND TEMPERATUR");
    add(" ");
    add(Format("     DRUCK(BAR)      %27.2f", m_Ppc / kPsiPerBar));
    add(Format("     TEMPERATUR(GRAD K)     %20.2f ", tpcK));
    add(" ");
    add("     NACH KORREKTUR WEGEN CO2 UND H2S");
    add(" ");
    add(Format("     DRUCK(BAR)       %26.2f ", m_PpcKorr / kPsiPerBar));
    add(Format("     TEMPERATUR(GRAD K)     %20.2f ", tpcKorrK));
    add(Format("     TEMPERATURKORREKTUR(GRAD K) %15.2f ", tpcK - tpcKorrK));
    add(Format("     PSEUDOREDUZIERTE TEMPERATUR(-) %12.2f ", tpr));
    add(Format("     MOLEKULARGEWICHT(-)     %19.2f ", molgewicht));
    add(Format("     GASDICHTE U. NORMALBED.(KG/M*3) %11.3f ", m_GasNormDichte));
    add(Format("     REL. GASDICHTELBED.(LUFT=1) %15.3f ", m_GasRelDichte));
    add(" ");
    add(Format("     ORIGINAL-OIL-IN-PLACE(1000M3) %13.1f ", double(m_OOIP)));
    add(Format("     INITIALDRUCK(BAR)           %15.1f ", double(m_Initialdruck)));
    add(Format("     GASENTLOESUNGSDRUCK(BAR)    %15.1f ", double(m_Entloesungsdruck)));
    add(Format("     OELDICHTE(GRAD API)         %15.1f ", double(m_API)));
    add(Format("     OELDICHTE(T/M3)             %15.3f ",
               kOilDensityNumerator / (double(m_API) + 131.5)));
    add(" ");
    add(" ");
    add(Format("     HAFTWASSERSAETTIGUNG(-)     %15.2f ", double(m_Swi)));
    add(Format("     KRITISCHE GASSAETTIGUNG(-)  %15.2f ", double(m_Sgc)));
    add(Format("     MAX.REL.PERMIABILITAET OEL(-)%14.2f ", double(m_KroMax)));
    add(Format("     MAX.REL.PERMIABILITAET GAS(-)%14.2f ", double(m_KrgMax)));
    add(Format("     KORRELATIONSMETHODE PVT OEL %s", MethodNameOf(m_Methode)));
    add(Format("     PORENVOL.GASKAPPE/PORENVOL.OEL(-) %9.2f", double(m_Gaskappe)));
    if (m_Rsi > 0)
        add(Format("     INITALES GOEV VORGEGEBEN  (-)%14.2f", double(m_Rsi)));
    else
        add("     INITALES GOEV VORGEGEBEN  (-)");
    if (m_NuoPb > 0)
        add(Format("     OELVISKOSITAET BEI %5.1f BAR (CP) %9.3f", double(m_Entloesungsdruck),
                   double(m_NuoPb)));
    else
        add(Format("     OELVISKOSITAET BEI %5.1f BAR (CP)", double(m_Entloesungsdruck)));
}

void CMorvekDoc::CorrectPseudoCritical() {
    // Wichert-Aziz works on the H2S and CO2 percentages as entered, not on the
    // normalised ones.
    const double b = double(m_Gas[0]) / 100.0;
    const double a = (double(m_Gas[0]) + double(m_Gas[1])) / 100.0;
    const double epsilon =
        120.0 * (std::pow(a, 0.9) - std::pow(a, 1.6)) + 15.0 * (std::pow(b, 0.5) - std::pow(b, 4.0));
    m_Epsilon = epsilon;
    m_TpcKorr = m_Tpc - epsilon;
    m_PpcKorr = m_Ppc * m_TpcKorr / (m_Tpc + b * (1.0 - b) * epsilon);
}
