#pragma once
// The controls of the data-entry dialog in the order in which reading and
// showing them treats them: every field of the case's field table (with its
// label and range) and the dialog's own controls (the gas sum, the row editor,
// the two output check boxes). Batch mode checks and sets fields by this table
// too, so that a script is held to exactly what the dialog accepts.

#include <cstdint>
#include <string>
#include <vector>

#include "model/FieldTable.h"

class DlgInput;
class MessageSink;

enum class FieldKind { Float, Text, Radio, Check, Static };

struct ExchangeField {
    int controlId;
    FieldKind kind;
    const char* label;       // text beside the control in the dialog
    const char* member;      // name of the dialog member ("m_OOIP", "m_H2S")
    const char* caseMember;  // name in the case record ("m_Gas[0]"), or nullptr
    // The case's field, or nullptr for a control of the dialog's own.
    const morvek::Field* field;
    std::string DlgInput::*textMember;  // a text or static control of the dialog's own
    int32_t DlgInput::*intMember;       // a radio group or check box of the dialog's own
    bool bounded;
    float min;
    float max;
    // The lower bound itself is refused (absolute zero for a temperature).
    bool minExclusive;

    // The member the control exchanges with.
    float& Float(DlgInput& dialog) const;
    float Float(const DlgInput& dialog) const;
    std::string& Text(DlgInput& dialog) const;
    int32_t& Int(DlgInput& dialog) const;
};

const std::vector<ExchangeField>& ExchangeTable();

// The field with that dialog or case member name, or nullptr.
const ExchangeField* FindField(const std::string& name);

// The label without its alignment blanks, for messages.
std::string FieldCaption(const ExchangeField& field);

// The messages of reading a field.
std::string NotANumberMessage(const ExchangeField& field);
std::string OutOfRangeMessage(const ExchangeField& field);
std::string UnstorableTextMessage(const ExchangeField& field);
// The same message naming the first character of text that cannot be stored.
std::string UnstorableTextMessage(const ExchangeField& field, const std::string& text);

// True when the value lies within the field's range (always for an unbounded
// field); the bounds are included unless the field says otherwise.
bool InFieldRange(const ExchangeField& field, float value);

// code names the character as "U+001B".
std::string ControlCharacterMessage(const ExchangeField& field, const std::string& code);

// The message for a correlation that is none of the four choices.
std::string CorrelationChoiceMessage(const ExchangeField& field);

// Parses text as the dialog does when it reads a float field, range included;
// shows the message and returns false when the text is refused. With
// decimalComma "0,25" reads as 0.25 (the window's fields).
bool ParseFieldValue(const ExchangeField& field, const std::string& text, float& value,
                     MessageSink& sink, bool decimalComma = false);

// Takes text for a text field as the dialog does when it reads it: refused
// with a message when code page 1252, in which the case file and aus.txt hold
// their texts, cannot store every character of it, or when a text of the case
// (the field name) holds a control character.
bool ParseFieldText(const ExchangeField& field, const std::string& text, std::string& value,
                    MessageSink& sink);
