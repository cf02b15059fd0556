#pragma once
// "Ergebnisse speichern" and "Ergebnisse einlesen": report lines in the plain
// text file aus.txt of the working directory, in code page 1252, behind a
// title line. The file takes the title and the lines it is given; it knows
// no document.

#include <string>
#include <vector>

class MessageSink;

inline constexpr const char* kResultsFileName = "aus.txt";

// Writes the title, then every line, each with its line end (nothing at all
// for an empty report), beside aus.txt and renames it over, so that a failed
// write keeps the earlier file. Says through sink that it was written, or why
// not; true when it was.
bool SaveResultsFile(const std::string& title, const std::vector<std::string>& lines,
                     MessageSink& sink);

// Reads aus.txt back in pieces of at most 99 characters, at most 1000 of them,
// into lines and says how many. A file that is missing, cannot be read or
// holds no line changes nothing: the warning names the file and its folder.
// True when lines were taken.
bool LoadResultsFile(std::vector<std::string>& lines, MessageSink& sink);

// "1 Zeile wurde eingelesen", "5 Zeilen wurden eingelesen".
std::string RowsReadText(int count);
