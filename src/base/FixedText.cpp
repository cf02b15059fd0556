#include "base/FixedText.h"

#include <charconv>

void AppendFixed(std::string& out, double value, int width, int precision) {
    // Room for the largest double in fixed notation (309 digits) and the
    // precisions the program prints.
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
    const int length = static_cast<int>(result.ptr - buffer);
    if (length < width) out.append(static_cast<size_t>(width - length), ' ');
    out.append(buffer, static_cast<size_t>(length));
}
