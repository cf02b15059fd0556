#pragma once
// What the data-entry tests put in place of the dialog's widgets: controls
// held in maps that record where the focus went, a file chooser that answers
// from the test, and the dialog exactly as a case fills it.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ExampleCases.h"
#include "case/DataEntryRunner.h"
#include "case/MorvekDoc.h"
#include "input/Controls.h"
#include "input/DlgInput.h"
#include "input/ExchangeTable.h"
#include "input/FileChooser.h"
#include "support/ScriptedMessageSink.h"

class FakeControls : public Controls {
public:
    std::string Text(int id) const override {
        auto it = texts.find(id);
        return it == texts.end() ? std::string() : it->second;
    }
    void SetText(int id, const std::string& text) override { texts[id] = text; }
    int CheckedRadio(int firstId) const override {
        auto it = radios.find(firstId);
        return it == radios.end() ? -1 : it->second;
    }
    void SetCheckedRadio(int firstId, int index) override { radios[firstId] = index; }
    bool IsChecked(int id) const override {
        auto it = checks.find(id);
        return it != checks.end() && it->second;
    }
    void SetChecked(int id, bool checked) override { checks[id] = checked; }
    void SetFocus(int id) override { focus.push_back(id); }
    void FocusNextControl() override { ++focusMovedOn; }

    std::map<int, std::string> texts;
    std::map<int, int> radios;
    std::map<int, bool> checks;
    std::vector<int> focus;
    int focusMovedOn = 0;
};

class ScriptedFileChooser : public FileChooser {
public:
    explicit ScriptedFileChooser(std::optional<std::string> answer) : m_Answer(std::move(answer)) {}
    std::optional<std::string> ChooseFileToOpen(const std::string& defaultExtension,
                                                const std::string& initialName) override {
        asked.push_back(defaultExtension + "|" + initialName);
        return m_Answer;
    }
    std::vector<std::string> asked;

private:
    std::optional<std::string> m_Answer;
};

// Runs a test's steps on the dialog the case filled, as the dialog widget
// would, and ends it with OK when the steps say so.
class ScriptedDataEntry : public DataEntryRunner {
public:
    template <typename Steps>
    explicit ScriptedDataEntry(Steps steps) : m_Steps(std::move(steps)) {}
    bool RunModal(DataEntryValues& values) override {
        DlgInput dialog;
        FillDialog(dialog, values);
        if (!m_Steps(dialog)) return false;
        TakeFromDialog(dialog, values);
        return true;
    }

private:
    std::function<bool(DlgInput&)> m_Steps;
};

// The dialog as "Daten ändern" fills it from the case.
inline DlgInput DialogFilledFrom(CMorvekDoc& doc) {
    DlgInput copy;
    ScriptedDataEntry capture([&copy](DlgInput& d) {
        copy = d;
        return false;
    });
    doc.SetDataEntryRunner(&capture);
    doc.OnDataChange();
    doc.SetDataEntryRunner(nullptr);
    return copy;
}

// The dialog opened on a case and shown on fake controls: the Nordfeld case,
// valid as it stands, or a new case, whose oil in place of 0 stops every
// reading of the controls.
enum class StartCase { Nordfeld, New };

struct OpenDialog {
    explicit OpenDialog(StartCase start = StartCase::Nordfeld) {
        if (start == StartCase::New)
            doc.OnNewDocument();
        else
            FillNordfeld(doc);
        dialog = DialogFilledFrom(doc);
        dialog.SetPorts(&sink, &controls, nullptr);
        dialog.OnInitDialog();
    }
    // Types text into the field of a dialog or case member.
    void Type(const std::string& member, const std::string& text) {
        controls.texts[FindField(member)->controlId] = text;
    }

    CMorvekDoc doc;
    DlgInput dialog;
    FakeControls controls;
    ScriptedMessageSink sink;
};

// Control ids of the dialog that the tests address.
namespace ctl {
inline constexpr int kFeldname = 1001;
inline constexpr int kH2S = 1002;
inline constexpr int kOOIP = 1019;
inline constexpr int kInitialdruck = 1020;
inline constexpr int kAPI = 1022;
inline constexpr int kKrgMax = 1026;
inline constexpr int kMethode = 1028;
inline constexpr int kSumme = 1033;
inline constexpr int kZeile = 1034;
inline constexpr int kZeilenModus = 1035;
inline constexpr int kStatus = 1039;
inline constexpr int kPVT = 1040;
inline constexpr int kRelPerm = 1044;
}  // namespace ctl
