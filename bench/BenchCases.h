#pragma once
// Cases for the benchmarks: the bundled examples, ready to run without a
// window and without questions.

#include <string>

#include "base/MessageSink.h"
#include "case/DataEntryRunner.h"
#include "case/MorvekDoc.h"

// Messages of the run (the viscosity calibration) go nowhere, questions are
// answered No, as in batch mode with --answer nein.
using QuietSink = SilentMessageSink;

// Confirms the data-entry dialog unchanged: OnDataChange then is the
// calculation run alone.
class ConfirmingRunner : public DataEntryRunner {
public:
    bool RunModal(DataEntryValues&) override { return true; }
};
