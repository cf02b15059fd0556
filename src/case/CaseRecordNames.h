#pragma once
// The case record's names (m_OOIP, m_Entloesungsdruck, ...) that the dialog,
// the case file and the command line use, for the fields of one set of the
// engine's inputs, which hold the values. The document and the dialog both
// name their inputs so.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "case/CaseLimits.h"
#include "model/CaseInputs.h"

struct CaseRecordNames {
    explicit CaseRecordNames(morvek::CaseInputs& c)
        : m_OOIP(c.ooip1000m3),
          m_Initialdruck(c.initialPressureBar),
          m_Temperatur(c.temperatureC),
          m_Entloesungsdruck(c.bubblePointPressureBar),
          m_API(c.apiGravity),
          m_Swi(c.connateWaterSaturation),
          m_Sgc(c.criticalGasSaturation),
          m_KroMax(c.kroMax),
          m_KrgMax(c.krgMax),
          m_Gaskappe(c.gasCapRatio),
          m_NuoPb(c.oilViscosityAtBubblePointCp),
          m_Rsi(c.initialGorSm3PerM3),
          m_Cf(c.poreCompressibilityPerBar),
          m_Cw(c.waterCompressibilityPerBar),
          m_Gas(c.gasMolePercent),
          m_Methode(c.correlation),
          m_Feldname(c.fieldName),
          m_Messwerte(c.measuredRows) {}
    // A copy names its own inputs: its holder passes them.
    CaseRecordNames(const CaseRecordNames&) = delete;

    float& m_OOIP;              // 1000 m3
    float& m_Initialdruck;      // bar
    float& m_Temperatur;        // degrees Celsius
    float& m_Entloesungsdruck;  // bar
    float& m_API;               // degrees API
    float& m_Swi;
    float& m_Sgc;
    float& m_KroMax;
    float& m_KrgMax;
    float& m_Gaskappe;
    float& m_NuoPb;                            // cP, 0: not given
    float& m_Rsi;                              // sm3/m3, 0: not given
    float& m_Cf;                               // 1/bar
    float& m_Cw;                               // 1/bar
    std::array<float, kGasComponents>& m_Gas;  // mole percent
    int32_t& m_Methode;
    std::string& m_Feldname;
    std::vector<std::string>& m_Messwerte;
};
