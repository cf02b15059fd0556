#include "input/ExchangeTable.h"

#include "base/Cp1252.h"
#include "base/Format.h"
#include "base/MessageSink.h"
#include "base/NumberText.h"
#include "base/PrintableText.h"
#include "input/DlgInput.h"

namespace {

ExchangeField Float(int id, const char* label, const char* member, const char* caseMember,
                    float DlgInput::*m) {
    return {id, FieldKind::Float, label, member, caseMember, m, nullptr, nullptr, false, 0, 0};
}

ExchangeField Ranged(int id, const char* label, const char* member, const char* caseMember,
                     float DlgInput::*m, float lo, float hi) {
    return {id, FieldKind::Float, label, member, caseMember, m, nullptr, nullptr, true, lo, hi};
}

ExchangeField Gas(int id, const char* label, const char* member, const char* caseMember,
                  float DlgInput::*m) {
    return Ranged(id, label, member, caseMember, m, 0.0f, 100.0f);
}

ExchangeField Text(int id, FieldKind kind, const char* label, const char* member,
                   const char* caseMember, std::string DlgInput::*m) {
    return {id, kind, label, member, caseMember, nullptr, m, nullptr, false, 0, 0};
}

ExchangeField Int(int id, FieldKind kind, const char* label, const char* member,
                  const char* caseMember, int32_t DlgInput::*m) {
    return {id, kind, label, member, caseMember, nullptr, nullptr, m, false, 0, 0};
}

// The lower bound of the oil in place is the single-precision value nearest 0.1.
constexpr float kMinOOIP = 0.1f;

}  // namespace

float DlgInput::*const kGasMembers[15] = {
    &DlgInput::m_H2S, &DlgInput::m_CO2, &DlgInput::m_N2,  &DlgInput::m_C1,  &DlgInput::m_C2,
    &DlgInput::m_C3,  &DlgInput::m_iC4, &DlgInput::m_nC4, &DlgInput::m_iC5, &DlgInput::m_nC5,
    &DlgInput::m_C6,  &DlgInput::m_C7,  &DlgInput::m_C8,  &DlgInput::m_C9,  &DlgInput::m_C10,
};

const std::vector<ExchangeField>& ExchangeTable() {
    static const std::vector<ExchangeField> table = {
        Float(1027, "Porenvol.Gaskappe/Porenvol.Öl      ( - )", "m_Gaskappe", "m_Gaskappe",
              &DlgInput::m_Gaskappe),
        Float(1022, "Öldichte                 (Grad API)", "m_API", "m_API", &DlgInput::m_API),
        Text(1001, FieldKind::Text, "Feldesname", "m_Feldname", "m_Feldname",
             &DlgInput::m_Feldname),
        Ranged(1026, "Max.rel.Permeabilität Gas                  ( - )", "m_KrgMax", "m_KrgMax",
               &DlgInput::m_KrgMax, 0.0f, 1.0f),
        Ranged(1025, "Max.rel.Permeabilität Öl                     ( - )", "m_KroMax", "m_KroMax",
               &DlgInput::m_KroMax, 0.0f, 1.0f),
        Int(1028, FieldKind::Radio, "Korrelationsmethode", "m_Methode", "m_Methode",
            &DlgInput::m_Methode),
        Ranged(1019, "Original Oil in Place(1000 m3)", "m_OOIP", "m_OOIP", &DlgInput::m_OOIP,
               kMinOOIP, 99000.0f),
        Ranged(1021, "Gasentlösungsdruck       (Bar)", "m_Entloesungsdruck", "m_Entloesungsdruck",
               &DlgInput::m_Entloesungsdruck, 1.0f, 1000.0f),
        Ranged(1020, "Initialdruck                      (Bar)", "m_Initialdruck", "m_Initialdruck",
               &DlgInput::m_Initialdruck, 1.0f, 1000.0f),
        Ranged(1024, "Krit.Gassättigung                               ( - )", "m_Sgc", "m_Sgc",
               &DlgInput::m_Sgc, 0.0f, 1.0f),
        Float(1023, "Haftwassersättigung                         ( - )", "m_Swi", "m_Swi",
              &DlgInput::m_Swi),
        Float(1018, "Lagerstättentemperatur    (°C)", "m_Temperatur", "m_Temperatur",
              &DlgInput::m_Temperatur),
        Gas(1002, "H2S      ", "m_H2S", "m_Gas[0]", &DlgInput::m_H2S),
        Gas(1003, "CO2", "m_CO2", "m_Gas[1]", &DlgInput::m_CO2),
        Gas(1012, "C6H14", "m_C6", "m_Gas[10]", &DlgInput::m_C6),
        Gas(1013, "C7H16", "m_C7", "m_Gas[11]", &DlgInput::m_C7),
        Gas(1014, "C8H18", "m_C8", "m_Gas[12]", &DlgInput::m_C8),
        Gas(1015, "C9H20", "m_C9", "m_Gas[13]", &DlgInput::m_C9),
        Gas(1016, "C10H22", "m_C10", "m_Gas[14]", &DlgInput::m_C10),
        Gas(1004, "N2", "m_N2", "m_Gas[2]", &DlgInput::m_N2),
        Gas(1005, "CH4", "m_C1", "m_Gas[3]", &DlgInput::m_C1),
        Gas(1006, "C2H6", "m_C2", "m_Gas[4]", &DlgInput::m_C2),
        Gas(1007, "C3H8", "m_C3", "m_Gas[5]", &DlgInput::m_C3),
        Gas(1008, "iC4H10", "m_iC4", "m_Gas[6]", &DlgInput::m_iC4),
        Gas(1009, "nC4H10", "m_nC4", "m_Gas[7]", &DlgInput::m_nC4),
        Gas(1010, "iC5H12", "m_iC5", "m_Gas[8]", &DlgInput::m_iC5),
        Gas(1011, "nC5H12", "m_nC5", "m_Gas[9]", &DlgInput::m_nC5),
        Text(1033, FieldKind::Static, "SUMME", "m_strSumme", nullptr, &DlgInput::m_strSumme),
        Int(1035, FieldKind::Radio, "Zeilenmodus", "m_nZeilenModus", nullptr,
            &DlgInput::m_nZeilenModus),
        Text(1034, FieldKind::Text, "Meßwertzeile", "m_strZeile", nullptr, &DlgInput::m_strZeile),
        Text(1039, FieldKind::Static, "Status", "m_strStatus", nullptr, &DlgInput::m_strStatus),
        Int(1040, FieldKind::Check, "PVT-Daten ausgeben", "m_bPVTAusgabe", "m_bPVTAusgabe",
            &DlgInput::m_bPVTAusgabe),
        Float(1041, "Ölviskosität am Gasentlösungsdruck(cp)", "m_NuoPb", "m_NuoPb",
              &DlgInput::m_NuoPb),
        Float(1042, "Initiales Gas-Öl-Verhältnis          (m3/m3)", "m_Rsi", "m_Rsi",
              &DlgInput::m_Rsi),
        Int(1044, FieldKind::Check, "Relative Permeabilitäten ausgeben", "m_bRelPermAusgabe",
            "m_bRelPermAusgabe", &DlgInput::m_bRelPermAusgabe),
    };
    return table;
}

const ExchangeField* FindField(const std::string& name) {
    for (const ExchangeField& f : ExchangeTable()) {
        if (name == f.member || (f.caseMember != nullptr && name == f.caseMember)) return &f;
    }
    return nullptr;
}

std::string FieldCaption(const ExchangeField& field) {
    std::string out;
    bool blank = false;
    for (const char* p = field.label; *p != '\0'; ++p) {
        if (*p == ' ') {
            blank = true;
            continue;
        }
        if (blank && !out.empty()) out += ' ';
        blank = false;
        out += *p;
    }
    return out;
}

std::string NotANumberMessage(const ExchangeField& field) {
    return Format("Bitte eine Zahl eingeben: \"%s\".", FieldCaption(field).c_str());
}

std::string OutOfRangeMessage(const ExchangeField& field) {
    return Format("Bitte einen Wert zwischen %g und %g eingeben: \"%s\".",
                  static_cast<double>(field.min), static_cast<double>(field.max),
                  FieldCaption(field).c_str());
}

std::string UnstorableTextMessage(const ExchangeField& field) {
    return Format(
        "Das Feld \"%s\" enthält ein Zeichen, das nicht gespeichert werden kann.\n"
        "Bitte nur westeuropäische Zeichen verwenden.",
        FieldCaption(field).c_str());
}

std::string ControlCharacterMessage(const ExchangeField& field, const std::string& code) {
    return Format(
        "Das Feld \"%s\" enthält ein Steuerzeichen (%s).\n"
        "Bitte nur druckbare Zeichen in einer Zeile eingeben.",
        FieldCaption(field).c_str(), code.c_str());
}

bool ParseFieldValue(const ExchangeField& field, const std::string& text, float& value,
                     MessageSink& sink) {
    float parsed = 0.0f;
    if (!ParseFloatStrict(text, parsed)) {
        sink.Show(NotANumberMessage(field));
        return false;
    }
    if (field.bounded && (parsed < field.min || parsed > field.max)) {
        sink.Show(OutOfRangeMessage(field));
        return false;
    }
    value = parsed;
    return true;
}

bool ParseFieldText(const ExchangeField& field, const std::string& text, std::string& value,
                    MessageSink& sink) {
    if (!FitsCp1252(text)) {
        sink.Show(UnstorableTextMessage(field));
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
