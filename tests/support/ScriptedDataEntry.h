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
    bool RunModal(DataEntryValues& values) override {
        ++m_nRuns;
        DlgInput dialog;
        FillDialog(dialog, values);
        m_Seen = dialog.m_Gas;
        m_SeenRowsFlag = dialog.m_bMesswerteGeaendert;
        if (!m_Script(dialog)) return false;
        TakeFromDialog(dialog, values);
        return true;
    }
    int Runs() const { return m_nRuns; }
    int SeenRowsFlag() const { return m_SeenRowsFlag; }

private:
    Script m_Script;
    int m_nRuns = 0;
    std::array<float, 15> m_Seen{};
    int m_SeenRowsFlag = -1;
};
