// The plasma synthesis: its tables, phase step, seeding and images, and the
// shipped fast synthesis against the plain oracle.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "native_services.h"
#include "plasma_oracle.h"
#include "scene/plasma.h"

namespace {

class Plasma : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(AllocatePlasmaPixels());
        std::memset(WaveTables, 0, sizeof WaveTables);
        std::memset(WavePhases, 0, sizeof WavePhases);
        std::memset(DriftPhases, 0, sizeof DriftPhases);
    }
    static void FillTables(int32_t value) {
        for (auto& table : WaveTables) std::fill(std::begin(table), std::end(table), value);
    }
    static std::array<int, 3> Texel(int row, int column) {
        const uint8_t* t = PlasmaPixels + 3 * (64 * row + column);
        return {t[0], t[1], t[2]};
    }
};

TEST_F(Plasma, TablesHoldTheirSinePeriods) {
    BuildWaveTables();
    const auto& T = WaveTables;
    for (int k = 0; k < 4; ++k) EXPECT_EQ(T[k][0], 128) << "T" << k;
    EXPECT_EQ(T[0][1], 130);
    EXPECT_EQ(T[0][128], 256);
    EXPECT_EQ(T[0][384], 0);
    EXPECT_EQ(T[1][64], 256);
    EXPECT_EQ(T[1][192], 0);
    EXPECT_EQ(T[2][32], 256);
    EXPECT_EQ(T[3][16], 256);
    EXPECT_EQ(T[3][48], 0);

    const int expectedPeaks[4] = {15, 14, 12, 8};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(std::count(std::begin(T[k]), std::end(T[k]), 256), expectedPeaks[k]) << "T" << k;
        EXPECT_GE(*std::min_element(std::begin(T[k]), std::end(T[k])), 0);
        EXPECT_LE(*std::max_element(std::begin(T[k]), std::end(T[k])), 256);
    }
    for (int i = 121; i <= 135; ++i) EXPECT_EQ(T[0][i], 256) << i;
}

TEST_F(Plasma, PhaseStepRoundsHalvesToEvenAndWraps) {
    EXPECT_EQ(PhaseStep(0, 0), 508);
    EXPECT_EQ(PhaseStep(511, 256), 3);
    EXPECT_EQ(PhaseStep(0, 16), 508);  // 508.5 down to even
    EXPECT_EQ(PhaseStep(1, 16), 510);  // 509.5 up to even
    for (int32_t p = 0; p < 512; ++p) {
        EXPECT_EQ(PhaseStep(p, 128), p);
        for (int32_t t = 0; t <= 256; ++t) ASSERT_EQ(PhaseStep(p, t), OraclePhaseStep(p, t)) << p << "," << t;
    }
}

TEST_F(Plasma, ConstantTablesGiveFlatImagesAndKnownPhases) {
    SynthesizePlasma();
    EXPECT_TRUE(std::all_of(PlasmaPixels, PlasmaPixels + PlasmaBytes, [](uint8_t b) { return b == 0; }));
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(WavePhases[k], 508);
        EXPECT_EQ(DriftPhases[k], 2);
    }

    FillTables(128);
    const int32_t start[8] = {0, 1, 255, 256, 300, 509, 510, 511};
    std::copy(start, start + 8, WavePhases);
    std::copy(start, start + 8, DriftPhases);
    SynthesizePlasma();
    EXPECT_TRUE(std::all_of(PlasmaPixels, PlasmaPixels + PlasmaBytes, [](uint8_t b) { return b == 128; }));
    const int32_t advanced[8] = {2, 3, 257, 258, 302, 511, 0, 1};
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(WavePhases[k], start[k]);
        EXPECT_EQ(DriftPhases[k], advanced[k]);
    }
}

TEST_F(Plasma, ChannelBytesKeepTheLowEightBitsOfTheEighth) {
    // Every channel adds each table twice, so a constant table set gives
    // every channel twice the sum of the four values.
    const struct {
        int32_t values[4];
        int byte;
    } cases[] = {{{256, 256, 256, 256}, 0},
                 {{255, 256, 256, 256}, 255},
                 {{255, 255, 255, 256}, 255},
                 {{255, 255, 255, 255}, 255},
                 {{1, 0, 0, 0}, 0},
                 {{4, 0, 0, 0}, 1}};
    for (const auto& c : cases) {
        for (int k = 0; k < 4; ++k) std::fill(std::begin(WaveTables[k]), std::end(WaveTables[k]), c.values[k]);
        SynthesizePlasma();
        EXPECT_TRUE(std::all_of(PlasmaPixels, PlasmaPixels + PlasmaBytes, [&](uint8_t b) { return b == c.byte; }))
            << c.values[0] << " " << c.values[1] << " " << c.values[2] << " " << c.values[3];
    }
}

TEST_F(Plasma, ReferenceImageFromBuiltTables) {
    BuildWaveTables();
    const int32_t start[8] = {130, 140, 150, 160, 170, 180, 190, 200};
    std::copy(start, start + 8, WavePhases);
    std::copy(start, start + 8, DriftPhases);
    SynthesizePlasma();
    EXPECT_EQ(Texel(0, 0), (std::array<int, 3>{148, 135, 166}));
    EXPECT_EQ(Texel(0, 1), (std::array<int, 3>{143, 135, 162}));
    EXPECT_EQ(Texel(1, 0), (std::array<int, 3>{148, 141, 164}));
    EXPECT_EQ(Texel(63, 63), (std::array<int, 3>{145, 182, 167}));
    const int32_t wave[8] = {130, 142, 154, 164, 174, 182, 190, 198};
    const int32_t drift[8] = {132, 142, 152, 162, 172, 182, 192, 202};
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(WavePhases[k], wave[k]) << k;
        EXPECT_EQ(DriftPhases[k], drift[k]) << k;
    }
}

TEST_F(Plasma, DriftIndicesWrapAtTheTableEnd) {
    BuildWaveTables();
    const int32_t drift[8] = {510, 511, 0, 1, 509, 510, 511, 2};
    std::copy(drift, drift + 8, DriftPhases);
    std::fill(std::begin(WavePhases), std::end(WavePhases), 200);
    SynthesizePlasma();
    const int32_t advanced[8] = {0, 1, 2, 3, 511, 0, 1, 4};
    for (int k = 0; k < 8; ++k) EXPECT_EQ(DriftPhases[k], advanced[k]) << k;
}

TEST_F(Plasma, SeedingDrawsEqualStartPhasesFromTheGenerator) {
    // The generator by hand: seed' = seed * 134775813 + 1, value = top 7 bits.
    uint32_t seed = 0x12345678;
    NativeSeedClock = seed;
    SeedPlasmaPhases();
    for (int k = 0; k < 8; ++k) {
        seed = seed * 134775813u + 1u;
        EXPECT_EQ(WavePhases[k], static_cast<int32_t>(seed >> 25) + 128) << k;
        EXPECT_EQ(DriftPhases[k], WavePhases[k]) << k;
    }
    EXPECT_EQ(PlasmaRandomSeed, seed);

    for (uint32_t s : {0u, 1u, 0xFFFFFFFFu, 0x80000000u, 2024u}) {
        SeedPlasmaPhasesFrom(s);
        for (int k = 0; k < 8; ++k) {
            EXPECT_GE(WavePhases[k], 128);
            EXPECT_LE(WavePhases[k], 255);
            EXPECT_EQ(WavePhases[k], DriftPhases[k]);
        }
    }
}

TEST_F(Plasma, FastSynthesisMatchesTheOracle) {
    BuildWaveTables();
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int32_t> phase(0, 511);
    PlasmaState expected;
    PlasmaState actual;
    for (int set = 0; set < 10000; ++set) {
        for (int k = 0; k < 8; ++k) {
            WavePhases[k] = phase(random);
            DriftPhases[k] = phase(random);
        }
        CaptureGlobals(expected);
        for (int image = 0; image < 3; ++image) {
            OracleSynthesize(expected);
            SynthesizePlasma();
            CaptureGlobals(actual);
            ASSERT_EQ(std::memcmp(actual.pixels, expected.pixels, sizeof actual.pixels), 0)
                << "set " << set << " image " << image;
            ASSERT_EQ(std::memcmp(actual.wave, expected.wave, sizeof actual.wave), 0) << "set " << set;
            ASSERT_EQ(std::memcmp(actual.drift, expected.drift, sizeof actual.drift), 0) << "set " << set;
        }
    }
}

}  // namespace
