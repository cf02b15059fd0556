// Material-balance depletion prediction of a solution-gas-drive reservoir
// with an optional initial gas cap (Tarner's method): the pressure falls in
// small steps; in each step the oil produced is found such that the
// volumetric balance holds when the gas of the step leaves at the mean of the
// producing gas-oil ratios at its start and its end. The ratio at the end
// follows from the oil saturation left behind through krg/kro.

#include "depletion/Depletion.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>

#include "base/FixedText.h"
#include "base/Format.h"
#include "case/MorvekDoc.h"
#include "case/RunValues.h"
#include "input/MeasuredDataFile.h"
#include "pvt/OilCorrelations.h"

namespace {

// Above the bubble point the pressure reaches pb in this many steps; below it
// the steps are pb/400, or pb/500 from the start when pi is pb.
constexpr int kStepsToBubblePoint = 100;
constexpr float kStepsBelowBubblePoint = 400.0f;
constexpr float kStepsFromBubblePoint = 500.0f;

constexpr float kLowestPressureBar = 1.0f;  // the prediction ends at 1 bar
constexpr int kMaxIdleSteps = 10;           // steps without production before giving up
constexpr int kMaxInnerPasses = 10;
constexpr double kGorTolerance = 0.001;  // sm3/m3 change of the step-average ratio
constexpr int kRowEverySteps = 10;
constexpr int kPointEverySteps = 5;

constexpr double kMaxPlainViscosityCp = 10000.0;  // larger ones print in exponent form
constexpr double kSuspectViscosityCp = 2000.0;
// The balance ratio of the last step outside these bounds hints at a wrong
// bubble-point pressure.
constexpr double kBalanceRatioLow = 0.8;
constexpr double kBalanceRatioHigh = 1.3;

// Enough for the head lines, one row per ten of at most about 500 steps and
// the closing lines, so that the report does not regrow during the run.
constexpr size_t kExpectedReportLines = 80;

// The measured rows as graph points: every row gives a pressure point, a row
// with a third number also a gas-oil-ratio point. Reading stops at the first
// row with fewer than two numbers; a number that is not finite (a case file
// may hold "nan") counts as none, so that no graph point is one.
void ReadMeasuredValues(CMorvekDoc& doc) {
    const size_t rows = std::min(doc.m_Messwerte.size(), static_cast<size_t>(kSeriesLength));
    int k = 0;
    for (size_t i = 0; i < rows; ++i) {
        float oil = 0.0f, pressure = 0.0f, gor = 0.0f;
        const int numbers = ScanMeasuredRow(doc.m_Messwerte[i], oil, pressure, gor);
        if (numbers < 2) break;
        doc.m_Mess1XWerte[i] = oil;
        doc.m_Mess1YWerte[i] = pressure;
        doc.m_Max2Werte = static_cast<int32_t>(i) + 1;
        if (numbers == 3) {
            doc.m_Mess2XWerte[k] = oil;
            doc.m_Mess2YWerte[k] = gor;
            ++k;
            doc.m_Max3Werte = k;
        }
    }
}

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

}  // namespace

double InitialGasCapMioSm3(double ooip, double boi, double gaskappe, double bgi) {
    return 0.001 * ooip * boi * gaskappe / bgi;
}

void CMorvekDoc::ComputeDepletion() {
    const OilCorrelation& correlation = OilCorrelationOrVasquezBeggs(m_Methode);
    const float pi = m_Initialdruck;
    const float pb = m_Entloesungsdruck;
    const double ooip = m_OOIP;  // N, 1000 m3
    const double swi = m_Swi;
    const double gaskappe = m_Gaskappe;

    float dp =
        pi > pb ? (pi - pb) / static_cast<float>(kStepsToBubblePoint) : pb / kStepsFromBubblePoint;
    m_dAPI = CalibrateViscosityAPI();
    ClearSeries();
    m_Text.reserve(m_Text.size() + kExpectedReportLines);

    float p = pi;
    int j = 0;
    int abort = 0;
    int idle = 0;
    int d = 0;
    double np = 0.0;  // cumulative oil, 1000 m3
    double gp = 0.0;  // cumulative gas, 1000 sm3
    double f = 1.0;   // material-balance ratio of the last step below pi
    double rsi = 0.0, boi = 0.0, bgi = 0.0;
    double rPrev = 0.0;  // producing gas-oil ratio at the start of the step
    double r = 0.0;      // ... and at its end, sm3/m3
    double rMean = 0.0;  // step average of the last inner pass
    double sl = 1.0;     // liquid saturation at the end of the step
    double ratio = 0.0;  // krg/kro at sl
    // The quantity that ended the run because it could not be computed.
    const char* failed = nullptr;

    while (abort < 1 && idle < kMaxIdleSteps && p > kLowestPressureBar && ooip > np) {
        if (pi > pb && j == kStepsToBubblePoint) dp = pb / kStepsBelowBubblePoint;

        const double rs = correlation.Rs(*this, p);
        const double bo = correlation.Bo(*this, p, rs);
        const double muo = OilViscosity(p, rs);
        const double bg = Bg(m_Temperatur, p);
        const double mug = GasViscosityFromBg(bg);
        failed = FirstMeaningless({{"Rs", rs},
                                   {"Bo", bo},
                                   {"Ölviskosität", muo},
                                   {"Bg (Realgasfaktor)", bg, true},
                                   {"Gasviskosität", mug}});
        if (failed != nullptr) break;

        // The initial state is taken at the step with j = 0; comparing p with
        // pi instead would repeat it on every step whose pressure change is
        // lost in single precision.
        if (j == 0) {
            rsi = rs;
            boi = bo;
            bgi = bg;
            rPrev = rs;
            r = rs;
            const double gasCap = InitialGasCapMioSm3(ooip, boi, gaskappe, bgi);
            if (!IsMeaningful(gasCap)) {
                failed = "Gaskappe";
                break;
            }
            m_Text.push_back(Format("     INITIALE GASKAPPE (MIO SM3):%15.2f ", gasCap));
            m_XWerte[0] = 0.0f;
            m_Y1Werte[0] = pi;
            m_Y2Werte[0] = static_cast<float>(rsi);
            d = 1;
            m_MaxWerte = 1;
        }

        double a = bo - rs * bg;  // 1000 m3 of pore space per 1000 m3 of oil produced
        if (a < 0.0) a = 0.0;
        const double et = (rsi - rs) * bg + (bo - boi) + gaskappe * boi * (bg / bgi - 1.0);

        if (et < 0.0 && rs == rsi && bo < boi) {
            m_Text.push_back(" Fehler Rs=Initiales Rs,deshalb dd<0");
            m_Text.push_back(" Gasentlösungsdruck auf Initialdruck erhöhen");
            if (muo > kSuspectViscosityCp)
                m_Text.push_back(Format(" Ölviskosität betägt %g cp  !!!", muo));
        }

        double dnp = 0.0;
        double difference = 1.0;
        for (int pass = 0; pass < kMaxInnerPasses && difference > kGorTolerance; ++pass) {
            const double rMeanBefore = (rPrev + r) / 2.0;
            dnp = (ooip * et - np * a - gp * bg) / (bg * rMeanBefore + a);
            if (!IsMeaningful(dnp)) {
                failed = "Ölproduktion";
                break;
            }
            if (dnp < 0.0) {
                m_Text.push_back(Format(" Fehler dnp:%3.2f<0 ", dnp));
                ++abort;
                break;
            }
            if (np + dnp > ooip) {
                m_Text.push_back(
                    Format("\nABBRUCH Kum.Oelprod.:%7.1f > OOIP:%7.1f\n", np + dnp, ooip));
                dnp = ooip - np;
                break;
            }
            sl = swi + (1.0 - (np + dnp) / ooip) * (bo / boi) * (1.0 - swi);
            ratio = KrgKro(sl);
            r = (bo / bg) * (muo / mug) * ratio + rs;
            rMean = (rPrev + r) / 2.0;
            difference = std::fabs(rMean - rMeanBefore);
        }
        if (failed != nullptr) break;

        if (dnp > 0.0) {
            np += dnp;
            gp += rMean * dnp;
        } else {
            ++idle;
        }
        const double so = sl - swi;
        failed = FirstMeaningless({{"Ölproduktion", np},
                                   {"Gasproduktion", gp},
                                   {"GOEV", rMean},
                                   {"Ölsättigung", so},
                                   {"KRG/KRO", ratio}});
        if (failed != nullptr) break;
        if (p < pi) f = (np * a + gp * bg) / (ooip * et);
        rPrev = r;

        if (j == 0) {
            m_Text.push_back(" ");
            m_Text.push_back(" ");
            m_Text.push_back(
                "      DRUCK  OELPROD.  GASPROD   GOEV   SO    BO    NUO    RS    KRG/KRO");
            m_Text.push_back(
                "      (BAR)  (1000M3)  (Mio M3) (M3/M3) (-)   (-)   (CP) (M3/M3)  (-)");
            m_Text.push_back(" ");
        }
        if (j % kRowEverySteps == 0) {
            if (muo < kMaxPlainViscosityCp)
                m_Text.push_back(
                    PlainRow({double(p), np, gp / 1000.0, rMean, so, bo, muo, rs, ratio}));
            else
                m_Text.push_back(Format("%11.1f %7.2f %9.4f %7.1e %6.3f %4.2f %8.1e %6.1f %8.5f",
                                        double(p), np, gp / 1000.0, rMean, so, bo, muo, rs, ratio));
            ++m_nPrognoseZeilen;
        }
        if (j > 0 && j % kPointEverySteps == 0 && d < kSeriesLength) {
            m_XWerte[d] = static_cast<float>(np);
            m_Y1Werte[d] = p;
            m_Y2Werte[d] = static_cast<float>(rMean);
            ++d;
            m_MaxWerte = d;
        }
        p = p - dp;
        ++j;
    }
    if (failed != nullptr) m_Text.push_back(NoMeaningfulResult(failed, p));

    ReadMeasuredValues(*this);

    SetGraphLabels({"Kum.Reinölförderung in 1000 m3", "Druck(Bar)", "GOEV(sm3/m3)",
                    "Schließdrücke und GÖV", "     Druck (Bar)      ", "    GOEV (sm3/m3)    ",
                    "Meßwerte Druck/GOEV"});

    // A step whose expansion was zero below pi leaves the ratio undefined.
    if (!IsMeaningful(f)) {
        m_Text.push_back(NoMeaningfulResult("Materialbilanzfehler"));
    } else if (f < kBalanceRatioLow || f > kBalanceRatioHigh) {
        m_Text.push_back(Format(" Materialbilanzfehler:%6.1f Prozent", (1.0 - f) * 100.0));
        m_Text.push_back(" Gasentlösungsdruck zu niedrig?");
    }
    if (m_MaxWerte > 1 && failed == nullptr) m_Text.push_back(" Morvek Berechnung abgeschlossen");
}
