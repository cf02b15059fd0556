#pragma once
// The command line reaches Qt's parser one character per byte, so that every
// value comes back as exactly the bytes the user gave: a file name that is no
// UTF-8 names that file, and a field name is checked as typed. Every step of
// batch mode reads its values back with Bytes.

#include <QCommandLineParser>
#include <QString>
#include <iostream>
#include <string>

#include "base/FileIO.h"
#include "base/Format.h"
#include "base/PrintableText.h"

inline QString FromBytes(const char* arg) {
    return QString::fromLatin1(arg);
}

inline std::string Bytes(const QString& s) {
    return s.toLatin1().toStdString();
}

// An option's file name, or why it is refused: an empty name would silently
// write or read nothing.
inline bool FileNameOption(const QCommandLineParser& parser, const QString& option,
                           std::string& path, std::string& problem) {
    for (const QString& value : parser.values(option)) {
        if (value.isEmpty()) {
            problem = Format("--%s: der Dateiname ist leer.", Bytes(option).c_str());
            return false;
        }
    }
    path = Bytes(parser.value(option));
    return true;
}

// Writes an output of batch mode atomically; says on stderr why it failed.
inline bool WriteOutputFile(const std::string& path, const std::string& text) {
    std::string error;
    if (WriteFileAtomically(path, text, error)) return true;
    std::cerr << "Die Datei " << DisplayPath(path) << " kann nicht geschrieben werden.\n"
              << error << '\n';
    return false;
}
