#pragma once
// Batch mode's --set NAME=VALUE: changes one input of a loaded case, by the
// name of the case member ("m_OOIP", "m_Gas[3]", "m_Feldname", "m_Methode",
// "m_bPVTAusgabe"), held to exactly what the data-entry dialog accepts in the
// field of that member: the same strict number parsing, the same ranges and
// messages, a field name that code page 1252 can store, a correlation index of
// 0 to 3 and a check box of 0 or 1. Setting one of the two output check boxes
// to 1 clears the other, as clicking it in the dialog does.

#include <cstdint>
#include <string>

class CMorvekDoc;
class MessageSink;

// Shows what is wrong and changes nothing when the assignment is refused.
bool ApplyCaseSetting(CMorvekDoc& doc, const std::string& assignment, MessageSink& sink);

// A whole number within [lo, hi], blanks around it allowed, as --set reads a
// choice or a check box.
bool ParseSmallInt(const std::string& text, int lo, int hi, int32_t& value);
