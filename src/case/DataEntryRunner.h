#pragma once
// Runs the data-entry dialog modally on the dialog object the case has filled:
// in the window the dialog widget, in batch mode the OK checks alone.

class DlgInput;

class DataEntryRunner {
public:
    virtual ~DataEntryRunner() = default;
    // True when the dialog ended with OK; the case then takes its members back.
    virtual bool RunModal(DlgInput& dialog) = 0;
};
