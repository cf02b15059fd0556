#pragma once
// Batch mode's laboratory tables: --pvt-tabelle FILE and --relperm-tabelle
// FILE read a table file into the loaded case, as the dialog's buttons
// "PVT-Tabelle lesen…" and "Relperm-Tabelle lesen…" do. They run after
// --messwerte and before --save, so that a saved case keeps them.

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <string>
#include <vector>

#include "input/LabTableEntry.h"

class CMorvekDoc;
class MessageSink;

struct TableOptions {
    std::string pvtPath;
    std::string relPermPath;
};

// The two options, for the parser.
std::vector<QCommandLineOption> TableCommandLineOptions();
// The file names as the bytes given; false with the problem for an empty one.
bool TableOptionsOf(const QCommandLineParser& parser, TableOptions& out, std::string& problem);

// Reads the tables given into the case. Returns the exit status: 0 when both
// were taken (or none was given), 1 when a file cannot be read, 2 when a file
// is refused (its bad lines are on stderr). A failure leaves the case's
// tables as they were.
int ApplyTableOptions(CMorvekDoc& doc, const TableOptions& options, MessageSink& sink);

// The exit status of a table file read into the case: 0 taken, 2 refused,
// 1 unreadable.
int ExitStatusOf(TableEntry entry);
