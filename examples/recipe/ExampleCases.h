#pragma once
// The bundled example cases, made by the program's own save. The tool
// make_examples writes them into examples/, and a test checks that the files
// there are exactly what this recipe makes.

#include <string>
#include <vector>

class CMorvekDoc;

struct ExampleCase {
    std::string fileName;  // "nordfeld.mvk"
    void (*fill)(CMorvekDoc&);
};

// Nordfeld: 5000 thousand m3 of 35 degree API oil at 80 degrees C, initial
// pressure 250 bar, bubble point 200 bar, Glasoe correlation.
void FillNordfeld(CMorvekDoc& doc);

// Nordfeld with a gas cap of half the oil zone's pore volume.
void FillGaskappe(CMorvekDoc& doc);

// Nordfeld with a sour gas (10 % H2S, 5 % CO2, in place of methane), the
// Standing correlation and a measured oil viscosity of 0.9 cP at the bubble
// point.
void FillSauergas(CMorvekDoc& doc);

// Dake's water-drive case (1978, exercise 9.2): its PVT table and production
// history (examples/tabellen/dake1978-pvt.txt, examples/dake1978-historie.txt)
// and a van Everdingen-Hurst aquifer of reD = 5.
void FillDake1978(CMorvekDoc& doc);
extern const char* const kDakePvtText;
extern const char* const kDakeHistoryText;

const std::vector<ExampleCase>& ExampleCases();
