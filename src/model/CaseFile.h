#pragma once
// The case file (.mvk): the inputs of a case in a fixed little-endian layout
// without header, strings in code page 1252 behind a length prefix.
//
//   10 floats  OOIP, initial pressure, temperature, bubble point, API, Swi,
//              Sgc, KroMax, KrgMax, gas cap
//   int32      correlation index
//   string     field name
//   2 floats   oil viscosity at the bubble point, initial gas-oil ratio
//   15 floats  gas composition, H2S first
//   strings    measured rows (count, then each string)
//
// A string length below 255 is one byte; up to 0xFFFD it is 0xFF and two
// bytes; from 0xFFFE on it is 0xFF, 0xFFFF and four bytes. A row count below
// 0xFFFF is two bytes, else 0xFFFF and four bytes. A file holds at most
// kMaxMeasuredRows rows and no text longer than kMaxCaseTextBytes bytes.

// The fields stand in the order of their file position in the field table;
// the measured rows follow them. Inputs that older files do not hold (rock
// and water compressibility, the laboratory tables) follow in an optional,
// tagged and versioned block (model/CaseFileBlock.h, docs/case-file.md); a
// case without them is written exactly as before.

#include <string>

#include "model/CaseInputs.h"

// False when a string cannot be written in code page 1252 or the inputs are
// beyond the limits of the file; problem then names it.
bool EncodeCaseFile(const morvek::CaseInputs& inputs, std::string& bytes, std::string& problem);

// All or nothing: inputs are changed only when the whole file was read. A file
// that ends early, has bytes left over, or holds a length no writer produces
// (a prefix longer than the rest of the file, the two-byte 0xFFFE, a long form
// for a short length), goes beyond the limits, or holds anything after the
// rows that is not the optional block exactly as it is written, is refused.
bool DecodeCaseFile(const std::string& bytes, morvek::CaseInputs& inputs);

// Load and save go through one archive object, as the case's Serialize sees it.
class CaseArchive {
public:
    static CaseArchive ForStoring() { return CaseArchive(true, {}); }
    static CaseArchive ForLoading(std::string bytes) {
        return CaseArchive(false, std::move(bytes));
    }
    bool IsStoring() const { return m_bStoring; }
    std::string& Bytes() { return m_Bytes; }
    // Why the last Serialize failed.
    std::string& Problem() { return m_Problem; }

private:
    CaseArchive(bool storing, std::string bytes) : m_bStoring(storing), m_Bytes(std::move(bytes)) {}
    bool m_bStoring;
    std::string m_Bytes;
    std::string m_Problem;
};
