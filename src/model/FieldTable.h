#pragma once
// The field table: one row per input of a case, the glossary between the
// names a user meets (the case record and the command line: "m_OOIP"; the
// German label of the dialog) and the library's English names with units
// ("ooip_1000m3", CaseInputs::ooip1000m3). The case-file codec, the dialog's
// data exchange, batch mode's --set, the Python module and the sweep's CSV
// header all walk this table; adding an input is one row here plus its use.

#include <string>
#include <vector>

#include "model/CaseInputs.h"

namespace morvek {

// The items of the case file's optional block after the record (see
// docs/case-file.md). An input that older files do not hold lives in an item
// of its own: files without it stay as they were, and a file with it is
// refused by a program that does not know the item.
enum CaseFileBlockItem : int {
    kNoBlockItem = 0,
    kBlockCompressibilities = 1,  // numbers of the field table (blockSlot order)
    kBlockPvtTable = 2,
    kBlockRelPermTable = 3,
    kBlockPvtTableColumns = 4,  // the PVT table's optional columns (Rv, Bw)
    kBlockAquifer = 5,  // the aquifer model and its numbers (blockSlot order)
    kBlockHistory = 6,  // the production history
    // The forecast against time: its inputs and its water-cut table.
    kBlockForecast = 8,
    kBlockWaterCutTable = 9,
    // 20 on: what the window's dialogs last ran with.
    kBlockMatchSettings = 20,
    kBlockSweepSettings = 21,
};

enum class FieldKind {
    Number,  // a float
    Text,    // a string
    Choice,  // a small index (the correlation)
};

struct Field {
    const char* recordName;  // the case record and --set: "m_OOIP", "m_Gas[3]"
    const char* name;        // English, with the unit where one applies: "ooip_1000m3"
    const char* label;  // the German label beside the dialog's field (with its alignment blanks)
    const char* unit;   // "1000 m³", "bar", "" for a fraction or a count
    FieldKind kind;
    // Where the value lives: one of the three members, or a gas component.
    float CaseInputs::*number = nullptr;
    int gasIndex = -1;
    std::string CaseInputs::*text = nullptr;
    int32_t CaseInputs::*choice = nullptr;
    // The range the dialog accepts when it reads the field (bounded numbers),
    // or the choices 0..choiceCount-1.
    bool bounded = false;
    float min = 0.0f;
    float max = 0.0f;        // infinity: no upper bound
    bool minExclusive = false;  // the lower bound itself is refused (absolute zero)
    int choiceCount = 0;
    // English names of the choices ("none", "pot", ...), which --set and the
    // Python module also take; nullptr where only the index is taken.
    const char* const* choiceNames = nullptr;
    // Where the case file keeps the value: its order in the record, or -1
    // and an item of the optional block with the value's place in it.
    int filePosition = -1;
    int blockItem = kNoBlockItem;
    int blockSlot = -1;
    // A calendar date kept as its serial number (base/CalendarDate.h), read
    // and shown as YYYY-MM-DD; 0 is no date.
    bool date = false;
    int controlId = 0;    // the data-entry dialog's control; 0: not in that dialog
    int dialogOrder = 0;  // order in which the dialog reads its controls
    // The dialog's own name of a gas component ("m_H2S" for "m_Gas[0]"), by
    // which its tests and its data exchange know the field; nullptr: the
    // record name.
    const char* dialogMember = nullptr;

    float& Number(CaseInputs& c) const;
    float Number(const CaseInputs& c) const;
    // The caption for messages: the label without its alignment blanks.
    std::string Caption() const;
    bool InRange(float value) const {
        return !bounded || ((minExclusive ? value > min : value >= min) && value <= max);
    }
};

// Every field, in the order of the case file's record.
const std::vector<Field>& FieldTable();

// The field of that record name ("m_OOIP") or English name ("ooip_1000m3"),
// or nullptr.
const Field* FindField(const std::string& name);

// "m_OOIP, m_Initialdruck, ...": every record name, for messages that list them.
std::string RecordNames();

// Every field of the two cases holds the same value (floats bit for bit);
// the measured rows are not compared.
bool SameFieldValues(const CaseInputs& a, const CaseInputs& b);

// --- Messages of reading a field, as the dialog shows them ----------------------------
// The caption of a label: without its alignment blanks.
std::string CaptionOfLabel(const char* label);
std::string NotANumberMessage(const std::string& caption);
std::string OutOfRangeMessage(float min, float max, bool minExclusive, const std::string& caption);
std::string NotANumberMessage(const Field& field);
std::string OutOfRangeMessage(const Field& field);

// The index of a choice given by its English name or its number ("pot" or
// "1"), or -1.
int ChoiceIndex(const Field& field, const std::string& text);
// "Bitte einen der Werte none (0), pot (1), ... eingeben: \"Aquifermodell\"."
std::string ChoiceMessage(const Field& field);

// The value of a date field from its text: YYYY-MM-DD (or DD.MM.YYYY) of the
// years 1900 to 2199, or "0" or nothing for no date. Empty when accepted,
// else the German message naming the field.
std::string ParseDateField(const Field& field, const std::string& text, float& value);
// "2025-01-01", or "" for no date.
std::string DateFieldText(float value);

// Checks a number for a field as the dialog checks what it reads: finite and
// within the field's range. Empty when the value is accepted, else the
// dialog's message.
std::string CheckNumber(const Field& field, float value);

}  // namespace morvek
