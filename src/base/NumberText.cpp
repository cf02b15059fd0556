#include "base/NumberText.h"

#include <charconv>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "base/Format.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Accepts [blanks] [sign] digits [. digits] [e|E [sign] digits] [blanks],
// with at least one digit in the mantissa.
bool HasDecimalShape(const std::string& s, size_t& begin, size_t& end) {
    size_t i = 0, n = s.size();
    while (i < n && IsBlank(s[i])) ++i;
    begin = i;
    if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
    size_t digits = 0;
    while (i < n && IsDigit(s[i])) ++i, ++digits;
    if (i < n && s[i] == '.') {
        ++i;
        while (i < n && IsDigit(s[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
        size_t expDigits = 0;
        while (i < n && IsDigit(s[i])) ++i, ++expDigits;
        if (expDigits == 0) return false;
    }
    end = i;
    while (i < n && IsBlank(s[i])) ++i;
    return i == n;
}

}  // namespace

std::string DecimalPointHint(const std::string& text) {
    if (text.find(',') == std::string::npos) return std::string();
    return "\nZahlen werden mit Dezimalpunkt geschrieben, zum Beispiel 10.5 statt 10,5.";
}

bool ParseFloatStrict(const std::string& text, float& value) {
    size_t begin = 0, end = 0;
    if (!HasDecimalShape(text, begin, end)) return false;
    float parsed = 0.0f;
    std::string core = text.substr(begin, end - begin);
    // The shape check above leaves nothing locale-dependent but the decimal
    // point, which ScanFloats reads in the "C" locale.
    if (ScanFloats(core, "%f", &parsed, nullptr, nullptr) != 1) return false;
    if (!std::isfinite(parsed)) return false;
    value = parsed;
    return true;
}

std::string WithDecimalPoint(const std::string& text) {
    const size_t comma = text.find(',');
    if (comma == std::string::npos || text.find(',', comma + 1) != std::string::npos ||
        text.find('.') != std::string::npos)
        return text;
    std::string pointed = text;
    pointed[comma] = '.';
    size_t begin = 0, end = 0;
    return HasDecimalShape(pointed, begin, end) ? pointed : text;
}

bool ParseFloatWithDecimalComma(const std::string& text, float& value) {
    return ParseFloatStrict(WithDecimalPoint(text), value);
}

std::string NumbersWithDecimalPoint(const std::string& line) {
    std::string out;
    size_t i = 0;
    while (i < line.size()) {
        if (IsBlank(line[i])) {
            out += line[i++];
            continue;
        }
        size_t end = i;
        while (end < line.size() && !IsBlank(line[end])) ++end;
        out += WithDecimalPoint(line.substr(i, end - i));
        i = end;
    }
    return out;
}

std::string DecimalSignHint(const std::string& text) {
    if (text.find(',') == std::string::npos) return std::string();
    return "\nZahlen mit Dezimalkomma oder Dezimalpunkt, ohne Tausendertrennzeichen: 1234,5 "
           "oder 1234.5.";
}

int DecimalsApart(double value, double bound, int fewest) {
    int decimals = fewest;
    while (decimals < 6 && Format("%.*f", decimals, value) == Format("%.*f", decimals, bound))
        ++decimals;
    return decimals;
}

std::string FloatForDisplay(float value) { return Format("%g", static_cast<double>(value)); }

namespace {

template <typename T>
std::string Shortest(T value) {
    char buffer[64];
    const std::to_chars_result r = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, r.ptr);
}

}  // namespace

std::string ShortestText(double value) {
    return Shortest(value);
}

std::string ShortestText(float value) {
    return Shortest(value);
}
