#pragma once
// The command line reaches Qt's parser one character per byte, so that every
// value comes back as exactly the bytes the user gave: a file name that is no
// UTF-8 names that file, and a field name is checked as typed. Every step of
// batch mode reads its values back with Bytes.

#include <QCommandLineParser>
#include <QString>
#include <iostream>
#include <string>
#include <vector>

#include "base/FileIO.h"
#include "base/Format.h"
#include "base/PrintableText.h"

inline QString FromBytes(const char* arg) {
    return QString::fromLatin1(arg);
}

inline std::string Bytes(const QString& s) {
    return s.toLatin1().toStdString();
}

// Why an option given more than once is refused, or "" when it is given at
// most once: the parser keeps the last value, so the others would be
// silently ignored.
inline std::string RepeatedOption(const QCommandLineParser& parser, const QString& option) {
    if (parser.values(option).size() < 2) return {};
    return Format("--%s steht mehrmals in der Befehlszeile; es gilt nur einmal.",
                  Bytes(option).c_str());
}

// An option's file name, or why it is refused: an empty name would silently
// write or read nothing, a second one would silently win over the first.
inline bool FileNameOption(const QCommandLineParser& parser, const QString& option,
                           std::string& path, std::string& problem) {
    problem = RepeatedOption(parser, option);
    if (!problem.empty()) return false;
    for (const QString& value : parser.values(option)) {
        if (value.isEmpty()) {
            problem = Format("--%s: der Dateiname ist leer.", Bytes(option).c_str());
            return false;
        }
    }
    path = Bytes(parser.value(option));
    return true;
}

// Says on stderr that an output of batch mode could not be written, and why.
inline void ShowNotWritten(const std::string& path, const std::string& error) {
    std::cerr << "Die Datei " << DisplayPath(path) << " kann nicht geschrieben werden.\n"
              << error << '\n';
}

// Writes an output of batch mode atomically; says on stderr why it failed.
inline bool WriteOutputFile(const std::string& path, const std::string& text) {
    std::string error;
    if (WriteFileAtomically(path, text, error)) return true;
    ShowNotWritten(path, error);
    return false;
}

// Lines of a report or summary as the file (or stderr) holds them: each
// ended by a line feed.
inline std::string JoinLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) {
        out += line;
        out += '\n';
    }
    return out;
}
