#include "input/CaseSetting.h"

#include <cstdint>

#include "base/Format.h"
#include "base/MessageSink.h"
#include "base/NumberText.h"
#include "base/PrintableText.h"
#include "case/MorvekDoc.h"
#include "input/DlgInput.h"
#include "input/ExchangeTable.h"
#include "model/FieldTable.h"

namespace {

int32_t* IntInputOf(CMorvekDoc& doc, const ExchangeField& field) {
    if (field.field != nullptr) return &(doc.m_Inputs.*field.field->choice);
    if (field.intMember == &DlgInput::m_bPVTAusgabe) return &doc.m_bPVTAusgabe;
    if (field.intMember == &DlgInput::m_bRelPermAusgabe) return &doc.m_bRelPermAusgabe;
    return nullptr;
}

const ExchangeField* CaseField(const std::string& name) {
    for (const ExchangeField& f : ExchangeTable()) {
        if (f.caseMember != nullptr && name == f.caseMember) return &f;
    }
    return nullptr;
}

std::string CaseMemberNames() {
    std::string names;
    for (const ExchangeField& f : ExchangeTable()) {
        if (f.caseMember == nullptr) continue;
        if (!names.empty()) names += ", ";
        names += f.caseMember;
    }
    return names;
}

}  // namespace

bool ParseSmallInt(const std::string& text, int lo, int hi, int32_t& value) {
    size_t begin = text.find_first_not_of(" \t");
    size_t end = text.find_last_not_of(" \t");
    if (begin == std::string::npos) return false;
    std::string digits = text.substr(begin, end - begin + 1);
    if (digits.empty() || digits.size() > 3) return false;
    int v = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v < lo || v > hi) return false;
    value = v;
    return true;
}

namespace {

// Puts the assignment in front of the dialog's message, so that a script's
// author sees which --set was refused.
class PrefixedSink : public MessageSink {
public:
    PrefixedSink(MessageSink& sink, std::string prefix)
        : m_Sink(sink), m_Prefix(std::move(prefix)) {}
    void Show(const std::string& text) override { m_Sink.Show(m_Prefix + text); }
    bool AskYesNo(const std::string& text) override { return m_Sink.AskYesNo(m_Prefix + text); }
    Answer AskYesNoCancel(const std::string& text) override {
        return m_Sink.AskYesNoCancel(m_Prefix + text);
    }

private:
    MessageSink& m_Sink;
    std::string m_Prefix;
};

// An input the data-entry dialog does not hold (the aquifer's), by its
// record or English name, checked against the field table's range or
// choices.
bool ApplyOwnDialogSetting(CMorvekDoc& doc, const std::string& assignment,
                           const std::string& name, const std::string& text, MessageSink& sink) {
    const morvek::Field* f = morvek::FindField(name);
    if (f == nullptr || f->controlId != 0) {
        std::string names = CaseMemberNames();
        for (const morvek::Field& other : morvek::FieldTable())
            if (other.controlId == 0) names += std::string(", ") + other.recordName;
        sink.Show(Format("--set: unbekannter Name \"%s\".\nMögliche Namen: %s",
                         EscapedText(name).c_str(), names.c_str()));
        return false;
    }
    const std::string prefix = Format("--set %s: ", EscapedText(assignment).c_str());
    if (f->kind == morvek::FieldKind::Choice) {
        const int index = morvek::ChoiceIndex(*f, text);
        if (index < 0) {
            sink.Show(prefix + morvek::ChoiceMessage(*f));
            return false;
        }
        doc.m_Inputs.*f->choice = index;
        return true;
    }
    float value = 0;
    if (f->date) {
        if (const std::string problem = morvek::ParseDateField(*f, text, value); !problem.empty()) {
            sink.Show(prefix + problem);
            return false;
        }
        f->Number(doc.m_Inputs) = value;
        return true;
    }
    if (!ParseFloatStrict(text, value)) {
        sink.Show(prefix + morvek::NotANumberMessage(*f) + DecimalPointHint(text));
        return false;
    }
    if (const std::string problem = morvek::CheckNumber(*f, value); !problem.empty()) {
        sink.Show(prefix + problem);
        return false;
    }
    f->Number(doc.m_Inputs) = value;
    return true;
}

}  // namespace

bool ApplyCaseSetting(CMorvekDoc& doc, const std::string& assignment, MessageSink& sink) {
    const size_t eq = assignment.find('=');
    if (eq == std::string::npos) {
        sink.Show(
            Format("--set erwartet NAME=WERT, nicht \"%s\".", EscapedText(assignment).c_str()));
        return false;
    }
    const std::string name = assignment.substr(0, eq);
    const std::string text = assignment.substr(eq + 1);
    const ExchangeField* field = CaseField(name);
    float* floatTarget = nullptr;
    int32_t* intTarget = nullptr;
    bool known = false;
    if (field != nullptr) {
        switch (field->kind) {
            case FieldKind::Float:
                floatTarget = &field->field->Number(doc.m_Inputs);
                known = true;
                break;
            case FieldKind::Text:
                known = true;
                break;
            case FieldKind::Radio:
            case FieldKind::Check:
                intTarget = IntInputOf(doc, *field);
                known = intTarget != nullptr;
                break;
            case FieldKind::Static:
                break;
        }
    }
    if (!known) return ApplyOwnDialogSetting(doc, assignment, name, text, sink);
    PrefixedSink prefixed(sink, Format("--set %s: ", EscapedText(assignment).c_str()));

    switch (field->kind) {
        case FieldKind::Float: {
            float value = 0;
            if (!ParseFieldValue(*field, text, value, prefixed)) return false;
            *floatTarget = value;
            return true;
        }
        case FieldKind::Text:
            return ParseFieldText(*field, text, doc.m_Inputs.*field->field->text, prefixed);
        case FieldKind::Radio: {
            int32_t value = 0;
            if (!ParseSmallInt(text, 0, 3, value)) {
                prefixed.Show(CorrelationChoiceMessage(*field));
                return false;
            }
            *intTarget = value;
            return true;
        }
        case FieldKind::Check: {
            int32_t value = 0;
            if (!ParseSmallInt(text, 0, 1, value)) {
                prefixed.Show(
                    Format("Bitte 0 oder 1 eingeben: \"%s\".", FieldCaption(*field).c_str()));
                return false;
            }
            *intTarget = value;
            // The two output boxes exclude each other, as in the dialog.
            if (value == 1) {
                if (intTarget == &doc.m_bPVTAusgabe) doc.m_bRelPermAusgabe = 0;
                if (intTarget == &doc.m_bRelPermAusgabe) doc.m_bPVTAusgabe = 0;
            }
            return true;
        }
        case FieldKind::Static:
            break;
    }
    return false;
}
