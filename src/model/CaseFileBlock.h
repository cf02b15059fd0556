#pragma once
// The optional block after the record of a case file: the inputs that older
// case files do not hold (rock and water compressibility, the laboratory
// tables), tagged, versioned and checked by a CRC-32, so that a case without
// them is written exactly as before and every older file reads as before.
// docs/case-file.md describes the bytes.

#include <string>

#include "model/CaseInputs.h"

namespace morvek {

// The block's first bytes and its version.
inline constexpr char kCaseFileBlockTag[4] = {'M', 'V', 'K', 'E'};
inline constexpr uint16_t kCaseFileBlockVersion = 1;

// Appends the block to out when the case keeps anything in it. False, with
// problem, when a table is not one the table readers could have produced
// (a file the loader would refuse is never written).
bool AppendCaseFileBlock(const CaseInputs& inputs, std::string& out, std::string& problem);

// Reads the block that starts at pos and must end exactly with the bytes into
// inputs. False for anything but the block as AppendCaseFileBlock writes it:
// another tag or version, a wrong length or CRC, an unknown or repeated item,
// items out of order, no item at all, an item that holds only defaults, or a table the
// readers would refuse.
bool ReadCaseFileBlock(const std::string& bytes, size_t pos, CaseInputs& inputs);

}  // namespace morvek
