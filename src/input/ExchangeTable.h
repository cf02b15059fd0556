#pragma once
// The fields of the data-entry dialog in the order in which reading and
// showing the controls treat them, with the label beside each field and the
// range that reading checks. Batch mode checks and sets fields by this table
// too, so that a script is held to exactly what the dialog accepts.

#include <cstdint>
#include <string>
#include <vector>

class DlgInput;
class MessageSink;

enum class FieldKind { Float, Text, Radio, Check, Static };

struct ExchangeField {
    int controlId;
    FieldKind kind;
    const char* label;       // text beside the control in the dialog
    const char* member;      // name of the dialog member
    const char* caseMember;  // name of the case member ("m_Gas[3]"), or nullptr
    float DlgInput::*floatMember;
    std::string DlgInput::*textMember;
    int32_t DlgInput::*intMember;
    bool bounded;
    float min;
    float max;
};

const std::vector<ExchangeField>& ExchangeTable();

// The field with that dialog or case member name, or nullptr.
const ExchangeField* FindField(const std::string& name);

// The gas members of the dialog in the case's component order.
extern float DlgInput::*const kGasMembers[15];

// The label without its alignment blanks, for messages.
std::string FieldCaption(const ExchangeField& field);

// The messages of reading a field.
std::string NotANumberMessage(const ExchangeField& field);
std::string OutOfRangeMessage(const ExchangeField& field);
std::string UnstorableTextMessage(const ExchangeField& field);
// code names the character as "U+001B".
std::string ControlCharacterMessage(const ExchangeField& field, const std::string& code);

// Parses text as the dialog does when it reads a float field, range included;
// shows the message and returns false when the text is refused.
bool ParseFieldValue(const ExchangeField& field, const std::string& text, float& value,
                     MessageSink& sink);

// Takes text for a text field as the dialog does when it reads it: refused
// with a message when code page 1252, in which the case file and aus.txt hold
// their texts, cannot store every character of it, or when a text of the case
// (the field name) holds a control character.
bool ParseFieldText(const ExchangeField& field, const std::string& text, std::string& value,
                    MessageSink& sink);
