#include "base/Format.h"

#include <clocale>
#include <cstdio>
#include <locale.h>
#include <vector>

namespace {

// The "C" locale as a locale object, made once; uselocale() switches only the
// calling thread, so formatting never disturbs the rest of the process.
locale_t CLocale() {
    static locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(0));
    return c;
}

class CLocaleScope {
public:
    CLocaleScope() : previous_(uselocale(CLocale())) {}
    ~CLocaleScope() { uselocale(previous_); }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    locale_t previous_;
};

}  // namespace

std::string VFormat(const char* fmt, va_list args) {
    CLocaleScope scope;
    char small[256];
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(small, sizeof small, fmt, copy);
    va_end(copy);
    if (n < 0) return std::string();
    if (static_cast<size_t>(n) < sizeof small) return std::string(small, static_cast<size_t>(n));
    std::string out(static_cast<size_t>(n) + 1, '\0');
    std::vsnprintf(out.data(), out.size(), fmt, args);
    out.resize(static_cast<size_t>(n));
    return out;
}

std::string Format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    std::string out = VFormat(fmt, args);
    va_end(args);
    return out;
}

int ScanFloats(const std::string& text, const char* fmt, float* a, float* b, float* c) {
    CLocaleScope scope;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    int n = std::sscanf(text.c_str(), fmt, a, b, c);
#pragma GCC diagnostic pop
    return n < 0 ? 0 : n;
}

int ScanRow(const std::string& row, float& oil, float& pressure, float& gor) {
    return ScanFloats(row, "%f %f %f", &oil, &pressure, &gor);
}
