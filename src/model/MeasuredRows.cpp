#include "model/MeasuredRows.h"

#include <algorithm>
#include <cmath>

#include "base/Format.h"

int ScanMeasuredRow(const std::string& row, float& oil, float& pressure, float& gor) {
    int n = ScanRow(row, oil, pressure, gor);
    const float values[3] = {oil, pressure, gor};
    for (int i = 0; i < n; ++i) {
        if (!std::isfinite(values[i])) return i;
    }
    return n;
}

namespace morvek {

std::vector<MeasuredPoint> MeasuredPoints(const std::vector<std::string>& rows) {
    return MeasuredPoints(rows, rows.size());
}

std::vector<MeasuredPoint> MeasuredPoints(const std::vector<std::string>& rows, size_t most) {
    std::vector<MeasuredPoint> points;
    const size_t count = std::min(rows.size(), most);
    points.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        MeasuredPoint m;
        const int numbers = ScanMeasuredRow(rows[i], m.np1000m3, m.pressureBar, m.gorSm3PerM3);
        if (numbers < 2) break;
        m.hasGor = numbers == 3;
        if (!m.hasGor) m.gorSm3PerM3 = 0;
        points.push_back(m);
    }
    return points;
}

}  // namespace morvek
