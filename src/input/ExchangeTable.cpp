#include "input/ExchangeTable.h"

#include <algorithm>

#include "base/Cp1252.h"
#include "base/Format.h"
#include "base/MessageSink.h"
#include "base/NumberText.h"
#include "base/PrintableText.h"
#include "case/CaseLimits.h"
#include "input/DlgInput.h"

namespace {

ExchangeField OfCase(const morvek::Field& f) {
    FieldKind kind = FieldKind::Float;
    if (f.kind == morvek::FieldKind::Text) kind = FieldKind::Text;
    if (f.kind == morvek::FieldKind::Choice) kind = FieldKind::Radio;
    const char* member = f.dialogMember != nullptr ? f.dialogMember : f.recordName;
    return {f.controlId, kind,    f.label,   member, f.recordName, &f,
            nullptr,     nullptr, f.bounded, f.min,  f.max,        f.minExclusive};
}

ExchangeField OwnText(int id, FieldKind kind, const char* label, const char* member,
                      std::string DlgInput::*m) {
    return {id, kind, label, member, nullptr, nullptr, m, nullptr, false, 0, 0, false};
}

ExchangeField OwnInt(int id, FieldKind kind, const char* label, const char* member,
                     const char* caseMember, int32_t DlgInput::*m) {
    return {id, kind, label, member, caseMember, nullptr, nullptr, m, false, 0, 0, false};
}

struct Placed {
    int order;
    ExchangeField field;
};

std::vector<ExchangeField> MakeTable() {
    std::vector<Placed> placed;
    for (const morvek::Field& f : morvek::FieldTable())
        if (f.controlId != 0)  // the aquifer's inputs have a dialog of their own
            placed.push_back({f.dialogOrder, OfCase(f)});
    placed.push_back(
        {27, OwnText(1033, FieldKind::Static, "SUMME", "m_strSumme", &DlgInput::m_strSumme)});
    placed.push_back({28, OwnInt(1035, FieldKind::Radio, "Zeilenmodus", "m_nZeilenModus", nullptr,
                                 &DlgInput::m_nZeilenModus)});
    placed.push_back(
        {29, OwnText(1034, FieldKind::Text, "Meßwertzeile", "m_strZeile", &DlgInput::m_strZeile)});
    placed.push_back(
        {30, OwnText(1039, FieldKind::Static, "Status", "m_strStatus", &DlgInput::m_strStatus)});
    placed.push_back({31, OwnInt(1040, FieldKind::Check, "PVT-Daten ausgeben", "m_bPVTAusgabe",
                                 "m_bPVTAusgabe", &DlgInput::m_bPVTAusgabe)});
    placed.push_back(
        {34, OwnInt(1044, FieldKind::Check, "Relative Permeabilitäten ausgeben",
                    "m_bRelPermAusgabe", "m_bRelPermAusgabe", &DlgInput::m_bRelPermAusgabe)});
    // Where the fluid properties and the relative permeabilities come from.
    placed.push_back({37, OwnText(1047, FieldKind::Static, "PVT-Daten", "m_strPvtQuelle",
                                  &DlgInput::m_strPvtQuelle)});
    placed.push_back({38, OwnText(1048, FieldKind::Static, "Rel. Permeabilitäten",
                                  "m_strRelPermQuelle", &DlgInput::m_strRelPermQuelle)});
    std::stable_sort(placed.begin(), placed.end(),
                     [](const Placed& a, const Placed& b) { return a.order < b.order; });
    std::vector<ExchangeField> table;
    for (const Placed& p : placed) table.push_back(p.field);
    return table;
}

}  // namespace

float& ExchangeField::Float(DlgInput& d) const {
    return field->Number(d.m_Inputs);
}

float ExchangeField::Float(const DlgInput& d) const {
    return field->Number(d.m_Inputs);
}

std::string& ExchangeField::Text(DlgInput& d) const {
    return field != nullptr ? d.m_Inputs.*field->text : d.*textMember;
}

int32_t& ExchangeField::Int(DlgInput& d) const {
    return field != nullptr ? d.m_Inputs.*field->choice : d.*intMember;
}

const std::vector<ExchangeField>& ExchangeTable() {
    static const std::vector<ExchangeField> table = MakeTable();
    return table;
}

const ExchangeField* FindField(const std::string& name) {
    for (const ExchangeField& f : ExchangeTable()) {
        if (name == f.member || (f.caseMember != nullptr && name == f.caseMember)) return &f;
    }
    return nullptr;
}

std::string FieldCaption(const ExchangeField& field) {
    return morvek::CaptionOfLabel(field.label);
}

std::string NotANumberMessage(const ExchangeField& field) {
    return morvek::NotANumberMessage(FieldCaption(field));
}

std::string OutOfRangeMessage(const ExchangeField& field) {
    return morvek::OutOfRangeMessage(field.min, field.max, field.minExclusive, FieldCaption(field));
}

std::string UnstorableTextMessage(const ExchangeField& field) {
    return Format(
        "Das Feld \"%s\" enthält ein Zeichen, das nicht gespeichert werden kann.\n"
        "Bitte nur westeuropäische Zeichen verwenden.",
        FieldCaption(field).c_str());
}

std::string UnstorableTextMessage(const ExchangeField& field, const std::string& text) {
    const std::string character = FirstUnstorableCharacter(text);
    if (character.empty()) return UnstorableTextMessage(field);
    return Format(
        "Das Feld \"%s\" enthält das Zeichen \"%s\", das nicht gespeichert werden kann.\n"
        "Bitte nur westeuropäische Zeichen verwenden.",
        FieldCaption(field).c_str(), ShownCharacter(character).c_str());
}

bool InFieldRange(const ExchangeField& field, float value) {
    if (field.field != nullptr) return field.field->InRange(value);
    return !field.bounded || (value >= field.min && value <= field.max);
}

std::string ControlCharacterMessage(const ExchangeField& field, const std::string& code) {
    return Format(
        "Das Feld \"%s\" enthält ein Steuerzeichen (%s).\n"
        "Bitte nur druckbare Zeichen in einer Zeile eingeben.",
        FieldCaption(field).c_str(), code.c_str());
}

std::string CorrelationChoiceMessage(const ExchangeField& field) {
    return Format(
        "Bitte 0 (Glasoe), 1 (Vasquez & Beggs), 2 (Standing) oder 3 (Kartoatmodjo & Schmidt) "
        "eingeben: \"%s\".",
        FieldCaption(field).c_str());
}

bool ParseFieldValue(const ExchangeField& field, const std::string& text, float& value,
                     MessageSink& sink, bool decimalComma) {
    float parsed = 0.0f;
    if (decimalComma ? !ParseFloatWithDecimalComma(text, parsed) : !ParseFloatStrict(text, parsed)) {
        sink.Show(NotANumberMessage(field) +
                  (decimalComma ? DecimalSignHint(text) : DecimalPointHint(text)));
        return false;
    }
    if (!InFieldRange(field, parsed)) {
        sink.Show(OutOfRangeMessage(field));
        return false;
    }
    value = parsed;
    return true;
}

bool ParseFieldText(const ExchangeField& field, const std::string& text, std::string& value,
                    MessageSink& sink) {
    if (!FitsCp1252(text)) {
        sink.Show(UnstorableTextMessage(field, text));
        return false;
    }
    // A text of the case (the field name) goes into report lines: a control
    // character would split the line or reach a terminal as a command. The
    // measured-row line is only scanned for its numbers.
    if (const std::string code = FirstControlCharacter(text);
        field.caseMember != nullptr && !code.empty()) {
        sink.Show(ControlCharacterMessage(field, code));
        return false;
    }
    value = text;
    return true;
}
