#pragma once
// Texts that come from the user or from a file on their way into a report
// line, a message or a terminal: a control character would split the line or
// reach the terminal as a command, and bytes that are no UTF-8 cannot be
// shown at all.

#include <string>

// C0 controls, DEL and the C1 controls (U+0080 to U+009F).
bool IsControlCharacter(char32_t cp);

// The invisible characters that set the direction of text (U+061C, U+200E,
// U+200F, U+202A to U+202E, U+2066 to U+2069): on a terminal or in a message
// they reorder what follows them, so that a text shows other than it is.
bool IsBidiControl(char32_t cp);

// The first control character of a UTF-8 text as "U+000A"; empty when it has
// none.
std::string FirstControlCharacter(const std::string& text);

// The text with every control character, and every byte that is no part of a
// UTF-8 character, shown as "?": one line on any terminal, printable in any
// report.
std::string OneLineText(const std::string& text);

// A file name for a message: the characters of its UTF-8 as they are, every
// other byte, every control character and every direction mark as \xNN, so
// that the user can tell which file is meant and the message stays on its
// line and reads as the name is.
std::string DisplayPath(const std::string& path);
// The same for any text a message repeats as the user gave it (a --set
// assignment).
inline std::string EscapedText(const std::string& text) {
    return DisplayPath(text);
}

// One character for a message: as it is, or "U+0085" for a control
// character or a direction mark, which would not show.
std::string ShownCharacter(const std::string& utf8Character);
