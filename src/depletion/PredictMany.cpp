#include "depletion/PredictMany.h"

#include <tbb/blocked_range.h>
#include <tbb/info.h>
#include <tbb/parallel_for.h>
#include <tbb/task_arena.h>

namespace morvek {

int ThreadCount(int threads) {
    const int cores = tbb::info::default_concurrency();
    return threads > 0 && threads < cores ? threads : cores;
}

void ParallelFor(size_t count, int threads, const std::function<void(size_t)>& work) {
    tbb::task_arena arena(ThreadCount(threads));
    arena.execute([&] {
        tbb::parallel_for(tbb::blocked_range<size_t>(0, count),
                          [&](const tbb::blocked_range<size_t>& r) {
                              for (size_t i = r.begin(); i != r.end(); ++i) work(i);
                          });
    });
}

std::vector<PredictionResult> PredictMany(const std::vector<CaseInputs>& cases,
                                          const RunOptions& options, int threads) {
    std::vector<PredictionResult> results(cases.size());
    ParallelFor(cases.size(), threads,
                [&](size_t i) { results[i] = PredictCase(cases[i], options); });
    return results;
}

}  // namespace morvek
