#include "forecast/ForecastSweep.h"

#include <algorithm>
#include <cmath>

#include "base/CalendarDate.h"
#include "base/Format.h"
#include "base/NumberText.h"
#include "depletion/PredictMany.h"
#include "sweep/SweepText.h"

namespace morvek {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr uint64_t kChunkPerThread = 64;  // forecasts take some ms each
constexpr size_t kLabelWidth = 44;

enum Fixed : size_t { kNpAtEnd, kAbandonmentDate, kPlateauEndDate, kFixedOutcomes };

// The first day of the year after `year`: cumulative oil "by 2030" is that
// at the end of 2030.
int32_t EndOfYear(int year) {
    return SerialOf({year + 1, 1, 1});
}

// Running mean and variance (Welford), in sample order.
struct RunningMoments {
    uint64_t n = 0;
    double mean = 0, m2 = 0;
    void Add(double x) {
        ++n;
        const double d = x - mean;
        mean += d / static_cast<double>(n);
        m2 += d * (x - mean);
    }
};

std::string DateText(double serial) {
    if (std::isnan(serial)) return "-";
    if (std::isinf(serial)) return "nach Ende";
    return IsoDate(static_cast<int32_t>(std::floor(serial)));
}

std::string PadRight(const std::string& text, size_t width) {
    size_t n = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++n;
    return n >= width ? text + " " : text + std::string(width - n, ' ');
}

// The fan's time grid: months from the start to the end of the base case's
// period, every k-th month when there are more than fit.
std::vector<double> FanDays(const ForecastSettings& s) {
    std::vector<double> days;
    const int step = std::max(1, static_cast<int>((s.months + ForecastFan::kFanPoints - 2) /
                                                  (ForecastFan::kFanPoints - 1)));
    for (int m = 0; m <= s.months; m += step)
        days.push_back(double(AddMonths(s.startDate, m) - s.startDate));
    if (days.back() < s.PeriodDays()) days.push_back(s.PeriodDays());
    return days;
}

}  // namespace

std::vector<ForecastOutcomeColumn> ForecastOutcomeColumns(const ForecastSweepOptions& o) {
    std::vector<ForecastOutcomeColumn> c = {
        {"np_at_abandonment_1000m3", "Kum. Ölproduktion bei Aufgabe/Ende (1000 m3)", false},
        {"abandonment_date", "Datum der Aufgabe", true},
        {"plateau_end_date", "Ende des Plateaus", true},
    };
    for (int year : o.npByYears)
        c.push_back({Format("np_by_%d", year),
                     Format("Kum. Ölproduktion bis Ende %d (1000 m3)", year), false});
    return c;
}

bool ForecastOutcomesOf(const ForecastResult& r, const ForecastSweepOptions& options,
                        std::vector<double>& out, std::string& failure) {
    out.assign(kFixedOutcomes + options.npByYears.size(), std::nan(""));
    if (r.steps.size() < 2 || r.stop == ForecastStop::NoMeaningfulValue ||
        r.stop == ForecastStop::NoBalance || r.stop == ForecastStop::NotStarted) {
        failure = r.stop == ForecastStop::EndOfPeriod || r.stop == ForecastStop::AbandonmentRate
                      ? "Die Prognose endet vor ihrem ersten Schritt."
                      : "Die Prognose hat kein Ergebnis (Ende nach " +
                            std::to_string(r.steps.size() - 1) + " Schritten).";
        if (r.stop == ForecastStop::AbandonmentRate && r.steps.size() == 1)
            failure = "Schon zu Beginn liefern die Bohrungen weniger als die Aufgaberate.";
        return false;
    }
    const ForecastStep& last = r.Last();
    out[kNpAtEnd] = last.np1000m3;
    out[kAbandonmentDate] = r.Abandoned() ? r.startDate + last.days : kInfinity;
    out[kPlateauEndDate] = r.startDate + r.plateauEndDays;
    for (size_t i = 0; i < options.npByYears.size(); ++i)
        out[kFixedOutcomes + i] = r.OilAtDays(EndOfYear(options.npByYears[i]) - r.startDate);
    failure.clear();
    return true;
}

std::string CheckForecastSweep(const CaseInputs& base, const ForecastSweepOptions& options) {
    const ForecastSettings s = ForecastSettings::Of(base);
    const int first = YearOf(s.startDate);
    const int last = YearOf(AddMonths(s.startDate, s.months) - 1);
    for (int year : options.npByYears)
        if (year < first || year > last)
            return Format("Das Jahr %d liegt nicht im Prognosezeitraum (%d bis %d).", year, first,
                          last);
    return {};
}

ForecastSweepResult ForecastSweep(const CaseInputs& base, const std::vector<Variation>& variations,
                                  const ForecastSweepOptions& options,
                                  const ForecastSweepSink& sink, const SweepProgress& progress) {
    ForecastSweepResult result;
    const uint64_t total = options.plan.samples;
    result.samples = total;
    result.columns = ForecastOutcomeColumns(options);
    const size_t outcomes = result.columns.size();
    std::vector<std::vector<double>> values(outcomes);
    std::vector<RunningMoments> moments(outcomes);
    result.beyondPeriod.assign(outcomes, 0);

    const ForecastSettings settings = ForecastSettings::Of(base);
    ForecastFan& fan = result.fan;
    fan.startDate = settings.startDate;
    fan.days = FanDays(settings);
    const size_t points = fan.days.size();
    // Rates and cumulatives of the fan's samples, a row of points each.
    std::vector<float> fanRates, fanNp;

    const uint64_t chunk = kChunkPerThread * static_cast<uint64_t>(ThreadCount(options.threads));
    const uint64_t begin = options.firstSample, end = options.LastSample();
    const uint64_t planned = options.Planned();
    std::vector<ForecastSweepRow> rows(static_cast<size_t>(std::min(chunk, std::max<uint64_t>(planned, 1))));
    std::vector<std::vector<float>> chunkRates(rows.size()), chunkNp(rows.size());
    for (uint64_t first = begin; first <= end; first += chunk) {
        const size_t count = static_cast<size_t>(std::min(chunk, end - first + 1));
        ParallelFor(count, options.threads, [&](size_t i) {
            ForecastSweepRow& row = rows[i];
            row.sample = first + i;
            const CaseInputs inputs = SampleInputs(base, variations, options.plan, row.sample);
            row.values.resize(variations.size());
            for (size_t j = 0; j < variations.size(); ++j)
                row.values[j] = variations[j].field->Number(inputs);
            row.failure.clear();
            if (options.check) row.failure = options.check(inputs);
            if (row.failure.empty()) row.failure = ForecastRefusal(inputs);
            chunkRates[i].clear();
            chunkNp[i].clear();
            if (!row.failure.empty()) return;
            const ForecastResult r = ForecastCase(inputs, options.run);
            if (!ForecastOutcomesOf(r, options, row.outcomes, row.failure)) return;
            // The profile on the fan's grid (from the base case's start: a
            // sample that starts later has produced nothing before).
            const double shift = double(r.startDate) - fan.startDate;
            chunkRates[i].resize(points);
            chunkNp[i].resize(points);
            for (size_t k = 0; k < points; ++k) {
                const double d = fan.days[k] - shift;
                chunkRates[i][k] = d < 0 ? 0.0f : static_cast<float>(r.OilRateAtDays(d));
                chunkNp[i][k] = static_cast<float>(r.OilAtDays(d));
            }
        });
        for (size_t i = 0; i < count; ++i) {
            const ForecastSweepRow& row = rows[i];
            if (sink) sink(row);
            if (row.Failed()) {
                ++result.failedCount;
                if (result.failed.size() < SweepResult::kListedFailures)
                    result.failed.push_back({row.sample, row.failure});
                continue;
            }
            for (size_t o = 0; o < outcomes; ++o) {
                const double v = row.outcomes[o];
                if (std::isnan(v)) continue;
                values[o].push_back(v);
                if (std::isinf(v)) {
                    ++result.beyondPeriod[o];
                } else {
                    moments[o].Add(v);
                }
            }
            if (fan.samples < ForecastSweepResult::kFanSamples) {
                fanRates.insert(fanRates.end(), chunkRates[i].begin(), chunkRates[i].end());
                fanNp.insert(fanNp.end(), chunkNp[i].begin(), chunkNp[i].end());
                ++fan.samples;
            }
        }
        result.completed += count;
        if (progress && !progress(result.completed, planned)) break;
    }
    result.cancelled = result.completed < planned;

    result.statistics.resize(outcomes);
    for (size_t o = 0; o < outcomes; ++o) {
        std::vector<double>& v = values[o];
        if (v.empty()) continue;
        std::sort(v.begin(), v.end());
        OutcomeStatistics& s = result.statistics[o];
        s.count = moments[o].n;
        if (moments[o].n > 0) {
            s.mean = moments[o].mean;
            s.stdDev = moments[o].n > 1
                           ? std::sqrt(moments[o].m2 / static_cast<double>(moments[o].n - 1))
                           : 0.0;
        }
        s.p90 = ReservesPercentile(v, 90);
        s.p50 = ReservesPercentile(v, 50);
        s.p10 = ReservesPercentile(v, 10);
        s.min = v.front();
        s.max = v.back();
    }

    // The fan: the P-values of every point over the fan's samples.
    const size_t n = static_cast<size_t>(fan.samples);
    for (size_t p = 0; p < 3; ++p) {
        fan.oilRate[p].assign(points, std::nan(""));
        fan.np[p].assign(points, std::nan(""));
    }
    std::vector<double> column(n);
    constexpr int kPercents[3] = {90, 50, 10};
    for (size_t k = 0; k < points && n > 0; ++k) {
        for (int which = 0; which < 2; ++which) {
            const std::vector<float>& source = which == 0 ? fanRates : fanNp;
            for (size_t i = 0; i < n; ++i) column[i] = source[i * points + k];
            std::sort(column.begin(), column.end());
            for (size_t p = 0; p < 3; ++p)
                (which == 0 ? fan.oilRate : fan.np)[p][k] = ReservesPercentile(column, kPercents[p]);
        }
    }
    return result;
}

std::string ForecastSweepCsvHeader(const std::vector<Variation>& variations,
                                   const ForecastSweepOptions& options) {
    std::string line = "sample";
    for (const Variation& v : variations) line += std::string(";") + v.field->name;
    for (const ForecastOutcomeColumn& c : ForecastOutcomeColumns(options)) line += ";" + c.column;
    return line + "\n";
}

std::string ForecastSweepCsvLine(const ForecastSweepRow& row,
                                 const std::vector<ForecastOutcomeColumn>& columns) {
    std::string line = std::to_string(row.sample);
    for (float v : row.values) line += ";" + ShortestText(v);
    for (size_t o = 0; o < columns.size(); ++o) {
        line += ';';
        if (row.Failed()) continue;
        const double v = row.outcomes[o];
        if (!std::isfinite(v)) continue;
        line += columns[o].date ? IsoDate(static_cast<int32_t>(std::floor(v))) : ShortestText(v);
    }
    return line + "\n";
}

std::string ForecastSweepSummaryText(const std::string& fieldName,
                                     const std::vector<Variation>& variations,
                                     const ForecastSweepOptions& options,
                                     const ForecastSweepResult& result) {
    std::string out;
    auto line = [&out](const std::string& text) { out += text + "\n"; };
    line("Unsicherheitsanalyse der Prognose über die Zeit, Feld: " + fieldName);
    out += SampleRunHeadLines(options, result.samples, result.completed, result.cancelled,
                              result.failedCount);
    line("Variierte Eingaben:");
    for (const Variation& v : variations)
        line("  " + PadRight(v.field->recordName, 24) + PadRight(v.field->Caption(), 40) +
             DistributionText(v));
    line("");
    line(PadRight("Ergebnis", kLabelWidth) +
         Format("%12s%12s%12s%12s%12s", "Mittelwert", "Std.abw.", "P90", "P50", "P10"));
    for (size_t o = 0; o < result.columns.size(); ++o) {
        const ForecastOutcomeColumn& c = result.columns[o];
        const OutcomeStatistics& s = result.statistics[o];
        if (c.date) {
            // A date's spread in days; P-values as dates.
            line(PadRight(c.label, kLabelWidth) +
                 Format("%12s%12s%12s%12s%12s", DateText(s.mean).c_str(),
                        std::isnan(s.stdDev) ? "-" : Format("%.0f d", s.stdDev).c_str(),
                        DateText(s.p90).c_str(), DateText(s.p50).c_str(), DateText(s.p10).c_str()));
            if (result.beyondPeriod[o] > 0)
                line(Format("  (in %llu Stichproben nicht innerhalb des Prognosezeitraums; der "
                            "Mittelwert gilt für die übrigen)",
                            static_cast<unsigned long long>(result.beyondPeriod[o])));
        } else {
            auto number = [](double v) {
                return std::isnan(v) ? Format("%12s", "-") : Format("%12.2f", v);
            };
            line(PadRight(c.label, kLabelWidth) + number(s.mean) + number(s.stdDev) +
                 number(s.p90) + number(s.p50) + number(s.p10));
        }
    }
    line("P90: der Wert, den 90 % der Stichproben erreichen oder übertreffen (niedrige "
         "Schätzung; bei einem Datum: so früh oder später);");
    line("P10: der Wert, den 10 % der Stichproben erreichen oder übertreffen (hohe Schätzung).");
    if (result.fan.samples > 0)
        line(Format("Fächer von Ölrate und kumulativer Ölproduktion aus %llu Stichproben.",
                    static_cast<unsigned long long>(result.fan.samples)));
    if (result.failedCount > 0) {
        line("");
        line(Format("Fehlgeschlagene Stichproben (%llu), mit Grund:",
                    static_cast<unsigned long long>(result.failedCount)));
        for (const FailedSample& f : result.failed) {
            std::string reason = f.reason;
            for (char& ch : reason)
                if (ch == '\n' || ch == '\r') ch = ' ';
            line(Format("  Stichprobe %llu: ", static_cast<unsigned long long>(f.sample)) + reason);
        }
        if (result.failedCount > result.failed.size())
            line(Format("  ... und %llu weitere", static_cast<unsigned long long>(
                                                      result.failedCount - result.failed.size())));
    }
    return out;
}

}  // namespace morvek
