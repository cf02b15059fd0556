#include "input/CaseRefusal.h"

#include "base/MessageSink.h"
#include "input/DlgInput.h"
#include "input/InputChecks.h"

namespace {

// Keeps the first message; every question is answered No.
class FirstMessage : public MessageSink {
public:
    void Show(const std::string& text) override {
        if (m_Text.empty()) m_Text = text;
    }
    bool AskYesNo(const std::string&) override { return false; }
    Answer AskYesNoCancel(const std::string&) override { return Answer::Cancel; }
    const std::string& Text() const { return m_Text; }

private:
    std::string m_Text;
};

}  // namespace

std::string RefusalOfCase(const morvek::CaseInputs& inputs) {
    DlgInput dialog;
    dialog.m_Inputs = inputs;
    FirstMessage message;
    // As batch mode's data entry runs them: what reading the controls would
    // check, then the OK button's checks.
    if (CheckFieldValues(dialog, message) && CheckDialogInputs(dialog, message)) return "";
    return message.Text().empty() ? std::string("Die Eingabe wird abgelehnt.") : message.Text();
}
