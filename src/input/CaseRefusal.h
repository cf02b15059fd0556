#pragma once
// The checks of the data-entry dialog's OK button on a case's inputs alone,
// without a dialog or a user: what a sweep asks of each of its samples.

#include <string>

#include "model/CaseInputs.h"

// Empty when the dialog's OK would accept the inputs; else the message it
// would show (the first failure). Safe to call on many threads at once.
std::string RefusalOfCase(const morvek::CaseInputs& inputs);
