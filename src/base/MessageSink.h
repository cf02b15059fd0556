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
    virtual bool AskYesNo(const std::string& text) = 0;
    virtual Answer AskYesNoCancel(const std::string& text) = 0;
};
