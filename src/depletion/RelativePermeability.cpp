// Oil and gas relative permeabilities: Corey-type power laws set by the
// connate water saturation, the critical gas saturation and the two end-point
// values. The ratio krg/kro drives the producing gas-oil ratio of the depletion
// prediction; the table shows both curves against the oil saturation.
//
// The two places normalise the gas saturation differently on purpose: the
// prediction measures the oil saturation from Sgc (so krg reaches zero at
// Sg = Sgc only through the cut-off), the table from zero.

#include <cmath>
#include <cstdio>

#include "base/Format.h"
#include "base/PrintableText.h"
#include "case/MorvekDoc.h"

namespace {

constexpr double kKrgCutOff = 1e-6;     // smaller gas permeabilities count as none
constexpr int kRelPermTableSteps = 50;  // 51 saturations from So = 0 to 1 - Swi

}  // namespace

double CMorvekDoc::KrgKro(double sl) const {
    const double swi = m_Swi;
    const double sgc = m_Sgc;
    const double so = sl - swi;
    const double s = swi < 1.0 ? so / (1.0 - swi) : 0.0;
    const double s2 = s * s;
    const double kro = static_cast<double>(m_KroMax) * (s2 * s2);

    double krg = 0.0;
    if (swi + sgc < 1.0) {
        const double sGas = (so - sgc) / (1.0 - swi - sgc);
        if (sl < 1.0 - sgc)
            krg =
                static_cast<double>(m_KrgMax) * ((1.0 - sGas) * (1.0 - sGas)) * (1.0 - sGas * sGas);
        if (so < 0.0) {
            // A liquid saturation below Swi only occurs in a broken prediction;
            // the note is for the developer and stays off stdout, which carries
            // the batch report.
            const std::string note = Format("so:%5.2f< 0 Krg:%5.3f swi:%4.1f sgc:%5.1f sle:%5.2f\n",
                                            so, krg, swi, sgc, s);
            std::fputs(note.c_str(), stderr);
        }
        if (std::fabs(krg) < kKrgCutOff) krg = 0.0;
    }
    return kro > 0.0 ? krg / kro : 0.0;
}

void CMorvekDoc::ComputeRelPerm() {
    const float swi = m_Swi;
    const float sgc = m_Sgc;

    m_Text.clear();
    m_Text.push_back(Format(" FELD:%s", OneLineText(m_Feldname).c_str()));
    m_Text.push_back(" ");
    m_Text.push_back(Format(" Haftwassersättigung:    %5.2f", double(swi)));
    m_Text.push_back(Format(" Kritische Gassättigung: %5.2f", double(sgc)));
    m_Text.push_back(" ");

    ClearSeries();

    m_Text.push_back(" OELSAETTIGUNG SO MIT RELATIVE PERMEABILITAETEN  GASSAETTIGUNG");
    m_Text.push_back("    SO(-)    KRO(-)   KRG(-)    KRG/KRO(-)          SG(-)");
    m_Text.push_back(" ");

    // The table works in single precision throughout, as its printed digits do.
    const float dS = (1.0f - swi) / static_cast<float>(kRelPermTableSteps);
    int d = 0;
    m_MaxWerte = 0;
    for (int i = 0; i <= kRelPermTableSteps; ++i) {
        const float sl = static_cast<float>(i) * dS + swi;
        float kro = 0.0f;
        if (swi < 1.0f) {
            const float sNorm = (sl - swi) / (1.0f - swi);
            kro = m_KroMax * static_cast<float>(std::pow(double(sNorm), 4.0));
        }
        float krg = 0.0f;
        if (swi + sgc < 1.0f) {
            const float s = (sl - swi) / (1.0f - swi - sgc);
            if (sl < 1.0f - sgc) krg = (1.0f - s) * m_KrgMax * (1.0f - s) * (1.0f - s * s);
            if (std::fabs(double(krg)) < kKrgCutOff) krg = 0.0f;
        }
        const float ratio = kro > 0.0f ? krg / kro : 0.0f;
        // An oil end point of 1e-40 or so leaves kro at a few of the smallest
        // floats, and the ratio overflows single precision: the table then
        // shows the quotient of the same two values in double precision.
        const double ratioShown = std::isinf(ratio) ? double(krg) / double(kro) : double(ratio);

        const float so = sl - swi;
        if (so >= 0.0f) {
            const float sg = 1.0f - sl;
            m_XWerte[d] = so;
            m_X2Werte[d] = so - sgc;
            m_Y2Werte[d] = kro;
            m_Y1Werte[d] = krg;
            ++d;
            m_MaxWerte = d;
            m_Text.push_back(Format(" %7.2f  %9.3g  %7.3f   %10.4g  %13.2f", double(so),
                                    double(kro), double(krg), ratioShown, double(sg)));
        }
    }
    m_Max2Werte = 0;
    m_Max3Werte = 0;

    SetGraphLabels({"Ölsättigung (-)", "Krg(-)", "Kro(-)", "Rel. Permeabilitäten für Öl und Gas",
                    "Rel. Permeabilität Gas", "Rel. Permeabilität Öl", ""});
}
