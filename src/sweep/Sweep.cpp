#include "sweep/Sweep.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/Format.h"
#include "base/NumberText.h"
#include "base/RunValues.h"
#include "depletion/PredictMany.h"
#include "report/Report.h"

namespace morvek {
namespace {

constexpr double kThousand = 1000.0;
constexpr double kPercent = 100.0;

// Samples per thread and chunk: a chunk of a few hundred predictions per core
// keeps the cores busy (the wait at the end of a chunk is one prediction at
// most) and the progress and the rows moving (a chunk takes some 50 ms).
constexpr uint64_t kChunkPerThread = 256;
// The summary may take this share of the computer's memory.
constexpr uint64_t kSummaryShareOfMemory = 2;  // a half
constexpr double kBytesPerGigabyte = 1e9;

constexpr std::array<OutcomeInfo, kOutcomeCount> kOutcomes = {{
    {"np_end_1000m3", "Kum. Ölproduktion am Ende (1000 m3)"},
    {"rf_end_pct", "Entölungsgrad am Ende (%)"},
    {"gp_end_mio_sm3", "Kum. Gasproduktion am Ende (Mio sm3)"},
    {"p_end_bar", "Druck am Ende (bar)"},
    {"gor_max_sm3_sm3", "Höchstes Gas-Öl-Verhältnis (sm3/m3)"},
    {"np_abandon_1000m3", "Kum. Ölproduktion bei %s bar (1000 m3)"},
    {"rf_abandon_pct", "Entölungsgrad bei %s bar (%)"},
}};

size_t Index(Outcome o) {
    return static_cast<size_t>(o);
}

// Cumulative oil when the falling pressure reaches the abandonment pressure:
// interpolated linearly in pressure between the steps around it. A prediction
// that ends above it (all oil produced, no more production) keeps its last
// value; one that starts at or below it has produced nothing.
double OilAtPressure(const std::vector<PredictionStep>& steps, double pressureBar) {
    const PredictionStep* before = nullptr;
    for (const PredictionStep& s : steps) {
        if (s.pressureBar <= pressureBar) {
            if (before == nullptr) return s.np1000m3;
            const double share =
                (before->pressureBar - pressureBar) / (double(before->pressureBar) - s.pressureBar);
            return before->np1000m3 + share * (s.np1000m3 - before->np1000m3);
        }
        before = &s;
    }
    return steps.back().np1000m3;
}

// Running mean and variance in sample order (Welford), so that the summary
// is the same on any number of threads.
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

std::vector<CurvePoint> SCurve(const std::vector<double>& ascending) {
    std::vector<CurvePoint> curve;
    const size_t n = ascending.size();
    if (n == 0) return curve;
    const size_t points = std::min(n, SweepResult::kCurvePoints);
    curve.reserve(points);
    for (size_t k = 0; k < points; ++k) {
        // Evenly spread ranks, the first and the last sample always among them.
        const size_t i = points == 1 ? n - 1 : k * (n - 1) / (points - 1);
        curve.push_back({ascending[i], kPercent * static_cast<double>(i + 1) / n});
    }
    return curve;
}

}  // namespace

const OutcomeInfo& InfoOf(Outcome outcome) {
    return kOutcomes[Index(outcome)];
}

double ReservesPercentile(const std::vector<double>& ascending, int percent) {
    const uint64_t n = ascending.size();
    if (n == 0) return std::numeric_limits<double>::quiet_NaN();
    // At least ceil(percent * n / 100) samples reach or exceed the value: the
    // largest such value is the one that many places from the top.
    const uint64_t reaching = (static_cast<uint64_t>(percent) * n + 99) / 100;
    return ascending[n - std::max<uint64_t>(reaching, 1)];
}

bool OutcomesOf(const PredictionResult& r, const CaseInputs& inputs, float abandonmentPressureBar,
                OutcomeValues& out, std::string& failure) {
    // A failed quantity, no point below pi, a balance without a value: the
    // report renders why.
    if (!PredictionHasResult(r)) {
        failure = PredictionFailureText(r);
        return false;
    }
    const PredictionStep& last = r.steps.back();
    const double ooip = inputs.ooip1000m3;
    out.fill(std::numeric_limits<double>::quiet_NaN());
    out[Index(Outcome::NpEnd)] = last.np1000m3;
    out[Index(Outcome::RfEnd)] = kPercent * last.np1000m3 / ooip;
    out[Index(Outcome::GpEnd)] = last.gp1000Sm3 / kThousand;
    out[Index(Outcome::PressureEnd)] = last.pressureBar;
    double gorMax = r.steps.front().gorSm3PerM3;
    for (const PredictionStep& s : r.steps) gorMax = std::max(gorMax, s.gorSm3PerM3);
    out[Index(Outcome::GorMax)] = gorMax;
    if (abandonmentPressureBar > 0.0f) {
        const double np = OilAtPressure(r.steps, abandonmentPressureBar);
        out[Index(Outcome::NpAbandon)] = np;
        out[Index(Outcome::RfAbandon)] = kPercent * np / ooip;
    }
    failure.clear();
    return true;
}

void RunSample(const CaseInputs& inputs, const SweepOptions& options, OutcomeValues& outcomes,
               std::string& failure) {
    failure.clear();
    if (options.check) {
        failure = options.check(inputs);
        if (!failure.empty()) return;
    }
    const PredictionResult prediction = PredictCase(inputs, options.run);
    OutcomesOf(prediction, inputs, options.abandonmentPressureBar, outcomes, failure);
}

uint64_t MemoryOfComputerBytes() {
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    uint64_t bytes = pages > 0 && pageSize > 0 ? uint64_t(pages) * uint64_t(pageSize) : 0;
    // A container's limit (cgroup v2) is the memory the program has.
    if (std::FILE* f = std::fopen("/sys/fs/cgroup/memory.max", "r")) {
        unsigned long long limit = 0;
        if (std::fscanf(f, "%llu", &limit) == 1 && limit > 0 && (bytes == 0 || limit < bytes))
            bytes = limit;
        std::fclose(f);
    }
    return bytes;
}

uint64_t SummaryBytesPerSample(const SweepOptions& options) {
    return options.OutcomeCount() * sizeof(double);
}

std::string CheckSummaryMemory(const SweepOptions& options, uint64_t memoryBytes) {
    if (memoryBytes == 0) return {};  // unknown: nothing to tell
    const uint64_t perSample = SummaryBytesPerSample(options);
    const uint64_t most = memoryBytes / kSummaryShareOfMemory / perSample;
    if (options.plan.samples <= most) return {};
    return Format(
        "%llu Stichproben brauchen für die Zusammenfassung %.1f GB Speicher (%llu Byte je "
        "Stichprobe, damit P90, P50 und P10 genau die Werte der Stichproben sind); sie darf "
        "höchstens die Hälfte der %.1f GB dieses Rechners belegen, also höchstens %llu "
        "Stichproben. Bitte weniger Stichproben angeben oder den Lauf mit verschiedenen "
        "--seed aufteilen.",
        static_cast<unsigned long long>(options.plan.samples),
        double(options.plan.samples) * double(perSample) / kBytesPerGigabyte,
        static_cast<unsigned long long>(perSample), double(memoryBytes) / kBytesPerGigabyte,
        static_cast<unsigned long long>(most));
}

std::string CheckAbandonment(const CaseInputs& base, float abandonmentPressureBar) {
    const float lowest = LowestTablePressureBar(base);
    if (!(abandonmentPressureBar > 0.0f) || abandonmentPressureBar >= lowest) return "";
    return Format(
        "Der Aufgabedruck %s bar liegt unter dem niedrigsten Druck der PVT-Tabelle (%s bar); "
        "die Vorhersage endet dort und erreicht ihn nie.",
        ShortestText(abandonmentPressureBar).c_str(), ShortestText(lowest).c_str());
}

SweepResult Sweep(const CaseInputs& base, const std::vector<Variation>& variations,
                  const SweepOptions& options, const SweepSink& sink,
                  const SweepProgress& progress) {
    SweepResult result;
    const uint64_t total = options.plan.samples;
    result.samples = total;
    const size_t outcomeCount = options.OutcomeCount();

    std::array<std::vector<double>, kOutcomeCount> values;
    std::array<RunningMoments, kOutcomeCount> moments;
    // Reserved whole: a vector that doubles would need three times its
    // values while it moves them. Pages that no value reaches (failed or
    // cancelled samples) are never touched.
    for (size_t o = 0; o < outcomeCount; ++o) values[o].reserve(total);

    const uint64_t chunk = kChunkPerThread * static_cast<uint64_t>(ThreadCount(options.threads));
    std::vector<SweepRow> rows(static_cast<size_t>(std::min(chunk, std::max<uint64_t>(total, 1))));
    const uint64_t begin = options.firstSample, end = options.LastSample();
    const uint64_t planned = options.Planned();
    for (uint64_t first = begin; first <= end; first += chunk) {
        const size_t count = static_cast<size_t>(std::min(chunk, end - first + 1));
        ParallelFor(count, options.threads, [&](size_t i) {
            SweepRow& row = rows[i];
            row.sample = first + i;
            const CaseInputs inputs = SampleInputs(base, variations, options.plan, row.sample);
            row.values.resize(variations.size());
            for (size_t j = 0; j < variations.size(); ++j)
                row.values[j] = variations[j].field->Number(inputs);
            RunSample(inputs, options, row.outcomes, row.failure);
        });
        for (size_t i = 0; i < count; ++i) {
            const SweepRow& row = rows[i];
            if (sink) sink(row);
            if (row.Failed()) {
                ++result.failedCount;
                if (result.failed.size() < SweepResult::kListedFailures)
                    result.failed.push_back({row.sample, row.failure});
                continue;
            }
            for (size_t o = 0; o < outcomeCount; ++o) {
                values[o].push_back(row.outcomes[o]);
                moments[o].Add(row.outcomes[o]);
            }
        }
        result.completed += count;
        if (progress && !progress(result.completed, planned)) break;
    }
    result.cancelled = result.completed < planned;

    for (size_t o = 0; o < outcomeCount; ++o) {
        std::vector<double>& v = values[o];
        if (v.empty()) continue;
        std::sort(v.begin(), v.end());
        OutcomeStatistics& s = result.statistics[o];
        s.count = v.size();
        s.mean = moments[o].mean;
        s.stdDev =
            v.size() > 1 ? std::sqrt(moments[o].m2 / static_cast<double>(v.size() - 1)) : 0.0;
        s.p90 = ReservesPercentile(v, 90);
        s.p50 = ReservesPercentile(v, 50);
        s.p10 = ReservesPercentile(v, 10);
        s.min = v.front();
        s.max = v.back();
    }
    result.rfCurve = SCurve(values[Index(Outcome::RfEnd)]);
    return result;
}

}  // namespace morvek
