#pragma once
// How the engine talks to the user: a message with an OK button, a Yes/No
// question, or the Yes/No/Cancel question before a modified case is dropped.
// The window shows message boxes, batch mode writes to stderr and answers from
// the command line, the tests script the answers.

#include <string>

enum class Answer { Yes, No, Cancel };

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void Show(const std::string& text) = 0;
    // A message that refuses input or warns of it: the window shows it with
    // the warning icon; everywhere else it is a message like any other.
    virtual void Warn(const std::string& text) { Show(text); }
    virtual bool AskYesNo(const std::string& text) = 0;
    virtual Answer AskYesNoCancel(const std::string& text) = 0;
};

// For whoever has no user to ask: messages go nowhere, every question is
// answered No (Abbrechen where that can be chosen), which never changes
// anything.
class SilentMessageSink : public MessageSink {
public:
    void Show(const std::string&) override {}
    bool AskYesNo(const std::string&) override { return false; }
    Answer AskYesNoCancel(const std::string&) override { return Answer::Cancel; }
};

// Keeps the first message it is shown (for a step that reports one fault at
// its end); every question is answered No, which never changes anything.
class FirstMessageSink : public SilentMessageSink {
public:
    void Show(const std::string& text) override {
        if (m_Text.empty()) m_Text = text;
    }
    const std::string& Text() const { return m_Text; }

private:
    std::string m_Text;
};

// One shared silent sink for objects that have none of their own yet.
MessageSink& SilentMessages();
