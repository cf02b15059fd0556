// "Ergebnisse speichern" and "Ergebnisse einlesen": the report lines of the
// case in the plain text file aus.txt of the working directory, in code page
// 1252, behind a title line.

#include <string>

#include "base/Cp1252.h"
#include "base/FileIO.h"
#include "base/Format.h"
#include "base/MessageSink.h"
#include "base/TextPieceReader.h"
#include "case/MorvekDoc.h"

namespace {

constexpr const char* kResultsFileName = "aus.txt";
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

}  // namespace

bool CMorvekDoc::SaveResults() {
    std::string bytes, error;
    int line = 0;
    if (!ResultsFileBytes(GetTitle(), m_Text, bytes, line)) {
        Messages().Show(
            Format("Die Datei aus.txt kann nicht geschrieben werden.\n"
                   "Die %d.Zeile enthält ein Zeichen, das in der Datei nicht "
                   "darstellbar ist.",
                   line));
        return false;
    }
    // Written beside the old file and renamed over it: a failed write keeps
    // the earlier aus.txt.
    if (!WriteFileAtomically(kResultsFileName, bytes, error)) {
        Messages().Show("Die Datei aus.txt kann nicht geschrieben werden.\n" + error);
        return false;
    }
    Messages().Show("Die Ergebnisse sind in die Datei aus.txt geschrieben!");
    return true;
}

void CMorvekDoc::LoadResults() {
    m_Text.clear();
    int entries = 0;
    TextPieceReader file;
    if (file.Open(kResultsFileName)) {
        std::string piece;
        while (entries < kMaxEntries && file.ReadPiece(kMaxPieceChars, piece)) {
            ++entries;
            StripLineEnd(piece);
            if (piece.size() == 1) piece = " ";
            m_Text.push_back(Cp1252ToUtf8(piece));
        }
    }
    UpdateAllViews();
    Messages().Show(Format("%d Zeilen wurden eingelesen", entries));
}
