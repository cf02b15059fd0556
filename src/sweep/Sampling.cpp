#include "sweep/Sampling.h"

#include <cmath>
#include <random>

namespace morvek {
namespace {

// SplitMix64 (Steele, Lea and Flood 2014): a bijective 64-bit mix whose every
// output bit depends on every input bit; hashes seeds and sample numbers.
uint64_t SplitMix64(uint64_t x) {
    x += 0x9e3779b97f4a7c15ull;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ull;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebull;
    return x ^ (x >> 31);
}

// Distinct streams of one seed: the samples' generators and the strata.
constexpr uint64_t kSampleStream = 0x5a3c9e1d00000001ull;
constexpr uint64_t kStrataStream = 0x5a3c9e1d00000002ull;

// A uniform number in [0, 1) from the 53 high bits of one draw; written out so
// that the numbers are the same with every standard library.
double UnitShare(std::mt19937_64& generator) {
    return static_cast<double>(generator() >> 11) * 0x1.0p-53;
}

constexpr int kFeistelRounds = 4;

}  // namespace

uint64_t LatinHypercubeStratum(uint64_t seed, size_t variationIndex, uint64_t samples,
                               uint64_t sampleIndex) {
    if (samples <= 1) return 0;
    // A balanced Feistel network permutes [0, 4^h) for the smallest h that
    // covers the samples; cycle walking (applying it again until the result
    // lies below samples) restricts that permutation to [0, samples).
    int halfBits = 1;
    while (halfBits < 32 && (uint64_t{1} << (2 * halfBits)) < samples) ++halfBits;
    const uint64_t halfMask = (uint64_t{1} << halfBits) - 1;
    const uint64_t key = SplitMix64(SplitMix64(seed ^ kStrataStream) + variationIndex);
    uint64_t x = sampleIndex;
    do {
        uint64_t left = x >> halfBits, right = x & halfMask;
        for (int round = 0; round < kFeistelRounds; ++round) {
            const uint64_t mixed = SplitMix64(right ^ SplitMix64(key + round)) & halfMask;
            const uint64_t next = left ^ mixed;
            left = right;
            right = next;
        }
        x = (left << halfBits) | right;
    } while (x >= samples);
    return x;
}

std::vector<double> SampleShares(const SamplingPlan& plan, size_t variationCount, uint64_t sample) {
    const uint64_t index = sample - 1;
    std::mt19937_64 generator(SplitMix64(SplitMix64(plan.seed ^ kSampleStream) + index));
    std::vector<double> shares(variationCount);
    for (size_t j = 0; j < variationCount; ++j) {
        const double within = UnitShare(generator);
        if (plan.sampling == Sampling::MonteCarlo) {
            shares[j] = within;
        } else {
            const uint64_t stratum = LatinHypercubeStratum(plan.seed, j, plan.samples, index);
            const double share =
                (static_cast<double>(stratum) + within) / static_cast<double>(plan.samples);
            // (stratum + within) / samples can round up to 1 for the top stratum.
            shares[j] = share < 1.0 ? share : std::nextafter(1.0, 0.0);
        }
    }
    return shares;
}

CaseInputs SampleInputs(const CaseInputs& base, const std::vector<Variation>& variations,
                        const SamplingPlan& plan, uint64_t sample) {
    CaseInputs inputs = base;
    const std::vector<double> shares = SampleShares(plan, variations.size(), sample);
    for (size_t j = 0; j < variations.size(); ++j)
        variations[j].field->Number(inputs) = variations[j].Quantile(shares[j]);
    return inputs;
}

}  // namespace morvek
