#include "sweep/Sampling.h"

#include <cmath>

namespace morvek {
namespace {

constexpr uint64_t kGoldenGamma = 0x9e3779b97f4a7c15ull;

// The output function of SplitMix64 (Steele, Lea and Flood 2014): a bijective
// 64-bit mix whose every output bit depends on every input bit. Applied to
// key + n * gamma it gives the n-th number of the SplitMix64 generator
// started at key.
uint64_t Mix64(uint64_t z) {
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

uint64_t SplitMix64At(uint64_t key, uint64_t n) {
    return Mix64(key + (n + 1) * kGoldenGamma);
}

// Distinct streams of one seed: the shares within the strata and the strata.
constexpr uint64_t kShareStream = 0x5a3c9e1d00000001ull;
constexpr uint64_t kStrataStream = 0x5a3c9e1d00000002ull;

// An input by its record name (FNV-1a), the same in every build and in any
// order of the inputs.
uint64_t InputKey(const Field& input) {
    uint64_t h = 0xcbf29ce484222325ull;
    for (const char* c = input.recordName; *c != '\0'; ++c)
        h = (h ^ static_cast<unsigned char>(*c)) * 0x100000001b3ull;
    return h;
}

uint64_t StreamKey(uint64_t seed, uint64_t stream, const Field& input) {
    return Mix64(Mix64(seed ^ stream) ^ InputKey(input));
}

// A uniform number in [0, 1) from the 53 high bits of a 64-bit number.
double UnitShare(uint64_t bits) {
    return static_cast<double>(bits >> 11) * 0x1.0p-53;
}

constexpr int kFeistelRounds = 4;

}  // namespace

uint64_t LatinHypercubeStratum(uint64_t seed, const Field& input, uint64_t samples,
                               uint64_t sampleIndex) {
    if (samples <= 1) return 0;
    // A balanced Feistel network permutes [0, 4^h) for the smallest h that
    // covers the samples; cycle walking (applying it again until the result
    // lies below samples) restricts that permutation to [0, samples).
    int halfBits = 1;
    while (halfBits < 32 && (uint64_t{1} << (2 * halfBits)) < samples) ++halfBits;
    const uint64_t halfMask = (uint64_t{1} << halfBits) - 1;
    const uint64_t key = StreamKey(seed, kStrataStream, input);
    uint64_t x = sampleIndex;
    do {
        uint64_t left = x >> halfBits, right = x & halfMask;
        for (int round = 0; round < kFeistelRounds; ++round) {
            const uint64_t mixed = SplitMix64At(key ^ right, round) & halfMask;
            const uint64_t next = left ^ mixed;
            left = right;
            right = next;
        }
        x = (left << halfBits) | right;
    } while (x >= samples);
    return x;
}

std::vector<double> SampleShares(const SamplingPlan& plan, const std::vector<Variation>& variations,
                                 uint64_t sample) {
    const uint64_t index = sample - 1;
    std::vector<double> shares(variations.size());
    for (size_t j = 0; j < variations.size(); ++j) {
        const Field& input = *variations[j].field;
        const double within =
            UnitShare(SplitMix64At(StreamKey(plan.seed, kShareStream, input), index));
        if (plan.sampling == Sampling::MonteCarlo) {
            shares[j] = within;
            continue;
        }
        const uint64_t stratum = LatinHypercubeStratum(plan.seed, input, plan.samples, index);
        const double share =
            (static_cast<double>(stratum) + within) / static_cast<double>(plan.samples);
        // (stratum + within) / samples can round up to 1 for the top stratum.
        shares[j] = share < 1.0 ? share : std::nextafter(1.0, 0.0);
    }
    return shares;
}

CaseInputs SampleInputs(const CaseInputs& base, const std::vector<Variation>& variations,
                        const SamplingPlan& plan, uint64_t sample) {
    CaseInputs inputs = base;
    const std::vector<double> shares = SampleShares(plan, variations, sample);
    for (size_t j = 0; j < variations.size(); ++j)
        variations[j].field->Number(inputs) = variations[j].Quantile(shares[j]);
    return inputs;
}

}  // namespace morvek
