#include "input/InputChecks.h"

#include <cmath>

#include "base/Format.h"
#include "base/MessageSink.h"
#include "input/DlgInput.h"
#include "input/ExchangeTable.h"
#include "input/LabTableEntry.h"
#include "input/MeasuredDataFile.h"

namespace {

// Below this the oil is heavier than water; the bound is a double and not 10
// on purpose, so that 9.85 still passes.
constexpr double kMinApi = 9.85;

bool CheckRows(const DlgInput& d, MessageSink& sink) {
    const int rows = static_cast<int>(d.m_Messwerte.size());
    for (int i = 0; i < rows && i < kSeriesLength; ++i) {
        float oil = 0, pressure = 0, gor = 0;
        if (ScanMeasuredRow(d.m_Messwerte[static_cast<size_t>(i)], oil, pressure, gor) < 2) break;
        if (oil > d.m_OOIP) {
            sink.Show(Format("FEHLER!!\nKum.Produktion %6.1f > OOIP %6.1f", double(oil),
                             double(d.m_OOIP)));
            return false;
        }
        if (pressure > d.m_Initialdruck) {
            sink.Show(Format("FEHLER!!\nDruck %5.1f > Initialdruck %5.1f", double(pressure),
                             double(d.m_Initialdruck)));
            return false;
        }
    }
    return true;
}

}  // namespace

bool CheckDialogInputs(const DlgInput& d, MessageSink& sink) {
    if (!CheckRows(d, sink)) return false;
    if (d.m_Entloesungsdruck > d.m_Initialdruck) {
        sink.Show(Format("FEHLER!!\nEntlösungsdruck %5.1f > Initialdruck %5.1f",
                         double(d.m_Entloesungsdruck), double(d.m_Initialdruck)));
        return false;
    }
    if (double(d.m_Swi) + double(d.m_Sgc) >= 1.0) {
        sink.Show(
            Format("FEHLER!!\nSwi: %5.2f + Sgr: %5.2f >= 1", double(d.m_Swi), double(d.m_Sgc)));
        return false;
    }
    if (d.m_Swi <= 0.0f) {
        sink.Show("Haftwassersättigung swi muß > 0 sein");
        return false;
    }
    float sum = 0.0f;
    for (float g : d.m_Gas) sum += g;
    if (sum == 0.0f) {
        sink.Show("Bitte Gaszusammensetzung eingeben");
        return false;
    }
    if (double(d.m_API) < kMinApi) {
        sink.Show("Öldichte ist > 1.Bitte API-Wert über 10 erhöhen");
        return false;
    }
    if (d.m_Methode < 0 || d.m_Methode > 3) {
        sink.Show("Bitte eine Korrelationsmethode auswählen.");
        return false;
    }
    return CheckPvtTableOfCase(d.m_Inputs, sink);
}

bool CheckFieldValues(const DlgInput& d, MessageSink& sink) {
    for (const ExchangeField& f : ExchangeTable()) {
        if (f.kind != FieldKind::Float) continue;
        const float v = f.Float(d);
        if (!std::isfinite(v)) {
            sink.Show(NotANumberMessage(f));
            return false;
        }
        if (f.bounded && (v < f.min || v > f.max)) {
            sink.Show(OutOfRangeMessage(f));
            return false;
        }
    }
    return true;
}
