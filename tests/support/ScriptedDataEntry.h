#pragma once
// A data-entry runner for tests: hands the filled dialog to a script, which
// may change members as a user would, and ends with OK or cancel.

#include <functional>

#include "case/DataEntryRunner.h"
#include "input/DlgInput.h"

class ScriptedDataEntry : public DataEntryRunner {
public:
    using Script = std::function<bool(DlgInput&)>;
    ScriptedDataEntry() : m_Script([](DlgInput&) { return true; }) {}
    explicit ScriptedDataEntry(Script script) : m_Script(std::move(script)) {}
    void SetScript(Script script) { m_Script = std::move(script); }
    bool RunModal(DlgInput& dialog) override {
        ++m_nRuns;
        m_Seen = dialog.m_Gas;
        m_SeenRowsFlag = dialog.m_bMesswerteGeaendert;
        return m_Script(dialog);
    }
    int Runs() const { return m_nRuns; }
    int SeenRowsFlag() const { return m_SeenRowsFlag; }

private:
    Script m_Script;
    int m_nRuns = 0;
    std::array<float, 15> m_Seen{};
    int m_SeenRowsFlag = -1;
};
