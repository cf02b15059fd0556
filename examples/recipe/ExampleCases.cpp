#include "ExampleCases.h"

#include "base/Format.h"
#include "case/MorvekDoc.h"

namespace {

enum Component { H2S, CO2, N2, C1, C2, C3, iC4, nC4, iC5, nC5, C6, C7, C8, C9, C10 };

// Rows in the layouts the measured-data file reader writes.
std::string MeasuredRow(double oil, double pressure, double gor) {
    return Format("%10.3f   %18.1f  %18.1f", oil, pressure, gor);
}
std::string MeasuredRow(double oil, double pressure) {
    return Format("%10.3f   %18.1f   * ", oil, pressure);
}

}  // namespace

void FillNordfeld(CMorvekDoc& doc) {
    doc.ResetCase();
    doc.m_Feldname = "Nordfeld";
    doc.m_OOIP = 5000.0f;
    doc.m_Initialdruck = 250.0f;
    doc.m_Entloesungsdruck = 200.0f;
    doc.m_Temperatur = 80.0f;
    doc.m_API = 35.0f;
    doc.m_Swi = 0.2f;
    doc.m_Sgc = 0.05f;
    doc.m_KroMax = 0.8f;
    doc.m_KrgMax = 0.6f;
    doc.m_Gaskappe = 0.0f;
    doc.m_Methode = 0;
    doc.m_NuoPb = 0.0f;
    doc.m_Rsi = 0.0f;
    doc.m_Gas.fill(0.0f);
    doc.m_Gas[C1] = 82.0f;
    doc.m_Gas[C2] = 7.0f;
    doc.m_Gas[C3] = 4.0f;
    doc.m_Gas[iC4] = 1.0f;
    doc.m_Gas[nC4] = 1.5f;
    doc.m_Gas[iC5] = 0.5f;
    doc.m_Gas[nC5] = 0.5f;
    doc.m_Gas[C6] = 0.5f;
    doc.m_Gas[C7] = 0.3f;
    doc.m_Gas[N2] = 1.0f;
    doc.m_Gas[CO2] = 1.7f;
    // Shut-in pressures and producing gas-oil ratios of the first years, a few
    // percent off the prediction as field data are; one survey without a
    // gas-oil ratio.
    doc.m_Messwerte = {
        MeasuredRow(70.0, 197.0, 95.0),   MeasuredRow(180.0, 178.5, 90.0),
        MeasuredRow(320.0, 168.0, 101.0), MeasuredRow(480.0, 147.0, 145.0),
        MeasuredRow(620.0, 137.0),        MeasuredRow(760.0, 112.0, 445.0),
    };
}

void FillGaskappe(CMorvekDoc& doc) {
    FillNordfeld(doc);
    doc.m_Feldname = "Gaskappe";
    doc.m_Gaskappe = 0.5f;
    doc.m_Messwerte.clear();  // Nordfeld's surveys belong to Nordfeld
}

void FillSauergas(CMorvekDoc& doc) {
    FillNordfeld(doc);
    doc.m_Feldname = "Sauergas";
    doc.m_Messwerte.clear();
    // The sour components replace methane (10 H2S and 3.3 more CO2 than
    // Nordfeld), so the composition still adds up to 100 mole percent.
    doc.m_Gas[H2S] = 10.0f;
    doc.m_Gas[CO2] = 5.0f;
    doc.m_Gas[C1] = 68.7f;
    doc.m_Methode = 2;  // Standing
    doc.m_NuoPb = 0.9f;
}

const std::vector<ExampleCase>& ExampleCases() {
    static const std::vector<ExampleCase> cases = {
        {"nordfeld.mvk", &FillNordfeld},
        {"gaskappe.mvk", &FillGaskappe},
        {"sauergas.mvk", &FillSauergas},
    };
    return cases;
}
