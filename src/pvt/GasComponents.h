#pragma once
// Fixed data of the fifteen gas components and the names of the four oil
// correlations as the report prints them.

struct GasComponent {
    const char* name;  // exactly 16 characters, blank-padded, printed as it stands
    float molecularWeight;
    float criticalPressure;     // psia
    float criticalTemperature;  // degrees Rankine
};

extern const GasComponent GasComponentTable[15];

// Indexed by the correlation index 0..3, each exactly 15 characters.
extern const char* const MethodNames[4];

// The method name for the report head; empty for an index outside 0..3, which
// only a damaged or foreign case file can hold.
const char* MethodNameOf(int methode);
