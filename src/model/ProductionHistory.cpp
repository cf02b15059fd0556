#include "model/ProductionHistory.h"

#include <bit>
#include <cmath>
#include <cstdint>

#include "base/Cp1252.h"
#include "base/Format.h"

namespace morvek {
namespace {

std::string Number(float v) {
    return Format("%g", double(v));
}

bool SameBits(float a, float b) {
    return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b);
}

}  // namespace

std::string HistoryRowProblem(const HistoryRow& row, const HistoryRow* before) {
    for (float v : row.Numbers())
        if (!std::isfinite(v)) return "Die Zeile enthält einen Wert, der keine Zahl ist.";
    if (!(row.pressureBar > 0.0f))
        return Format("Der Druck %s bar muß größer als 0 sein.", Number(row.pressureBar).c_str());
    if (row.days < 0.0f)
        return Format("Die Zeit %s Tage darf nicht negativ sein.", Number(row.days).c_str());
    const struct {
        const char* name;
        float value;
        float previous;
    } volumes[] = {
        {"Die kumulative Ölförderung", row.np1000m3, before ? before->np1000m3 : 0.0f},
        {"Die kumulative Gasförderung", row.gpMioSm3, before ? before->gpMioSm3 : 0.0f},
        {"Die kumulative Wasserförderung", row.wp1000m3, before ? before->wp1000m3 : 0.0f},
        {"Die kumulative Wasserinjektion", row.wi1000m3, before ? before->wi1000m3 : 0.0f},
        {"Die kumulative Gasinjektion", row.giMioSm3, before ? before->giMioSm3 : 0.0f},
    };
    for (const auto& v : volumes)
        if (v.value < 0.0f)
            return Format("%s %s darf nicht negativ sein.", v.name, Number(v.value).c_str());
    if (before == nullptr) return {};
    if (!(row.days > before->days))
        return Format("Die Zeit %s Tage liegt nicht nach der Zeit der Zeile davor (%s Tage).",
                      Number(row.days).c_str(), Number(before->days).c_str());
    for (const auto& v : volumes)
        if (v.value < v.previous)
            return Format("%s fällt von %s auf %s; kumulative Werte fallen nie.", v.name,
                          Number(v.previous).c_str(), Number(v.value).c_str());
    return {};
}

bool IsValidDate(const std::string& d) {
    if (d.size() != 10 || d[4] != '-' || d[7] != '-') return false;
    for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (d[i] < '0' || d[i] > '9') return false;
    const int year = std::stoi(d.substr(0, 4));
    const int month = std::stoi(d.substr(5, 2));
    const int day = std::stoi(d.substr(8, 2));
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || month < 1 || month > 12 || day < 1) return false;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

bool IsValidHistory(const ProductionHistory& h) {
    if (h.rows.empty() || h.rows.size() > size_t{kMaxHistoryRows}) return false;
    if (!FitsCp1252(h.fileName)) return false;
    if (!h.startDate.empty() && !IsValidDate(h.startDate)) return false;
    for (size_t i = 0; i < h.rows.size(); ++i)
        if (!HistoryRowProblem(h.rows[i], i > 0 ? &h.rows[i - 1] : nullptr).empty()) return false;
    return true;
}

bool SameHistory(const ProductionHistory& a, const ProductionHistory& b) {
    if (a.fileName != b.fileName || a.startDate != b.startDate || a.rows.size() != b.rows.size())
        return false;
    for (size_t i = 0; i < a.rows.size(); ++i) {
        const auto x = a.rows[i].Numbers(), y = b.rows[i].Numbers();
        for (size_t k = 0; k < HistoryRow::kColumns; ++k)
            if (!SameBits(x[k], y[k])) return false;
    }
    return true;
}

}  // namespace morvek
