#pragma once
// The one reservoir case: every input, every derived value and every result of
// the last calculation run. All calculations are operations of this class and
// write their results into its members; the views only read them.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "case/CaseLimits.h"

class MessageSink;
class DataEntryRunner;
class DlgInput;
struct CaseFileRecord;
class CaseArchive;

using Series = std::array<float, kSeriesLength>;

// The texts of a graph: axis titles, heading and the three legends. Each
// result run sets its own; a heading of nullptr leaves the heading as it is.
struct GraphLabels {
    const char* titelX;
    const char* titelY1;
    const char* titelY2;
    const char* ueberschrift;
    const char* legende1;
    const char* legende2;
    const char* legende3;
};

class CMorvekDoc {
public:
    CMorvekDoc();

    // --- Document life (new, reset, data entry, run) ---------------------------
    bool OnNewDocument();
    void ResetCase();
    // Shows the data-entry dialog on a copy of the inputs; on OK takes them back
    // and runs the calculation. True when the dialog ended with OK.
    bool OnDataChange();
    // Asks to save a modified case first; false when the user cancelled.
    bool OnFileNew();

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
    CaseFileRecord ToRecord() const;
    void FromRecord(CaseFileRecord record);
    // The usual question before a modified case is closed or replaced:
    // true when the caller may go on (saved, or the user said No).
    bool SaveModified();

    // --- Gas properties and report head ----------------------------------------
    void Gasprop();
    void CorrectPseudoCritical();

    // --- Gas deviation factor, gas formation volume factor, gas viscosity ----
    double Bg(float temperatur, float druck) const;
    double GasViscosity(float druck) const;
    // Gas viscosity when the caller already holds Bg at this pressure.
    double GasViscosityFromBg(double bg) const;

    // --- Oil correlations -----------------------------------------------------------
    double RsGlasoe(float druck) const;
    double RsVasquezBeggs(float druck) const;
    double RsStanding(float druck) const;
    double RsKartoatmodjo(float druck) const;
    double BoGlasoe(float druck, double rs) const;
    double BoVasquezBeggs(float druck, double rs) const;
    double BoStanding(float druck, double rs) const;
    double BoKartoatmodjo(float druck, double rs) const;
    double OilCompressibility(float druck, double rs, double gasRelDichte) const;
    double OilViscosity(float druck, double rs) const;
    float CalibrateViscosityAPI();

    // --- Oil-gravity check ------------------------------------------------------------
    float ApiFromGOR();
    void CheckOilGravity();

    // --- Result runs -----------------------------------------------------------------------
    // Every result run starts from empty series: all eight zero, no valid points,
    // so that no curve of an earlier run shows.
    void ClearSeries();
    void SetGraphLabels(const GraphLabels& labels);
    void PvtTable();
    double KrgKro(double sl) const;
    void ComputeRelPerm();
    void ComputeDepletion();
    // Whether the last run gave its result table at least one row of numbers;
    // a run that could compute nothing ends its report with " Keine sinnvolle
    // Berechnung möglich: ..." instead.
    bool HasResultTable() const;

    // --- Results file aus.txt --------------------------------------------------------
    // True when aus.txt was written (batch mode's exit status needs it).
    bool SaveResults();
    void LoadResults();

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

    // --- The case record, in its declaration order ---------------------------------
    int32_t m_bPVTAusgabe = 0;
    int32_t m_bRelPermAusgabe = 0;
    int32_t m_MaxWerte = 0;
    int32_t m_Max2Werte = 0;
    int32_t m_Max3Werte = 0;
    std::string m_TitelX;
    std::string m_TitelY1;
    std::string m_TitelY2;
    std::string m_Ueberschrift;
    std::string m_Legende1;
    std::string m_Legende2;
    std::string m_Legende3;
    std::vector<std::string> m_Messwerte;
    std::vector<std::string> m_Text;
    Series m_XWerte{};
    Series m_X2Werte{};
    Series m_Y1Werte{};
    Series m_Y2Werte{};
    Series m_Mess1XWerte{};
    Series m_Mess1YWerte{};
    Series m_Mess2XWerte{};
    Series m_Mess2YWerte{};
    float m_OOIP = 0;              // 1000 m3
    float m_Initialdruck = 0;      // bar
    float m_Temperatur = 0;        // degrees Celsius
    float m_Entloesungsdruck = 0;  // bubble-point pressure, bar
    float m_API = 0;               // degrees API
    float m_Swi = 0;
    float m_Sgc = 0;
    float m_KroMax = 0;
    float m_KrgMax = 0;
    float m_Gaskappe = 0;  // pore volume of the gas cap / pore volume of the oil zone
    float m_NuoPb = 0;     // cP at the bubble point, 0: not given
    float m_dAPI = 0;      // API shift of the viscosity calibration
    float m_Rsi = 0;       // sm3/m3, 0: not given
    std::array<float, kGasComponents> m_Gas{};  // mole percent
    double m_GasRelDichte = 0;                  // air = 1
    double m_Molgewicht = 0;
    double m_GasNormDichte = 0;  // kg/m3
    double m_Ppc = 0;            // psia
    double m_Tpc = 0;            // degrees Rankine
    double m_Epsilon = 0;        // degrees Rankine
    double m_TpcKorr = 0;        // degrees Rankine
    double m_PpcKorr = 0;        // psia
    int32_t m_Methode = 0;
    std::string m_Feldname;
    int32_t m_bGeaendert = 0;
    int32_t m_bGrafikNeu = 0;

private:
    // Gasprop, CheckOilGravity, then exactly one result run, then the views.
    void RunCalculation();
    void FillDialog(DlgInput& dialog) const;
    void TakeFromDialog(const DlgInput& dialog);

    bool m_bModified = false;
    // Rows of numbers the last prediction wrote.
    int32_t m_nPrognoseZeilen = 0;
    std::string m_strTitle;
    std::string m_strPathName;
    MessageSink* m_pMessages = nullptr;
    DataEntryRunner* m_pDataEntry = nullptr;
    std::function<bool()> m_SaveHandler;
    std::vector<std::function<void()>> m_ViewListeners;
};
