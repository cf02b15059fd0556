#include "pvt/GasComponents.h"

const GasComponent GasComponentTable[15] = {
    {"SCHWEFELWASSERST", 34.076f, 1306.0f, 672.7f},
    {"KOHLENDIOXID    ", 44.01f, 1073.0f, 548.0f},
    {"STICKSTOFF      ", 28.016f, 492.0f, 227.2f},
    {"METHAN          ", 16.042f, 673.1f, 343.5f},
    {"AETHAN          ", 30.068f, 708.3f, 550.1f},
    {"PROPAN          ", 44.094f, 617.4f, 666.3f},
    {"I-BUTAN         ", 58.12f, 529.1f, 735.0f},
    {"N-BUTAN         ", 58.12f, 550.7f, 765.6f},
    {"I-PENTAN        ", 72.146f, 483.0f, 830.0f},
    {"N-PENTAN        ", 72.146f, 489.5f, 845.9f},
    {"HEXAN           ", 86.172f, 439.7f, 914.5f},
    {"HEPTAN          ", 100.198f, 396.9f, 972.6f},
    {"OKTAN           ", 114.224f, 362.1f, 1025.2f},
    {"NONAN           ", 128.25f, 345.0f, 1073.0f},
    {"DECAN           ", 142.276f, 320.0f, 1115.0f},
};

const char* const MethodNames[4] = {"         Glasoe", "Vasquez & Beggs", "       Standing",
                                    "   Kartoatmodjo"};

const char* MethodNameOf(int methode) {
    return (methode >= 0 && methode < 4) ? MethodNames[methode] : "";
}
