// A plain transcription of the plasma synthesis, kept as the oracle that the
// shipped, faster SynthesizePlasma must match byte for byte.
#pragma once

#include <cstdint>

struct PlasmaState {
    int32_t tables[4][512];
    int32_t wave[8];
    int32_t drift[8];
    uint8_t pixels[64 * 64 * 3];
};

// rounded(p + t/32 - 4 + 512) mod 512, rounding halves to even.
int32_t OraclePhaseStep(int32_t p, int32_t t);
// One image into state.pixels; advances state.wave and state.drift.
void OracleSynthesize(PlasmaState& state);
// Copies the program-wide plasma arrays into a state, and back.
void CaptureGlobals(PlasmaState& state);
void RestoreGlobals(const PlasmaState& state);
