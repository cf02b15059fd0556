#pragma once
// Many predictions at once, on as many threads as asked for (oneTBB). Every
// prediction is a pure function of its case, so the results do not depend on
// the number of threads: they come back in the order of the cases.

#include <functional>
#include <vector>

#include "depletion/Prediction.h"

namespace morvek {

// threads: at most this many at once; 0 for every core.
std::vector<PredictionResult> PredictMany(const std::vector<CaseInputs>& cases,
                                          const RunOptions& options = {}, int threads = 0);

// Runs work(i) for i in [0, count) on at most threads threads (0: every
// core); each index exactly once, in no particular order.
void ParallelFor(size_t count, int threads, const std::function<void(size_t)>& work);

// How many threads ParallelFor uses for the given limit.
int ThreadCount(int threads);

}  // namespace morvek
