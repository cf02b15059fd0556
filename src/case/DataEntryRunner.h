#pragma once
// The port through which the case runs its data-entry dialog: the case hands
// over what the dialog edits and takes it back on OK. In the window the
// dialog widget edits it, in batch mode the OK checks alone look at it. The
// case knows no dialog: the runner builds it.

#include <cstdint>

#include "model/CaseInputs.h"

// What the data-entry dialog edits.
struct DataEntryValues {
    morvek::CaseInputs inputs;
    int32_t pvtOutput = 0;      // "PVT-Daten ausgeben"
    int32_t relPermOutput = 0;  // "Relative Permeabilitäten ausgeben"
    // Set when the measured rows were changed since the graph last took them.
    int32_t rowsChanged = 0;
    // A new case: the dialog says what to enter first.
    bool newCase = false;
};

class DataEntryRunner {
public:
    virtual ~DataEntryRunner() = default;
    // True when the dialog ended with OK; values then hold what it took.
    virtual bool RunModal(DataEntryValues& values) = 0;
};
