#include "pvt/TabulatedPvt.h"

#include <algorithm>

namespace morvek {
namespace {

// The segment [x[i], x[i+1]] that holds v, for a clamped v.
size_t Segment(const std::vector<double>& x, double v) {
    const auto above = std::upper_bound(x.begin(), x.end(), v);
    const size_t i = above == x.begin() ? 0 : static_cast<size_t>(above - x.begin()) - 1;
    return std::min(i, x.size() - 2);
}

}  // namespace

double InterpolateClamped(const std::vector<double>& x, const std::vector<double>& y, double v) {
    if (x.size() == 1 || v <= x.front()) return y.front();
    if (v >= x.back()) return y.back();
    const size_t i = Segment(x, v);
    const double t = (v - x[i]) / (x[i + 1] - x[i]);
    return y[i] + t * (y[i + 1] - y[i]);
}

TabulatedPvt::TabulatedPvt(const LabPvtTable& table, float pb)
    : lowest_(table.rows.front().pressureBar),
      highest_(table.rows.back().pressureBar),
      fileName_(table.fileName),
      hasRv_(table.hasRv),
      hasBw_(table.hasBw) {
    for (const LabPvtRow& r : table.rows) {
        p_.push_back(r.pressureBar);
        bo_.push_back(r.bo);
        rs_.push_back(r.rs);
        oilViscosity_.push_back(r.oilViscosityCp);
        bw_.push_back(r.bw);
        // A table that begins above the bubble point (which the dialog's OK
        // refuses) takes its lowest row's gas.
        if (r.pressureBar <= pb || gasP_.empty()) {
            gasP_.push_back(r.pressureBar);
            bg_.push_back(r.bg);
            gasViscosity_.push_back(r.gasViscosityCp);
            rv_.push_back(r.rv);
        }
    }
}

double TabulatedPvt::At(const std::vector<double>& y, float pressureBar) const {
    return InterpolateClamped(p_, y, pressureBar);
}

double TabulatedPvt::AtGas(const std::vector<double>& y, float pressureBar) const {
    return InterpolateClamped(gasP_, y, pressureBar);
}

double TabulatedPvt::Co(float pressureBar) const {
    const double p = std::clamp(double(pressureBar), p_.front(), p_.back());
    const size_t i = Segment(p_, p);
    const double dp = p_[i + 1] - p_[i];
    const double dBo = (bo_[i + 1] - bo_[i]) / dp;
    const double dRs = (rs_[i + 1] - rs_[i]) / dp;
    return (Bg(pressureBar) * dRs - dBo) / Bo(pressureBar);
}

}  // namespace morvek
