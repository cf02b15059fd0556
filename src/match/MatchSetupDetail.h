#pragma once
// The match's own view of its options: each fitted input with its start,
// bounds and the scale the solver measures it in. Internal to the match.

#include <string>
#include <vector>

#include "match/Match.h"

namespace morvek {

struct MatchableField {
    const Field* field;
    // A change of this size is a modest one for the input (in its unit): the
    // solver measures each input in units of max(|start|, typical), so that
    // every variable it sees is of order one and a finite-difference step of
    // a thousandth of it moves the prediction by far more than its rounding.
    double typical;
};

const std::vector<MatchableField>& MatchableTable();
const MatchableField* FindMatchable(const std::string& name);

struct ResolvedParameter {
    const Field* field = nullptr;
    double start = 0;
    MatchBounds bounds;
    double scale = 1;
};

// The parameters of options with their defaults filled in; unknown names are
// left out (CheckMatch refuses them).
std::vector<ResolvedParameter> ResolveParameters(const CaseInputs& inputs,
                                                 const MatchOptions& options);

}  // namespace morvek
