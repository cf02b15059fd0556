#include "input/DlgInput.h"

#include "base/MessageSink.h"
#include "input/ExchangeTable.h"

namespace {

class NoMessages : public MessageSink {
public:
    void Show(const std::string&) override {}
    bool AskYesNo(const std::string&) override { return false; }
    Answer AskYesNoCancel(const std::string&) override { return Answer::Cancel; }
};

}  // namespace

DlgInput::DlgInput() = default;

void DlgInput::SetPorts(MessageSink* sink, Controls* controls, FileChooser* chooser) {
    m_pMessages = sink;
    m_pControls = controls;
    m_pFileChooser = chooser;
}

MessageSink& DlgInput::Messages() const {
    static NoMessages none;
    return m_pMessages != nullptr ? *m_pMessages : none;
}

void DlgInput::GasMembersFromArray() {
    for (int i = 0; i < kGasComponents; ++i) this->*kGasMembers[i] = m_Gas[i];
}

void DlgInput::GasArrayFromMembers() {
    for (int i = 0; i < kGasComponents; ++i) m_Gas[i] = this->*kGasMembers[i];
}
