#pragma once
// The document of the window and of batch mode: the inputs of one case, the
// results of its last run, its title, path and modified mark. Calculations
// are the engine's (report/CaseRun.h); the document asks the user what a run
// needs decided, runs it, and keeps what the views show.
//
// The members keep the case record's names (m_OOIP, m_Entloesungsdruck, ...)
// that the dialog, the case file and the command line use; they name the
// fields of the engine's structs, which hold the values.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "case/CaseLimits.h"
#include "case/CaseRecordNames.h"
#include "model/CaseInputs.h"
#include "report/CaseRun.h"
#include "report/GraphSeries.h"

class MessageSink;
class DataEntryRunner;
struct DataEntryValues;
class CaseArchive;

using Series = morvek::Series;

// What a change of the case changes: the inputs and the two output check
// boxes (an undo step puts them back).
struct CaseState {
    morvek::CaseInputs inputs;
    int32_t pvtOutput = 0;
    int32_t relPermOutput = 0;
    bool operator==(const CaseState& o) const {
        return inputs == o.inputs && pvtOutput == o.pvtOutput && relPermOutput == o.relPermOutput;
    }
};

// Told of every change of the case: the state before and after it and what
// the change was ("Daten ändern"); told with what empty when the case is
// replaced (new, opened), so that no change before reaches past it.
using CaseChangeListener =
    std::function<void(const CaseState& before, const CaseState& after, const std::string& what)>;

// What a document holds; the document below adds the case record's names.
struct MorvekDocData {
    morvek::CaseInputs m_Inputs;
    morvek::GraphSeries m_Graph;
    std::vector<std::string> m_Text;  // the report lines of the last run
    int32_t m_bPVTAusgabe = 0;
    int32_t m_bRelPermAusgabe = 0;
    int32_t m_bGeaendert = 0;
    int32_t m_bGrafikNeu = 0;
    // The last run's results, when the shown report and graph come from one.
    std::optional<morvek::CaseRun> m_LastRun;

    bool m_bModified = false;
    std::string m_strTitle;
    std::string m_strPathName;
    MessageSink* m_pMessages = nullptr;
    DataEntryRunner* m_pDataEntry = nullptr;
    std::function<bool()> m_SaveHandler;
    std::vector<std::function<void()>> m_ViewListeners;
    CaseChangeListener m_ChangeListener;
};

class CMorvekDoc : private MorvekDocData, public CaseRecordNames {
public:
    CMorvekDoc();
    // A copy holds its own values; the names refer to its own storage.
    CMorvekDoc(const CMorvekDoc& other) : MorvekDocData(other), CaseRecordNames(m_Inputs) {}
    CMorvekDoc& operator=(const CMorvekDoc& other) {
        MorvekDocData::operator=(other);
        return *this;
    }

    // --- Document life (new, reset, data entry, run) ---------------------------
    bool OnNewDocument();
    void ResetCase();
    // Shows the data-entry dialog on a copy of the inputs; on OK takes them back
    // and runs the calculation. True when the dialog ended with OK.
    bool OnDataChange();
    // Asks to save a modified case first; false when the user cancelled.
    bool OnFileNew();
    // The calculation of the dialog's OK on the inputs as they stand: the
    // oil-gravity question, then the result the output flags choose; the views
    // are told afterwards. Without asking (an undo step) the run takes the
    // gravity the case holds and shows no notes.
    void RunCalculation(bool ask = true);

    // --- Changes and their undoing ------------------------------------------------------
    CaseState State() const;
    void SetChangeListener(CaseChangeListener listener) { m_ChangeListener = std::move(listener); }
    // A change made elsewhere than in the data-entry dialog (a match's
    // "Übernehmen", the settings a study ran with): the case takes the inputs,
    // is marked modified, tells its change listener and, with run, computes.
    // Nothing happens when the inputs are those the case holds.
    void ChangeInputs(const morvek::CaseInputs& inputs, const std::string& what, bool run);
    // An undo or redo step: the case takes the state back and is computed
    // anew when it showed results (without results the views are told).
    void RestoreState(const CaseState& state);

    // --- Case file ------------------------------------------------------------------
    // Loads all or nothing: a damaged file changes nothing and is reported.
    // After loading, the data-entry dialog opens as after "Neu".
    bool OnOpenDocument(const std::string& path);
    // Only the loading part of opening: the inputs of the file, all or nothing,
    // without the data-entry dialog (batch mode changes inputs before the run).
    bool ReadCaseFile(const std::string& path);
    // Writes beside the target and renames it over, so a failed save keeps the
    // earlier file; reports failure through the message sink.
    bool OnSaveDocument(const std::string& path);
    // Stores the inputs into the archive or loads them from it; loading
    // changes the case only when the whole file was read.
    bool Serialize(CaseArchive& ar);
    // The usual question before a modified case is closed or replaced:
    // true when the caller may go on (saved, or the user said No).
    bool SaveModified();

    // --- Oil-gravity check ------------------------------------------------------------
    // With a measured initial gas-oil ratio: asks whether the run takes the API
    // gravity that reproduces it (or says why none is offered). True when the
    // user chose the back-calculated gravity.
    bool CheckOilGravity();

    // --- Results -----------------------------------------------------------------------
    // Which result the output flags choose (the table of the relative
    // permeabilities wins over the PVT table).
    morvek::ResultKind ResultKind() const;
    // Shows a run: its report lines and graph become the document's.
    void TakeRun(morvek::CaseRun run);
    const std::optional<morvek::CaseRun>& LastRun() const { return m_LastRun; }
    // Whether the last run has a result: a prediction whose report ends with
    // " Morvek Berechnung abgeschlossen", a table with a row of numbers. A run
    // that could compute nothing ends its report with " Keine sinnvolle
    // Berechnung möglich: ..." or without the closing line instead.
    bool HasResultTable() const;

    // --- What the document framework would hold ------------------------------------
    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true) { m_bModified = modified; }
    const std::string& GetTitle() const { return m_strTitle; }
    void SetTitle(const std::string& title) { m_strTitle = title; }
    const std::string& GetPathName() const { return m_strPathName; }
    // Sets the path and, as a document framework does, the title to the file's
    // name with its extension.
    void SetPathName(const std::string& path);

    void SetMessageSink(MessageSink* sink);
    MessageSink& Messages() const;
    void SetDataEntryRunner(DataEntryRunner* runner) { m_pDataEntry = runner; }
    // Saves the case when the user answers Yes to SaveModified (the window asks
    // for a file name when the case has none yet).
    void SetSaveHandler(std::function<bool()> handler) { m_SaveHandler = std::move(handler); }
    // Views register here and redraw from the case when the run is done.
    void AddViewListener(std::function<void()> listener);
    void UpdateAllViews();

    // --- The case: inputs, report, graph ----------------------------------------------
    using MorvekDocData::m_bGeaendert;
    using MorvekDocData::m_bGrafikNeu;
    using MorvekDocData::m_bPVTAusgabe;
    using MorvekDocData::m_bRelPermAusgabe;
    using MorvekDocData::m_Graph;
    using MorvekDocData::m_Inputs;
    using MorvekDocData::m_Text;

    // The graph by the names the views use.
    int32_t& m_MaxWerte = m_Graph.curvePoints;
    int32_t& m_Max2Werte = m_Graph.measuredPoints;
    int32_t& m_Max3Werte = m_Graph.measuredGorPoints;
    std::string& m_TitelX = m_Graph.labels.titleX;
    std::string& m_TitelY1 = m_Graph.labels.titleY1;
    std::string& m_TitelY2 = m_Graph.labels.titleY2;
    std::string& m_Ueberschrift = m_Graph.labels.heading;
    std::string& m_Legende1 = m_Graph.labels.legend1;
    std::string& m_Legende2 = m_Graph.labels.legend2;
    std::string& m_Legende3 = m_Graph.labels.legend3;
    Series& m_XWerte = m_Graph.x;
    Series& m_X2Werte = m_Graph.x2;
    Series& m_Y1Werte = m_Graph.y1;
    Series& m_Y2Werte = m_Graph.y2;
    Series& m_Mess1XWerte = m_Graph.measuredX;
    Series& m_Mess1YWerte = m_Graph.measuredY;
    Series& m_Mess2XWerte = m_Graph.measuredGorX;
    Series& m_Mess2YWerte = m_Graph.measuredGorY;

private:
    DataEntryValues ForDialog() const;
    void TakeFromDialog(const DataEntryValues& values);
    // Empties the report and every series and lets the views show that: the
    // results of one case never stand under another.
    void DropResults();
    // Tells the change listener, when the state changed.
    void TellChange(const CaseState& before, const std::string& what);
};
