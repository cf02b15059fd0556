#pragma once
// The laboratory tables as the data-entry dialog and batch mode take them in:
// reading a table file into the case (all or nothing, with the reader's
// messages), the source lines the dialog shows, and the checks of a PVT table
// against the case that the dialog's OK runs.

#include <string>

#include "model/CaseInputs.h"

class MessageSink;

// The table kinds as the messages name them.
inline constexpr const char* kPvtTableKind = "PVT-Tabelle";
inline constexpr const char* kRelPermTableKind = "Tabelle der relativen Permeabilitäten";
inline constexpr const char* kHistoryKind = "Produktionshistorie";
inline constexpr const char* kWaterCutTableKind = "Tabelle des Wasseranteils";

// How reading a table file into the case ended.
enum class TableEntry { Taken, Refused, Unreadable };

// Reads the file into the case's table; a refused or unreadable file shows
// its message and leaves the case as it was.
TableEntry ReadPvtTableInto(const std::string& path, morvek::CaseInputs& inputs, MessageSink& sink);
TableEntry ReadRelPermTableInto(const std::string& path, morvek::CaseInputs& inputs,
                                MessageSink& sink);
// The production history (src/waterdrive/HistoryFile.h) likewise.
TableEntry ReadHistoryInto(const std::string& path, morvek::CaseInputs& inputs, MessageSink& sink);
TableEntry ReadWaterCutTableInto(const std::string& path, morvek::CaseInputs& inputs,
                                 MessageSink& sink);

// "PVT: Korrelation" or "PVT: pvt.txt (12 Zeilen)", the table's file name first.
std::string PvtSourceText(const morvek::CaseInputs& inputs);
// "Relperm: Corey-Ansatz" or "Relperm: kr.txt (9 Zeilen)".
std::string RelPermSourceText(const morvek::CaseInputs& inputs);

// With a PVT table: the initial pressure within it, its lowest pressure at or
// below the bubble point, and Bg and the gas viscosity above zero in every
// row at or below the bubble point (above it they may hold anything). Shows
// the first failure and returns false; true without a table.
bool CheckPvtTableOfCase(const morvek::CaseInputs& inputs, MessageSink& sink);
