#include "support/GraphCases.h"

#include <cmath>

#include "base/Format.h"
#include "case/MorvekDoc.h"

void FillDepletionLikeGraph(CMorvekDoc& doc) {
    doc.m_bPVTAusgabe = 0;
    doc.m_bRelPermAusgabe = 0;
    doc.m_Feldname = "Nordfeld";
    doc.m_Ueberschrift = "Schließdrücke und GÖV";
    doc.m_TitelX = "Kum.Reinölförderung in 1000 m3";
    doc.m_TitelY1 = "Druck(Bar)";
    doc.m_TitelY2 = "GOEV(sm3/m3)";
    doc.m_Legende1 = "     Druck (Bar)      ";
    doc.m_Legende2 = "    GOEV (sm3/m3)    ";
    doc.m_Legende3 = "Meßwerte Druck/GOEV";
    doc.m_MaxWerte = 60;
    for (int i = 0; i < 60; ++i) {
        const double np = 10.0 * i;  // 1000 m3
        doc.m_XWerte[i] = static_cast<float>(np);
        doc.m_Y1Werte[i] = static_cast<float>(250.0 * std::exp(-np / 420.0));
        doc.m_Y2Werte[i] = static_cast<float>(90.0 + 1.6 * np + 0.0012 * np * np);
    }
    const float oil[5] = {50, 150, 260, 380, 500};
    doc.m_Messwerte.clear();
    for (int i = 0; i < 5; ++i) {
        const float p = static_cast<float>(250.0 * std::exp(-oil[i] / 420.0) + (i % 2 ? 6 : -5));
        const float gor =
            static_cast<float>(90.0 + 1.6 * oil[i] + 0.0012 * oil[i] * oil[i] + (i % 2 ? -30 : 25));
        doc.m_Mess1XWerte[i] = oil[i];
        doc.m_Mess1YWerte[i] = p;
        doc.m_Mess2XWerte[i] = oil[i];
        doc.m_Mess2YWerte[i] = gor;
        doc.m_Messwerte.push_back(Format("%g %g %g", oil[i], p, gor));
    }
    doc.m_Max2Werte = 5;
    doc.m_Max3Werte = 5;
    doc.m_bGrafikNeu = 1;
}
