#pragma once
// The fluid properties of a laboratory PVT table: linear in pressure between
// the rows, never beyond them (a pressure outside the table takes the nearest
// row's values; the prediction stops at the lowest row instead).
//
// Bg, the gas viscosity and Rv come only from the rows at or below the bubble
// point: above it the laboratory measures no free gas, and whatever those
// rows hold is not used. Above the highest such row they keep its values.

#include <string>
#include <vector>

#include "model/LabTables.h"

namespace morvek {

// y at v, linear between the points of the ascending x, the first or last y
// beyond them (the laboratory tables are never extrapolated).
double InterpolateClamped(const std::vector<double>& x, const std::vector<double>& y, double v);

class TabulatedPvt {
public:
    TabulatedPvt(const LabPvtTable& table, float bubblePointPressureBar);

    double Rs(float pressureBar) const { return At(rs_, pressureBar); }  // sm3/m3
    double Bo(float pressureBar) const { return At(bo_, pressureBar); }  // m3/sm3
    double OilViscosity(float pressureBar) const { return At(oilViscosity_, pressureBar); }  // cP
    double Bg(float pressureBar) const { return AtGas(bg_, pressureBar); }  // m3/sm3
    double GasViscosity(float pressureBar) const { return AtGas(gasViscosity_, pressureBar); }
    // Vaporised oil-gas ratio, m3 of stock-tank oil per sm3 of gas; 0 without
    // an Rv column.
    double Rv(float pressureBar) const { return hasRv_ ? AtGas(rv_, pressureBar) : 0.0; }
    bool HasRv() const { return hasRv_; }
    // Water formation volume factor, m3/sm3, when the table has the column.
    bool HasBw() const { return hasBw_; }
    double Bw(float pressureBar) const { return At(bw_, pressureBar); }
    // Oil compressibility in 1/bar from the slopes of the table: above the
    // bubble point -(1/Bo) dBo/dp, below it with the gas coming out of
    // solution, (Bg dRs/dp - dBo/dp) / Bo.
    double Co(float pressureBar) const;

    float LowestPressureBar() const { return lowest_; }
    float HighestPressureBar() const { return highest_; }
    const std::string& FileName() const { return fileName_; }
    int RowCount() const { return static_cast<int>(p_.size()); }

private:
    double At(const std::vector<double>& y, float pressureBar) const;
    double AtGas(const std::vector<double>& y, float pressureBar) const;

    std::vector<double> p_, bo_, rs_, oilViscosity_;
    std::vector<double> bw_;
    std::vector<double> gasP_, bg_, gasViscosity_, rv_;  // rows at or below the bubble point
    float lowest_, highest_;
    std::string fileName_;
    bool hasRv_ = false, hasBw_ = false;
};

}  // namespace morvek
