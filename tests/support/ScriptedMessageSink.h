#pragma once
// A message sink for tests: records every text shown or asked, in order, and
// answers the questions from a script (No once the script is used up).

#include <deque>
#include <string>
#include <vector>

#include "base/MessageSink.h"

class ScriptedMessageSink : public MessageSink {
public:
    struct Entry {
        enum Kind { Shown, YesNo, YesNoCancel } kind;
        std::string text;
        Answer answer;
        // Shown with the warning icon (an error or a refusal).
        bool warning = false;
    };

    void Answers(std::initializer_list<Answer> answers) {
        m_Script.insert(m_Script.end(), answers.begin(), answers.end());
    }
    void Show(const std::string& text) override { m_Log.push_back({Entry::Shown, text, Answer::Yes}); }
    void Warn(const std::string& text) override {
        m_Log.push_back({Entry::Shown, text, Answer::Yes, true});
    }
    bool AskYesNo(const std::string& text) override {
        Answer a = Next(Answer::No);
        m_Log.push_back({Entry::YesNo, text, a});
        return a == Answer::Yes;
    }
    Answer AskYesNoCancel(const std::string& text) override {
        Answer a = Next(Answer::Cancel);
        m_Log.push_back({Entry::YesNoCancel, text, a});
        return a;
    }

    const std::vector<Entry>& Log() const { return m_Log; }
    std::vector<std::string> Texts() const {
        std::vector<std::string> out;
        for (const Entry& e : m_Log) out.push_back(e.text);
        return out;
    }
    void Clear() { m_Log.clear(); }

private:
    Answer Next(Answer fallback) {
        if (m_Script.empty()) return fallback;
        Answer a = m_Script.front();
        m_Script.pop_front();
        return a;
    }
    std::deque<Answer> m_Script;
    std::vector<Entry> m_Log;
};
