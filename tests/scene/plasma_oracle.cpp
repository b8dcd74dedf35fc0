#include "plasma_oracle.h"

#include <cmath>
#include <cstring>

#include "scene/plasma.h"

int32_t OraclePhaseStep(int32_t p, int32_t t) {
    return static_cast<int32_t>(std::nearbyint(p + t / 32.0 - 4 + 512)) % 512;
}

void OracleSynthesize(PlasmaState& s) {
    const auto& T0 = s.tables[0];
    const auto& T1 = s.tables[1];
    const auto& T2 = s.tables[2];
    const auto& T3 = s.tables[3];
    int32_t D[4];
    for (int k = 0; k < 4; ++k) D[k] = s.wave[4 + k];
    for (int r = 0; r < 64; ++r) {
        int32_t A[4], AD[4], DD[4];
        for (int k = 0; k < 4; ++k) {
            A[k] = s.wave[k];
            AD[k] = (s.drift[k] + 2 * r) % 512;
            DD[k] = (s.drift[4 + k] + 2 * r) % 512;
        }
        for (int c = 0; c < 64; ++c) {
            const int32_t red = T0[A[0]] + T1[A[1]] + T2[A[2]] + T3[A[3]] + T0[D[2]] + T1[D[3]] + T2[D[0]] + T3[D[1]];
            const int32_t green = T0[A[1]] + T1[A[3]] + T2[A[2]] + T3[A[0]] + T0[D[1]] + T1[D[3]] + T2[D[2]] + T3[D[0]];
            const int32_t blue = T0[A[3]] + T1[A[0]] + T2[A[1]] + T3[A[2]] + T0[D[3]] + T1[D[0]] + T2[D[1]] + T3[D[2]];
            uint8_t* texel = &s.pixels[3 * (64 * r + c)];
            texel[0] = static_cast<uint8_t>((red >> 3) % 256);
            texel[1] = static_cast<uint8_t>((green >> 3) % 256);
            texel[2] = static_cast<uint8_t>((blue >> 3) % 256);
            for (int k = 0; k < 4; ++k) {
                A[k] = OraclePhaseStep(A[k], T2[AD[k]]);
                AD[k] = (AD[k] + 2) % 512;
            }
        }
        for (int k = 0; k < 4; ++k) D[k] = OraclePhaseStep(D[k], T1[DD[k]]);
    }
    for (int k = 0; k < 8; ++k) {
        s.wave[k] = OraclePhaseStep(s.wave[k], T2[s.drift[k]]);
        s.drift[k] = (s.drift[k] + 2) % 512;
    }
}

void CaptureGlobals(PlasmaState& s) {
    std::memcpy(s.tables, WaveTables, sizeof s.tables);
    std::memcpy(s.wave, WavePhases, sizeof s.wave);
    std::memcpy(s.drift, DriftPhases, sizeof s.drift);
    std::memcpy(s.pixels, PlasmaPixels, sizeof s.pixels);
}

void RestoreGlobals(const PlasmaState& s) {
    std::memcpy(WaveTables, s.tables, sizeof s.tables);
    std::memcpy(WavePhases, s.wave, sizeof s.wave);
    std::memcpy(DriftPhases, s.drift, sizeof s.drift);
    std::memcpy(PlasmaPixels, s.pixels, sizeof s.pixels);
}
