#pragma once
// The checks of the data-entry dialog's OK button, on the dialog's members as
// they stand. The dialog runs them after reading its controls; batch mode runs
// them on the case it loaded. There is one copy of them, here.

class DlgInput;
class MessageSink;

// Measured rows against oil in place and initial pressure, bubble point
// against initial pressure, Swi + Sgc < 1, Swi > 0, a composition, the API
// gravity and a chosen correlation, and a PVT table that covers the initial
// pressure, reaches down to the bubble point and holds a gas below it. Shows
// the first failure and returns false; failedControl (when given) then names
// the control that holds the value to correct (0: none in particular). The
// numbers in a message show as many decimals as it takes to tell them apart.
bool CheckDialogInputs(const DlgInput& dialog, MessageSink& sink, int* failedControl = nullptr);

// What reading the controls would check, for members that did not come from
// controls (batch mode): every number finite, every bounded one in range.
bool CheckFieldValues(const DlgInput& dialog, MessageSink& sink);
