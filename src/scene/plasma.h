// The plasma: four sine tables, eight drifting phases and the 64x64 RGB image
// synthesised from them. Pure integer work over program-wide arrays; the
// OpenGL side lives in plasma_texture.cpp.
#pragma once

#include <cstdint>

inline constexpr int PlasmaSide = 64;
inline constexpr int PlasmaBytes = PlasmaSide * PlasmaSide * 3;  // 12,288
inline constexpr int WaveTableLength = 512;
inline constexpr int WaveTableCount = 4;
inline constexpr int PhaseCount = 8;
inline constexpr uint32_t PhaseMask = WaveTableLength - 1;

// T0..T3: one, two, four and eight sine periods over 512 entries, values 0..256.
extern int32_t WaveTables[WaveTableCount][WaveTableLength];
// Entries 0..3 start every row and move along it; 4..7 start the first row
// and move down. All eight advance once per image.
extern int32_t WavePhases[PhaseCount];
// Entry k indexes the table entry that sizes the next step of phase k.
extern int32_t DriftPhases[PhaseCount];
// Red, green, blue per texel, row 0 first; null until AllocatePlasmaPixels.
extern uint8_t* PlasmaPixels;
// The 32-bit linear congruential generator's state.
extern uint32_t PlasmaRandomSeed;

// The phase p moved by table entry t: rounded(p + t/32 - 4) mod 512, a half
// going to the even neighbour. Any p and t give an index in 0..511.
inline int32_t PhaseStep(int32_t phase, int32_t entry) {
    const uint32_t p = static_cast<uint32_t>(phase);
    const uint32_t t = static_cast<uint32_t>(entry);
    const uint32_t whole = t >> 5;
    const uint32_t fraction = t & 31;
    // Over 16/32 rounds up; exactly 16/32 rounds up only onto an even result.
    const uint32_t roundUp = (fraction + ((p + whole) & 1)) > 16 ? 1 : 0;
    return static_cast<int32_t>((p + whole + roundUp + WaveTableLength - 4) & PhaseMask);
}

// Fills T0..T3 from the sine; the only place a sine is evaluated.
void BuildWaveTables();
// Seeds the generator from ReadSeedClock() and draws the eight start phases.
void SeedPlasmaPhases();
// As SeedPlasmaPhases, from a given seed.
void SeedPlasmaPhasesFrom(uint32_t seed);
// Advances the generator and returns a value in 0..n-1.
uint32_t PlasmaRandom(uint32_t n);
// Allocates PlasmaPixels once; false when memory is exhausted.
bool AllocatePlasmaPixels();
// Writes the next image into PlasmaPixels and advances both phase arrays.
void SynthesizePlasma();
