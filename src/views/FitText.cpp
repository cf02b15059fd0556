// Fitting a text into a width: the longest shortened form that fits.

#include "views/FitText.h"

#include <algorithm>
#include <vector>

#include "views/Surface.h"

namespace {

// No frame shows more characters than this, however narrow: longer texts are
// cut to it before they are measured.
constexpr size_t kMaxShownChars = 2000;
constexpr const char* kEllipsis = "…";

// Where each character of a UTF-8 text begins, and the text's end.
std::vector<size_t> CharacterStarts(const std::string& text) {
    std::vector<size_t> starts;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) starts.push_back(i);
    }
    starts.push_back(text.size());
    return starts;
}

}  // namespace

std::string FitText(Surface& dc, const std::string& text, int32_t maxWidth, bool inMiddle) {
    const std::vector<size_t> starts = CharacterStarts(text);
    const size_t chars = starts.size() - 1;
    if (chars <= kMaxShownChars && dc.GetTextExtent(text).cx <= maxWidth) return text;
    auto shortened = [&](size_t keep) {
        if (!inMiddle) return text.substr(0, starts[keep]) + kEllipsis;
        const size_t head = (keep + 1) / 2;
        const size_t tail = keep - head;
        return text.substr(0, starts[head]) + kEllipsis + text.substr(starts[chars - tail]);
    };
    // The most characters that still fit, found by halving; no frame shows
    // more than kMaxShownChars of them.
    size_t lo = 0, hi = std::min(chars, kMaxShownChars);
    while (lo < hi) {
        const size_t mid = (lo + hi + 1) / 2;
        if (dc.GetTextExtent(shortened(mid)).cx <= maxWidth) {
            lo = mid;
        } else {
            hi = mid - 1;
        }
    }
    return shortened(lo);
}

