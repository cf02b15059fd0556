#pragma once
// "Datei" > "Exportieren…": tables of the case's results as CSV for a
// spreadsheet, with semicolons between the columns and, as the user chooses,
// a decimal comma (a German spreadsheet) or a decimal point. The text of a
// table is made with a point; the comma is put in afterwards, in the cells
// that are numbers only.

#include <string>

#include "depletion/Prediction.h"

// The CSV with a decimal comma in every cell that is a number ("12.5" ->
// "12,5", "-1.5e-05" -> "-1,5e-05"); heads, texts and quoted cells stay as
// they are. Line ends and a byte-order mark stay.
std::string CsvWithDecimalComma(const std::string& csv);

// A number's text with a decimal comma.
std::string WithDecimalComma(const std::string& number);

// The prediction step by step: a head line, then one line per step (its
// number, pressure, cumulative oil and gas, gas-oil ratio, recovery factor,
// saturations and fluid properties), UTF-8 with a byte-order mark, numbers
// as the shortest text that reads back to them.
std::string StepTableCsvText(const morvek::PredictionResult& prediction);

// Writes text beside path and renames it over, so that a failed write keeps
// an earlier file; false with a German message naming the file.
bool WriteExportFile(const std::string& path, const std::string& text, std::string& error);
