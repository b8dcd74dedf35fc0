#include "scene/plasma.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numbers>

#include "scene/scene_services.h"

int32_t WaveTables[WaveTableCount][WaveTableLength];
int32_t WavePhases[PhaseCount];
int32_t DriftPhases[PhaseCount];
uint8_t* PlasmaPixels;
uint32_t PlasmaRandomSeed;

namespace {

constexpr uint32_t LcgMultiplier = 134775813;

// Which table each working phase reads for red, green and blue. Packing the
// three channels of a phase into one 64-bit word (16 bits each; a channel
// sum never exceeds 8 x 256) turns a texel's 24 lookups into 4 plus a
// per-row constant.
struct ChannelTables {
    int red, green, blue;
};
constexpr ChannelTables AcrossChannels[4] = {{0, 3, 1}, {1, 0, 2}, {2, 2, 3}, {3, 1, 0}};
constexpr ChannelTables DownChannels[4] = {{2, 3, 1}, {3, 0, 2}, {0, 2, 3}, {1, 1, 0}};

// Derived from WaveTables, rebuilt only when the tables change (in the saver,
// once): the packed across-entries, and the across-step for each drift index
// for an even and for an odd phase.
int32_t DerivedFrom[WaveTableCount][WaveTableLength];
bool DerivedValid;
uint64_t PackedAcross[4][WaveTableLength];
int32_t AcrossStepEven[WaveTableLength];
int32_t AcrossStepOdd[WaveTableLength];

uint64_t Pack(const ChannelTables& channels, uint32_t phase) {
    const auto entry = [phase](int table) {
        return static_cast<uint64_t>(static_cast<uint32_t>(WaveTables[table][phase]) & 0xFFFF);
    };
    return entry(channels.red) | entry(channels.green) << 16 | entry(channels.blue) << 32;
}

// How far PhaseStep moves a phase of the given parity by table entry t.
// Congruent to PhaseStep(p, t) - p modulo 512 for every p of that parity;
// -4..4 for the entries 0..256 the tables hold.
int32_t StepDelta(int32_t parity, int32_t t) {
    return ((PhaseStep(parity, t) - parity + 4) & static_cast<int32_t>(PhaseMask)) - 4;
}

void DeriveFromTables() {
    if (DerivedValid && std::memcmp(DerivedFrom, WaveTables, sizeof DerivedFrom) == 0) return;
    std::memcpy(DerivedFrom, WaveTables, sizeof DerivedFrom);
    DerivedValid = true;
    for (int k = 0; k < 4; ++k)
        for (uint32_t p = 0; p < WaveTableLength; ++p) PackedAcross[k][p] = Pack(AcrossChannels[k], p);
    for (uint32_t d = 0; d < WaveTableLength; ++d) {
        AcrossStepEven[d] = StepDelta(0, WaveTables[2][d]);
        AcrossStepOdd[d] = StepDelta(1, WaveTables[2][d]);
    }
}

uint8_t ChannelByte(uint64_t sums, int channel) {
    return static_cast<uint8_t>(sums >> (16 * channel + 3));
}

}  // namespace

void BuildWaveTables() {
    for (int i = 0; i < WaveTableLength; ++i) {
        // The product with 4*pi at extended precision, the angle rounded to
        // single precision; every entry is far enough from a rounding
        // boundary that double-precision sines then give exact integers.
        const long double product = static_cast<long double>(i) * (4 * std::numbers::pi_v<long double>);
        const double angle = static_cast<float>(product / WaveTableLength);
        const double periods[WaveTableCount] = {angle / 2, angle, 2 * angle, 4 * angle};
        for (int table = 0; table < WaveTableCount; ++table)
            WaveTables[table][i] = static_cast<int32_t>(std::lrint(128 * std::sin(periods[table]) + 128));
    }
}

uint32_t PlasmaRandom(uint32_t n) {
    PlasmaRandomSeed = PlasmaRandomSeed * LcgMultiplier + 1;
    return static_cast<uint32_t>((static_cast<uint64_t>(n) * PlasmaRandomSeed) >> 32);
}

void SeedPlasmaPhasesFrom(uint32_t seed) {
    PlasmaRandomSeed = seed;
    for (int k = 0; k < PhaseCount; ++k) {
        const auto start = static_cast<int32_t>(PlasmaRandom(128) + 128);
        WavePhases[k] = start;
        DriftPhases[k] = start;
    }
}

void SeedPlasmaPhases() { SeedPlasmaPhasesFrom(ReadSeedClock()); }

bool AllocatePlasmaPixels() {
    if (PlasmaPixels == nullptr)
        PlasmaPixels = static_cast<uint8_t*>(std::malloc(PlasmaBytes));
    return PlasmaPixels != nullptr;
}

void SynthesizePlasma() {
    DeriveFromTables();
    const int32_t* const down = WaveTables[1];
    uint32_t downPhase[4];
    for (int k = 0; k < 4; ++k) downPhase[k] = static_cast<uint32_t>(WavePhases[4 + k]) & PhaseMask;

    uint8_t* out = PlasmaPixels;
    for (uint32_t row = 0; row < PlasmaSide; ++row) {
        uint64_t rowSums = 0;
        for (int k = 0; k < 4; ++k) rowSums += Pack(DownChannels[k], downPhase[k]);

        // The across-phases run unmasked (a step only needs the parity) and
        // are reduced where they index; that keeps each phase's dependency
        // chain to a test, a select and an add.
        uint32_t a[4];
        uint32_t drift[4];
        for (int k = 0; k < 4; ++k) {
            a[k] = static_cast<uint32_t>(WavePhases[k]) & PhaseMask;
            drift[k] = (static_cast<uint32_t>(DriftPhases[k]) + 2 * row) & PhaseMask;
        }
        for (int column = 0; column < PlasmaSide; ++column) {
            uint64_t sums = rowSums;
            for (int k = 0; k < 4; ++k) sums += PackedAcross[k][a[k] & PhaseMask];
            out[0] = ChannelByte(sums, 0);
            out[1] = ChannelByte(sums, 1);
            out[2] = ChannelByte(sums, 2);
            out += 3;
            for (int k = 0; k < 4; ++k) {
                a[k] += static_cast<uint32_t>((a[k] & 1) != 0 ? AcrossStepOdd[drift[k]] : AcrossStepEven[drift[k]]);
                drift[k] = (drift[k] + 2) & PhaseMask;
            }
        }
        for (int k = 0; k < 4; ++k) {
            const uint32_t downDrift = (static_cast<uint32_t>(DriftPhases[4 + k]) + 2 * row) & PhaseMask;
            downPhase[k] = static_cast<uint32_t>(PhaseStep(static_cast<int32_t>(downPhase[k]), down[downDrift]));
        }
    }

    const int32_t* const across = WaveTables[2];
    for (int k = 0; k < PhaseCount; ++k) {
        const uint32_t drift = static_cast<uint32_t>(DriftPhases[k]) & PhaseMask;
        WavePhases[k] = PhaseStep(WavePhases[k], across[drift]);
        DriftPhases[k] = static_cast<int32_t>((drift + 2) & PhaseMask);
    }
}
