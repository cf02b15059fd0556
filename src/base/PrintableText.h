#pragma once
// Texts that come from the user or from a file on their way into a report
// line, a message or a terminal: a control character would split the line or
// reach the terminal as a command, and bytes that are no UTF-8 cannot be
// shown at all.

#include <string>

// C0 controls, DEL and the C1 controls (U+0080 to U+009F).
bool IsControlCharacter(char32_t cp);

// The first control character of a UTF-8 text as "U+000A"; empty when it has
// none.
std::string FirstControlCharacter(const std::string& text);

// The text with every control character, and every byte that is no part of a
// UTF-8 character, shown as "?": one line on any terminal, printable in any
// report.
std::string OneLineText(const std::string& text);

// A file name for a message: the characters of its UTF-8 as they are, every
// other byte and every control character as \xNN, so that the user can tell
// which file is meant and the message stays on its line.
std::string DisplayPath(const std::string& path);
