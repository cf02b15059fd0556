// "Ergebnisse speichern" and "Ergebnisse einlesen": the report lines in the
// plain text file aus.txt of the working directory, in code page 1252, behind
// a title line.

#include "results/ResultsFile.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/Cp1252.h"
#include "base/FileIO.h"
#include "base/Format.h"
#include "base/MessageSink.h"
#include "base/PrintableText.h"
#include "base/TextPieceReader.h"

namespace {

// Reading back takes the lines in pieces as a 100-character buffer holds them,
// and at most this many pieces.
constexpr size_t kMaxPieceChars = 99;
constexpr int kMaxEntries = 1000;

// The file's bytes: the title, then every report line, each with its line
// end; nothing at all for an empty report. False when a text holds a
// character code page 1252 cannot store; line then names it (1 is the title).
bool ResultsFileBytes(const std::string& title, const std::vector<std::string>& text,
                      std::string& bytes, int& line) {
    bytes.clear();
    if (text.empty()) return true;
    std::string encoded;
    line = 1;
    if (!Utf8ToCp1252(title, encoded)) return false;
    bytes += encoded;
    bytes += '\n';
    for (const std::string& reportLine : text) {
        ++line;
        if (!Utf8ToCp1252(reportLine, encoded)) return false;
        bytes += encoded;
        bytes += '\n';
    }
    return true;
}

// The working directory, where aus.txt lives, for the messages.
std::string WorkingFolder() {
    std::string buffer(4096, '\0');
    if (::getcwd(buffer.data(), buffer.size()) == nullptr) return ".";
    buffer.resize(std::strlen(buffer.c_str()));
    return buffer;
}

}  // namespace

std::string RowsReadText(int count) {
    return count == 1 ? std::string("1 Zeile wurde eingelesen")
                      : Format("%d Zeilen wurden eingelesen", count);
}

bool SaveResultsFile(const std::string& title, const std::vector<std::string>& lines,
                     MessageSink& sink) {
    std::string bytes, error;
    int line = 0;
    if (!ResultsFileBytes(title, lines, bytes, line)) {
        sink.Warn(
            Format("Die Datei aus.txt kann nicht geschrieben werden.\n"
                   "Die %d.Zeile enthält ein Zeichen, das in der Datei nicht "
                   "darstellbar ist.",
                   line));
        return false;
    }
    // Written beside the old file and renamed over it: a failed write keeps
    // the earlier aus.txt.
    if (!WriteFileAtomically(kResultsFileName, bytes, error)) {
        sink.Warn("Die Datei aus.txt kann nicht geschrieben werden.\n" + error);
        return false;
    }
    sink.Show("Die Ergebnisse sind in die Datei aus.txt geschrieben!");
    return true;
}

bool LoadResultsFile(std::vector<std::string>& lines, MessageSink& sink) {
    const std::string where =
        Format("Die Datei aus.txt im Ordner %s", DisplayPath(WorkingFolder()).c_str());
    TextPieceReader file;
    if (!file.Open(kResultsFileName)) {
        sink.Warn(Format("%s kann nicht gelesen werden.\n%s\nDer Bericht bleibt, wie er ist.",
                         where.c_str(), file.Error().c_str()));
        return false;
    }
    std::vector<std::string> read;
    std::string piece;
    while (static_cast<int>(read.size()) < kMaxEntries && file.ReadPiece(kMaxPieceChars, piece)) {
        StripLineEnd(piece);
        if (piece.size() == 1) piece = " ";
        read.push_back(Cp1252ToUtf8(piece));
    }
    if (read.empty()) {
        sink.Warn(Format("%s enthält keine Zeile.\nDer Bericht bleibt, wie er ist.", where.c_str()));
        return false;
    }
    lines = std::move(read);
    sink.Show(RowsReadText(static_cast<int>(lines.size())));
    return true;
}
