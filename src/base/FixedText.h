#pragma once
// The fixed-point conversion of printf ("%W.Pf") without the printf machinery:
// the same characters in the C locale, exactly rounded (ties to even on the
// exact binary value, as printf does), right-aligned in the width. The
// depletion report writes one row of nine such numbers every ten pressure
// steps, and printf's conversion was a third of the run's time.

#include <string>

void AppendFixed(std::string& out, double value, int width, int precision);
