#include "base/Cp1252.h"

#include <cstdint>

namespace {

// 0x80..0x9F; the remaining bytes equal their Unicode code points (Latin-1).
constexpr char32_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t ByteToCodePoint(unsigned char b) {
    if (b >= 0x80 && b <= 0x9F) return kHigh[b - 0x80];
    return b;
}

bool CodePointToByte(char32_t cp, unsigned char& b) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        b = static_cast<unsigned char>(cp);
        return true;
    }
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == cp) {
            b = static_cast<unsigned char>(0x80 + i);
            return true;
        }
    }
    return false;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence starting at i; false for malformed input
// (overlong forms, surrogates and truncated sequences included).
bool DecodeUtf8(const std::string& s, size_t& i, char32_t& cp) {
    auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char b0 = byte(i);
    int extra;
    char32_t min;
    if (b0 < 0x80) {
        cp = b0;
        ++i;
        return true;
    } else if ((b0 & 0xE0) == 0xC0) {
        cp = b0 & 0x1F, extra = 1, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        cp = b0 & 0x0F, extra = 2, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        cp = b0 & 0x07, extra = 3, min = 0x10000;
    } else {
        return false;
    }
    if (i + static_cast<size_t>(extra) >= s.size()) return false;
    for (int k = 1; k <= extra; ++k) {
        unsigned char b = byte(i + k);
        if ((b & 0xC0) != 0x80) return false;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += static_cast<size_t>(extra) + 1;
    return true;
}

}  // namespace

std::string Cp1252ToUtf8(const std::string& bytes) {
    // Sized exactly: a case file's texts can be long, and each byte may grow
    // to three.
    size_t size = 0;
    for (unsigned char b : bytes) {
        const char32_t cp = ByteToCodePoint(b);
        size += cp < 0x80 ? 1 : cp < 0x800 ? 2 : 3;
    }
    std::string out;
    out.reserve(size);
    for (unsigned char b : bytes) AppendUtf8(out, ByteToCodePoint(b));
    return out;
}

bool Utf8ToCp1252(const std::string& text, std::string& out) {
    out.clear();
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        char32_t cp;
        if (!DecodeUtf8(text, i, cp)) return false;
        unsigned char b;
        if (!CodePointToByte(cp, b)) return false;
        out += static_cast<char>(b);
    }
    return true;
}

bool FitsCp1252(const std::string& text) {
    std::string ignored;
    return Utf8ToCp1252(text, ignored);
}

std::string FirstUnstorableCharacter(const std::string& text) {
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : 4;
        bool whole = i + length <= text.size();
        for (size_t k = 1; whole && k < length; ++k)
            whole = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
        // A broken sequence is named by its first byte alone.
        if (!whole) return text.substr(i, 1);
        const std::string character = text.substr(i, length);
        if (!FitsCp1252(character)) return character;
        i += length;
    }
    return std::string();
}

bool NextUtf8CodePoint(const std::string& text, size_t& i, char32_t& cp) {
    return i < text.size() && DecodeUtf8(text, i, cp);
}

std::string Utf8FromUtf8OrCp1252(const std::string& bytes) {
    size_t i = 0;
    char32_t cp;
    while (i < bytes.size())
        if (!DecodeUtf8(bytes, i, cp)) return Cp1252ToUtf8(bytes);
    return bytes;
}

std::string StorableInCp1252(const std::string& text) {
    const std::string utf8 = Utf8FromUtf8OrCp1252(text);
    std::string out;
    size_t i = 0;
    while (i < utf8.size()) {
        const size_t start = i;
        char32_t cp;
        unsigned char b;
        if (!DecodeUtf8(utf8, i, cp)) {  // cannot happen: the text is valid UTF-8 here
            ++i;
            out += '?';
        } else if (CodePointToByte(cp, b))
            out.append(utf8, start, i - start);
        else
            out += '?';
    }
    return out;
}
