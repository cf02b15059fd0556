#pragma once
// The random inputs of a sweep. Each varied input of each sample gets its
// number from the seed, the input (its record name) and the sample's number
// alone: the n-th output of a SplitMix64 sequence keyed by seed and input,
// and for a Latin hypercube the input's stratum from a permutation of the
// sample numbers keyed the same way. So any sample can be drawn again on its
// own, a sweep gives the same samples on any number of threads, and an
// input's values do not change with the order or the set of the other varied
// inputs (the window's table and the command line's --vary order agree).

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
std::vector<double> SampleShares(const SamplingPlan& plan, const std::vector<Variation>& variations,
                                 uint64_t sample);

// The inputs of sample number `sample`: the base case with each varied input
// at its drawn value.
CaseInputs SampleInputs(const CaseInputs& base, const std::vector<Variation>& variations,
                        const SamplingPlan& plan, uint64_t sample);

// The stratum (0 .. samples-1) of sample index `sampleIndex` (0-based) for one
// input of a Latin hypercube: a permutation of the sample indices keyed by
// the seed and the input (a keyed Feistel network walked until it lands
// inside the range).
uint64_t LatinHypercubeStratum(uint64_t seed, const Field& input, uint64_t samples,
                               uint64_t sampleIndex);

}  // namespace morvek
