#pragma once
// Code page 1252 is the byte encoding of every file the program reads and
// writes (case files, aus.txt, measured-data files); inside the program all
// text is UTF-8. Conversion happens at the file boundary and nowhere else.

#include <string>

// Every byte maps to one character. The five bytes that code page 1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same
// number, so that any byte string survives a round trip unchanged.
std::string Cp1252ToUtf8(const std::string& bytes);

// False when the text is not valid UTF-8 or holds a character that code page
// 1252 cannot represent; out is then unspecified.
bool Utf8ToCp1252(const std::string& text, std::string& out);

// True when every character of the UTF-8 text can be stored in code page 1252.
bool FitsCp1252(const std::string& text);

// The first character of the UTF-8 text that code page 1252 cannot store, as
// UTF-8 (a byte that is not valid UTF-8 alone); empty when every one fits.
std::string FirstUnstorableCharacter(const std::string& text);

// Decodes the UTF-8 character at text[i] and moves i past it; false (i
// unchanged) for a malformed sequence.
bool NextUtf8CodePoint(const std::string& text, size_t& i, char32_t& cp);

// Text of a file that may hold UTF-8 or code page 1252 (a table file written
// on either kind of system): the bytes as UTF-8 when they are valid UTF-8,
// else read as code page 1252.
std::string Utf8FromUtf8OrCp1252(const std::string& bytes);

// The text with every character that code page 1252 cannot hold replaced by
// '?', so that it can be stored in a case file and written to aus.txt (a file
// name shown in the report). Bytes that are no UTF-8 are read as code page 1252.
std::string StorableInCp1252(const std::string& text);
