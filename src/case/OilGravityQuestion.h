#pragma once
// The questions of the oil-gravity check, asked before a run: with a measured
// initial gas-oil ratio the user decides whether the run takes the API gravity
// that reproduces it.

#include "model/CaseInputs.h"

class MessageSink;

// Glasoe first asks whether its value is to be used at all; every correlation
// then shows the old and the new value and asks whether to change. A gravity
// outside what the dialog accepts is not offered; the user is told why. True
// when the user chose the back-calculated gravity.
bool AskForApiFromInitialGor(const morvek::CaseInputs& inputs, double gasRelativeDensity,
                             MessageSink& sink);
