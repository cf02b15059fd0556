// The PVT table: every fluid property of the case on a pressure grid up to the
// initial pressure, with the selected oil correlation, followed by a short
// table of the relative permeabilities against oil saturation.

#include <cmath>

#include "base/Format.h"
#include "case/RunValues.h"
#include "pvt/OilCorrelations.h"

namespace {

// Grid step in bar: finer for low-pressure reservoirs.
constexpr float kStepBelow200Bar = 5.0f;
constexpr float kStepFrom200Bar = 10.0f;

constexpr int kSaturationSteps = 10;
constexpr double kNegligibleKrg = 1e-6;

}  // namespace

void CMorvekDoc::PvtTable() {
    const OilCorrelation& correlation = OilCorrelationOrVasquezBeggs(m_Methode);
    const float step = m_Initialdruck < 200.0f ? kStepBelow200Bar : kStepFrom200Bar;

    m_dAPI = CalibrateViscosityAPI();

    ClearSeries();

    int d = 0;  // graph points: one per row that has all its numbers
    float p = step;
    for (int i = 0; i < kSeriesLength && p < m_Initialdruck + step; ++i, p += step) {
        if (p > m_Initialdruck) p = m_Initialdruck;  // the last row lies at the initial pressure

        const double rs = correlation.Rs(*this, p);
        const double bo = correlation.Bo(*this, p, rs);
        const double co = OilCompressibility(p, rs, m_GasRelDichte);
        const double nuo = OilViscosity(p, rs);
        const double bg = Bg(m_Temperatur, p);
        const double nug = GasViscosityFromBg(bg);

        if (p == step) {
            for (const char* line : {" ", " ", " ", " ", "        PVT DATEN", " "})
                m_Text.push_back(line);
            m_Text.push_back(Format("   Rs und Bo nach %s", correlation.literature));
            m_Text.push_back(" ");
            m_Text.push_back("   DRUCK    Rs       Bo   VIS.OEL     Co       Bg      VIS.GAS");
            m_Text.push_back("   (BAR) (NM3/M3) (M3/SM3   (CP)   (1/BAR)  (M3/SM3)     (CP)");
            m_Text.push_back(" ");
        }
        // A pressure at which a correlation gives no usable number keeps its
        // place in the table with the name of that quantity; the other
        // pressures are independent of it.
        if (const char* what = FirstMeaningless({{"Rs", rs},
                                                 {"Bo", bo},
                                                 {"Co", co},
                                                 {"Ölviskosität", nuo},
                                                 {"Bg (Realgasfaktor)", bg, true},
                                                 {"Gasviskosität", nug}})) {
            m_Text.push_back(NoMeaningfulResult(what, p));
            continue;
        }
        m_Text.push_back(Format("%7.1f  %7.2f %7.3f %7.3f %10.3e %8.5f %9.5f", double(p), rs, bo,
                                nuo, co, bg, nug));

        m_XWerte[d] = m_X2Werte[d] = m_Mess1XWerte[d] = p;
        m_Y1Werte[d] = static_cast<float>(nuo);
        m_Y2Werte[d] = static_cast<float>(rs);
        m_Mess1YWerte[d] = static_cast<float>(bo);
        m_MaxWerte = m_Max2Werte = ++d;
    }

    SetGraphLabels({"Druck in Bar", "Bo/Nuo", "Rs(sm3/m3)", "PVT-Daten der Morvekberechnung",
                    "Viskosität Öl Nuo (cp)", "Rs bzw. GOEV (sm3/m3)", "Faktor Bo (m3/sm3) "});

    // The saturation model of the relative-permeability table on its own grid
    // of eleven liquid saturations; only SL is kept in single precision here.
    for (const char* line : {" ", " ", " OELSAETTIGUNG MIT RELATIVE PERMEABILITAETEN",
                             "     SO(-)   KRO(-)   KRG(-)      KRGO(-)", " "})
        m_Text.push_back(line);
    const double swi = m_Swi;
    const double sgc = m_Sgc;
    const double deltaS = (1.0 - swi) / kSaturationSteps;
    double kro = 1.0, krg = 0.0, ratio = 0.0;
    for (int k = 0; k <= kSaturationSteps; ++k) {
        const double sl = static_cast<float>(k * deltaS + swi);
        if (swi < 1.0) kro = m_KroMax * std::pow((sl - swi) / (1.0 - swi), 4);
        krg = 0.0;
        if (swi + sgc < 1.0) {
            const double s = (sl - swi - sgc) / (1.0 - swi - sgc);
            if (sl < 1.0 - sgc) krg = m_KrgMax * (1.0 - s) * (1.0 - s) * (1.0 - s * s);
            if (std::fabs(krg) < kNegligibleKrg) krg = 0.0;
        }
        ratio = kro > 0.0 ? krg / kro : 0.0;
        if (sl - swi >= 0.0)
            m_Text.push_back(Format(" %7.2f  %9.3g  %7.3f   %10.6g", sl - swi, kro, krg, ratio));
    }

    m_Text.push_back("Berechnung der PVT-Daten abgeschlossen");
}
