#pragma once
// Oil-gravity consistency check. API gravity, gas gravity, temperature and
// bubble point fix the solution gas-oil ratio at the bubble point; a measured
// initial gas-oil ratio over-determines them. The case's Rs correlation is
// solved backwards for the API gravity that reproduces the measured ratio;
// the caller decides, before the run, which gravity the run goes on with.

#include <string>

#include "model/CaseInputs.h"

namespace morvek {

// The API gravities a case may hold: from the dialog's lower limit (heavier
// than water is refused) to an oil of 0.6 kg/l, the lightest the dialog's
// density check lets pass without a warning.
inline constexpr double kMinApiGravity = 9.85;
inline constexpr double kMaxApiGravity = 104.07;

struct ApiFromInitialGor {
    bool given = false;  // the case holds a measured initial gas-oil ratio
    // The Glasoe inverse, which the Glasoe question offers; not a number when
    // there is none.
    float glasoeApi = 0;
    // The gravity that reproduces the measured ratio with the case's
    // correlation; not a number when none does.
    float api = 0;
    // Within kMinApiGravity..kMaxApiGravity: only then is it offered.
    bool inRange = false;

    bool Offered() const { return given && api == api && inRange; }
};

// gasRelativeDensity: air = 1, of the case's gas.
ApiFromInitialGor BackCalculateApi(const CaseInputs& inputs, double gasRelativeDensity);

// The API gravity a run takes: the back-calculated one when the caller chose
// it and it is offered, else the case's own.
float ApiForRun(const CaseInputs& inputs, const ApiFromInitialGor& found, bool useBackCalculated);

// Why a back-calculated gravity is not offered (one message for the user).
std::string ApiOutOfRangeMessage(const CaseInputs& inputs, const ApiFromInitialGor& found);

}  // namespace morvek
