#pragma once
// The random inputs of a sweep. Every sample's numbers depend only on the
// seed and the sample's number, never on the order or the thread in which
// samples are drawn: the generator of a sample is seeded from a hash of the
// two, and the Latin hypercube's strata come from a permutation of the sample
// numbers keyed by the seed alone. So any sample can be drawn again on its
// own, and a sweep gives the same samples on any number of threads.

#include <cstdint>
#include <vector>

#include "model/CaseInputs.h"
#include "sweep/Variation.h"

namespace morvek {

enum class Sampling {
    // Each input's range is cut into as many strata of equal probability as
    // there are samples; every stratum is drawn exactly once per input, the
    // strata of different inputs paired at random.
    LatinHypercube,
    // Every input drawn independently from its whole range.
    MonteCarlo,
};

struct SamplingPlan {
    Sampling sampling = Sampling::LatinHypercube;
    uint64_t seed = 1;
    uint64_t samples = 1000;
};

// The share of each varied input's distribution (in [0, 1)) for sample number
// `sample` (1 to plan.samples), one per variation, in their order.
std::vector<double> SampleShares(const SamplingPlan& plan, size_t variationCount, uint64_t sample);

// The inputs of sample number `sample`: the base case with each varied input
// at its drawn value.
CaseInputs SampleInputs(const CaseInputs& base, const std::vector<Variation>& variations,
                        const SamplingPlan& plan, uint64_t sample);

// The stratum of a sample for one input of a Latin hypercube: a permutation of
// 0 .. samples-1 keyed by the seed and the input's position (a keyed Feistel
// network walked until it lands inside the range).
uint64_t LatinHypercubeStratum(uint64_t seed, size_t variationIndex, uint64_t samples,
                               uint64_t sampleIndex);

}  // namespace morvek
