#include "report/GraphSeries.h"

#include "model/MeasuredRows.h"

namespace morvek {
namespace {

constexpr int kPointEverySteps = 5;

}  // namespace

GraphSeries PredictionGraph(const PredictionResult& r, float initialPressureBar,
                            const std::vector<std::string>& measuredRows) {
    GraphSeries g;
    int d = 0;
    if (r.initialStateTaken) {
        g.x[0] = 0.0f;
        g.y1[0] = initialPressureBar;
        g.y2[0] = static_cast<float>(r.rsi);
        d = 1;
        g.curvePoints = 1;
    }
    for (const PredictionStep& s : r.steps) {
        if (s.index > 0 && s.index % kPointEverySteps == 0 && d < kSeriesLength) {
            g.x[d] = static_cast<float>(s.np1000m3);
            g.y1[d] = s.pressureBar;
            g.y2[d] = static_cast<float>(s.gorSm3PerM3);
            ++d;
            g.curvePoints = d;
        }
    }
    // Every measured row gives a pressure point, a row with a third number
    // also a gas-oil-ratio point; the series hold the first kSeriesLength.
    int i = 0, k = 0;
    for (const MeasuredPoint& m : MeasuredPoints(measuredRows, kSeriesLength)) {
        g.measuredX[i] = m.np1000m3;
        g.measuredY[i] = m.pressureBar;
        g.measuredPoints = ++i;
        if (m.hasGor) {
            g.measuredGorX[k] = m.np1000m3;
            g.measuredGorY[k] = m.gorSm3PerM3;
            g.measuredGorPoints = ++k;
        }
    }
    g.labels = {"Kum.Reinölförderung in 1000 m3",
                "Druck(Bar)",
                "GOEV(sm3/m3)",
                "Schließdrücke und GÖV",
                "     Druck (Bar)      ",
                "    GOEV (sm3/m3)    ",
                "Meßwerte Druck/GOEV"};
    return g;
}

GraphSeries PvtTableGraph(const PvtTableResult& table) {
    GraphSeries g;
    int d = 0;  // one point per row that has all its numbers
    for (const PvtTableRow& row : table.rows) {
        if (row.failedQuantity != RunQuantity::None || d >= kSeriesLength) continue;
        g.x[d] = g.x2[d] = g.measuredX[d] = row.pressureBar;
        g.y1[d] = static_cast<float>(row.oilViscosityCp);
        g.y2[d] = static_cast<float>(row.rs);
        g.measuredY[d] = static_cast<float>(row.bo);
        g.curvePoints = g.measuredPoints = ++d;
    }
    g.labels = {"Druck in Bar",
                "Bo/Nuo",
                "Rs(sm3/m3)",
                "PVT-Daten der Morvekberechnung",
                "Viskosität Öl Nuo (cp)",
                "Rs bzw. GOEV (sm3/m3)",
                "Faktor Bo (m3/sm3) "};
    return g;
}

GraphSeries RelPermTableGraph(const RelPermTableResult& table) {
    GraphSeries g;
    int d = 0;
    for (const RelPermTableRow& row : table.rows) {
        if (d >= kSeriesLength) break;
        g.x[d] = row.oilSaturation;
        g.x2[d] = row.oilSaturation - table.criticalGasSaturation;
        g.y2[d] = row.kro;
        g.y1[d] = row.krg;
        g.curvePoints = ++d;
    }
    g.labels = {"Ölsättigung (-)",
                "Krg(-)",
                "Kro(-)",
                "Rel. Permeabilitäten für Öl und Gas",
                "Rel. Permeabilität Gas",
                "Rel. Permeabilität Öl",
                ""};
    return g;
}

}  // namespace morvek
