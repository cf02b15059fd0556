#include "batch/BatchPorts.h"

#include "input/DlgInput.h"
#include "input/InputChecks.h"

void BatchMessageSink::Show(const std::string& text) {
    m_Err << text << '\n' << std::flush;
}

bool BatchMessageSink::AskYesNo(const std::string& text) {
    m_Err << text << '\n' << "-> " << (m_bAnswerYes ? "ja" : "nein") << '\n' << std::flush;
    return m_bAnswerYes;
}

Answer BatchMessageSink::AskYesNoCancel(const std::string& text) {
    m_Err << text << '\n' << "-> " << (m_bAnswerYes ? "ja" : "nein") << '\n' << std::flush;
    return m_bAnswerYes ? Answer::Yes : Answer::No;
}

bool BatchDataEntryRunner::RunModal(DataEntryValues& values) {
    DlgInput dialog;
    FillDialog(dialog, values);
    m_bRefused = !(CheckFieldValues(dialog, m_Sink) && CheckDialogInputs(dialog, m_Sink));
    return !m_bRefused;
}
