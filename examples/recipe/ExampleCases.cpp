#include "ExampleCases.h"

#include "base/Format.h"
#include "case/MorvekDoc.h"
#include "model/LabTables.h"
#include "waterdrive/Aquifer.h"
#include "waterdrive/HistoryFile.h"

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


// The texts of examples/tabellen/dake1978-pvt.txt and
// examples/dake1978-historie.txt (a test compares them with the files).
const char* const kDakePvtText =
    "Dake (1978), Übung 9.2: Druck (bar); Bo (m3/m3); Rs (m3/m3); Bg (m3/m3); Ölviskosität (cP); Gasviskosität (cP)\n"
    "188.9163;1.404;115.770;0.0052216;0.5;0.02\n"
    "172.3689;1.374;105.440;0.0055023;0.5;0.02\n"
    "157.8899;1.349;97.069;0.0060076;0.5;0.02\n"
    "145.4104;1.329;90.301;0.0065691;0.5;0.02\n"
    "134.3788;1.316;83.889;0.0071867;0.5;0.02\n"
    "125.3467;1.303;78.724;0.0078043;0.5;0.02\n"
    "117.3488;1.294;74.449;0.0084219;0.5;0.02\n"
    "110.8677;1.287;70.887;0.0089833;0.5;0.02\n"
    "105.8345;1.280;68.215;0.0095448;0.5;0.02\n"
    "102.0424;1.276;66.078;0.0098817;0.5;0.02\n"
    "99.2845;1.273;64.831;0.0102185;0.5;0.02\n";
const char* const kDakeHistoryText =
    "days;pressure_bar;np_1000m3;rp_sm3_per_m3\n"
    "0;188.9163;0.00;0.000\n"
    "365;172.3689;1252.82;135.362\n"
    "730;157.8899;2928.55;150.501\n"
    "1095;145.4104;4634.48;163.859\n"
    "1460;134.3788;6469.19;173.655\n"
    "1825;125.3467;7971.62;182.560\n"
    "2190;117.3488;9288.04;189.685\n"
    "2555;110.8677;10396.18;195.028\n"
    "2920;105.8345;11246.76;199.481\n"
    "3285;102.0424;11850.91;203.933\n"
    "3650;99.2845;12310.39;206.605\n";

void FillDake1978(CMorvekDoc& doc) {
    doc.ResetCase();
    // Dake, Fundamentals of Reservoir Engineering (1978), exercise 9.2, in the
    // program's units: a saturated oil at 2740 psia with a 140 degree sector
    // of a radial aquifer. The oil in place is a start for the regression
    // (Dake finds 312 MMstb, 49604 thousand m3); the rock and connate water
    // are left out as in Dake's F/Eo.
    doc.m_Feldname = "Dake 1978, Übung 9.2";
    doc.m_OOIP = 40000.0f;
    doc.m_Initialdruck = 188.9163f;
    doc.m_Entloesungsdruck = 188.9163f;
    doc.m_Temperatur = 80.0f;
    doc.m_API = 35.0f;
    doc.m_Swi = 0.05f;
    doc.m_Sgc = 0.05f;
    doc.m_KroMax = 0.8f;
    doc.m_KrgMax = 0.6f;
    morvek::CaseInputs& in = doc.m_Inputs;
    std::vector<std::string> problems;
    morvek::LabPvtTable pvt;
    morvek::ParsePvtTableText(kDakePvtText, "dake1978-pvt.txt", pvt, problems);
    in.pvtTable = pvt;
    morvek::ProductionHistory history;
    morvek::ParseHistoryText(kDakeHistoryText, "dake1978-historie.txt", history, problems);
    in.history = history;
    in.aquiferModel = static_cast<int32_t>(morvek::AquiferModel::VehRadial);
    in.reservoirRadiusM = 2804.16f;   // 9200 ft
    in.aquiferRadiusM = 14020.8f;     // reD = 5
    in.aquiferThicknessM = 30.48f;    // 100 ft
    in.aquiferPorosity = 0.25f;
    in.aquiferPermeabilityMd = 200.0f;
    in.aquiferAngleDeg = 140.0f;
    in.aquiferCompressibilityPerBar = 1.0152642e-4f;  // 7e-6 1/psi
    in.waterViscosityCp = 0.55f;
}

const std::vector<ExampleCase>& ExampleCases() {
    static const std::vector<ExampleCase> cases = {
        {"nordfeld.mvk", &FillNordfeld},
        {"gaskappe.mvk", &FillGaskappe},
        {"sauergas.mvk", &FillSauergas},
        {"dake1978.mvk", &FillDake1978},
    };
    return cases;
}
