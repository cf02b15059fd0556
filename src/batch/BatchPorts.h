#pragma once
// Batch mode's adapters of the engine's ports: messages go to stderr, the
// answer to every Yes/No question comes from the command line, and the data
// entry runs the checks of the dialog's OK button without any widget.

#include <ostream>

#include "base/MessageSink.h"
#include "case/DataEntryRunner.h"

class BatchMessageSink : public MessageSink {
public:
    BatchMessageSink(std::ostream& err, bool answerYes) : m_Err(err), m_bAnswerYes(answerYes) {}
    void Show(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    Answer AskYesNoCancel(const std::string& text) override;

private:
    std::ostream& m_Err;
    bool m_bAnswerYes;
};

class BatchDataEntryRunner : public DataEntryRunner {
public:
    explicit BatchDataEntryRunner(MessageSink& sink) : m_Sink(sink) {}
    bool RunModal(DataEntryValues& values) override;
    // True when the last run refused the case.
    bool Refused() const { return m_bRefused; }

private:
    MessageSink& m_Sink;
    bool m_bRefused = false;
};
