#include "base/PrintableText.h"

#include "base/Cp1252.h"
#include "base/Format.h"

bool IsControlCharacter(char32_t cp) {
    return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F);
}

bool IsBidiControl(char32_t cp) {
    return cp == 0x061C || cp == 0x200E || cp == 0x200F || (cp >= 0x202A && cp <= 0x202E) ||
           (cp >= 0x2066 && cp <= 0x2069);
}

std::string ShownCharacter(const std::string& utf8Character) {
    size_t i = 0;
    char32_t cp = 0;
    if (NextUtf8CodePoint(utf8Character, i, cp) && i == utf8Character.size() &&
        (IsControlCharacter(cp) || IsBidiControl(cp)))
        return Format("U+%04X", static_cast<unsigned>(cp));
    return DisplayPath(utf8Character);
}

std::string FirstControlCharacter(const std::string& text) {
    size_t i = 0;
    char32_t cp = 0;
    while (i < text.size()) {
        if (!NextUtf8CodePoint(text, i, cp)) {
            ++i;
            continue;
        }
        if (IsControlCharacter(cp)) return Format("U+%04X", static_cast<unsigned>(cp));
    }
    return {};
}

std::string OneLineText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    char32_t cp = 0;
    while (i < text.size()) {
        const size_t start = i;
        if (!NextUtf8CodePoint(text, i, cp)) {
            out += '?';
            ++i;
        } else if (IsControlCharacter(cp)) {
            out += '?';
        } else {
            out.append(text, start, i - start);
        }
    }
    return out;
}

std::string DisplayPath(const std::string& path) {
    std::string out;
    out.reserve(path.size());
    size_t i = 0;
    char32_t cp = 0;
    auto escape = [&](size_t from, size_t to) {
        for (size_t k = from; k < to; ++k)
            out += Format("\\x%02X", static_cast<unsigned>(static_cast<unsigned char>(path[k])));
    };
    while (i < path.size()) {
        const size_t start = i;
        if (!NextUtf8CodePoint(path, i, cp)) {
            escape(i, i + 1);
            ++i;
        } else if (IsControlCharacter(cp) || IsBidiControl(cp)) {
            escape(start, i);
        } else {
            out.append(path, start, i - start);
        }
    }
    return out;
}
