#include "input/InputChecks.h"

#include <cmath>

#include "base/Format.h"
#include "base/MessageSink.h"
#include "base/NumberText.h"
#include "input/DlgInput.h"
#include "input/ExchangeTable.h"
#include "input/LabTableEntry.h"
#include "input/MeasuredDataFile.h"

namespace {

// Below this the oil is heavier than water; the bound is a double and not 10
// on purpose, so that 9.85 still passes.
constexpr double kMinApi = 9.85;

// The row's number as the dialog's list shows it (the list may sort the rows
// otherwise than the case holds them), or its place in the case's rows.
int RowNumber(const DlgInput& d, size_t index) {
    const RowList& list = d.m_MesswertListe;
    if (list.Count() == static_cast<int>(d.m_Messwerte.size())) {
        for (int k = 0; k < list.Count(); ++k)
            if (list.Text(k) == d.m_Messwerte[index]) return k + 1;
    }
    return static_cast<int>(index) + 1;
}

// The control of a field of the case.
int ControlOf(const char* member) {
    const ExchangeField* f = FindField(member);
    return f != nullptr ? f->controlId : 0;
}

// The list of the measured rows.
constexpr int kRowListControl = 1032;

// "250.04 > Initialdruck 250.00": a value and the bound it crosses, with
// the decimals that tell them apart (one at least, as everywhere).
std::string Crossing(const char* format, double value, double bound) {
    const int d = DecimalsApart(value, bound);
    return Format(format, d, value, d, bound);
}

bool CheckRows(const DlgInput& d, MessageSink& sink) {
    const int rows = static_cast<int>(d.m_Messwerte.size());
    for (int i = 0; i < rows && i < kSeriesLength; ++i) {
        const size_t index = static_cast<size_t>(i);
        float oil = 0, pressure = 0, gor = 0;
        const int count = ScanMeasuredRow(d.m_Messwerte[index], oil, pressure, gor);
        if (count < 2) break;
        const std::string negative = NegativeMeasuredValueMessage(count, oil, pressure, gor);
        if (!negative.empty()) {
            sink.Warn(Format("FEHLER!!\n%d.Meßwertzeile: ", RowNumber(d, index)) + negative);
            return false;
        }
        if (oil > d.m_OOIP) {
            sink.Warn(Format("FEHLER!!\n%d.Meßwertzeile: ", RowNumber(d, index)) +
                      Crossing("Kum.Produktion %6.*f > OOIP %6.*f", oil, d.m_OOIP));
            return false;
        }
        if (pressure > d.m_Initialdruck) {
            sink.Warn(Format("FEHLER!!\n%d.Meßwertzeile: ", RowNumber(d, index)) +
                      Crossing("Druck %5.*f > Initialdruck %5.*f", pressure, d.m_Initialdruck));
            return false;
        }
    }
    return true;
}

}  // namespace

bool CheckDialogInputs(const DlgInput& d, MessageSink& sink, int* failedControl) {
    auto fail = [&](int control) {
        if (failedControl != nullptr) *failedControl = control;
        return false;
    };
    if (failedControl != nullptr) *failedControl = 0;
    if (!CheckRows(d, sink)) return fail(kRowListControl);
    if (d.m_Entloesungsdruck > d.m_Initialdruck) {
        sink.Warn("FEHLER!!\n" + Crossing("Entlösungsdruck %5.*f > Initialdruck %5.*f",
                                          d.m_Entloesungsdruck, d.m_Initialdruck));
        return fail(ControlOf("m_Entloesungsdruck"));
    }
    if (double(d.m_Swi) + double(d.m_Sgc) >= 1.0) {
        // Two decimals: values that add up to 1 or more never show less.
        sink.Warn(Format("FEHLER!!\nHaftwassersättigung %.2f + Krit.Gassättigung %.2f >= 1",
                         double(d.m_Swi), double(d.m_Sgc)));
        return fail(ControlOf("m_Swi"));
    }
    if (d.m_Swi <= 0.0f) {
        sink.Warn("Haftwassersättigung swi muß > 0 sein");
        return fail(ControlOf("m_Swi"));
    }
    float sum = 0.0f;
    for (float g : d.m_Gas) sum += g;
    if (sum == 0.0f) {
        sink.Warn("Bitte Gaszusammensetzung eingeben");
        return fail(ControlOf("m_Gas[3]"));
    }
    if (double(d.m_API) < kMinApi) {
        sink.Warn("Öldichte ist > 1. Bitte API-Wert über 10 erhöhen");
        return fail(ControlOf("m_API"));
    }
    if (d.m_Methode < 0 || d.m_Methode > 3) {
        sink.Warn("Bitte eine Korrelationsmethode auswählen.");
        return fail(ControlOf("m_Methode"));
    }
    if (!CheckPvtTableOfCase(d.m_Inputs, sink)) return fail(ControlOf("m_Initialdruck"));
    return true;
}

bool CheckFieldValues(const DlgInput& d, MessageSink& sink) {
    for (const ExchangeField& f : ExchangeTable()) {
        if (f.kind != FieldKind::Float) continue;
        const float v = f.Float(d);
        if (!std::isfinite(v)) {
            sink.Warn(NotANumberMessage(f));
            return false;
        }
        if (!InFieldRange(f, v)) {
            sink.Warn(OutOfRangeMessage(f));
            return false;
        }
    }
    return true;
}
