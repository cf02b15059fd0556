#include "input/CaseRefusal.h"

#include "base/MessageSink.h"
#include "input/DlgInput.h"
#include "input/InputChecks.h"

std::string RefusalOfCase(const morvek::CaseInputs& inputs) {
    DlgInput dialog;
    dialog.m_Inputs = inputs;
    FirstMessageSink message;
    // As batch mode's data entry runs them: what reading the controls would
    // check, then the OK button's checks.
    if (CheckFieldValues(dialog, message) && CheckDialogInputs(dialog, message)) return "";
    return message.Text().empty() ? std::string("Die Eingabe wird abgelehnt.") : message.Text();
}
