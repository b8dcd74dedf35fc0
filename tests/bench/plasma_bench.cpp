// The shipped synthesis against the plain oracle, in one run; prints the
// nanoseconds per image of each and their ratio.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "../scene/plasma_oracle.h"
#include "scene/plasma.h"

namespace {

void StartState() {
    AllocatePlasmaPixels();
    BuildWaveTables();
    SeedPlasmaPhasesFrom(20261207);
}

void Shipped(benchmark::State& state) {
    StartState();
    for (auto _ : state) {
        SynthesizePlasma();
        benchmark::DoNotOptimize(PlasmaPixels[0]);
        benchmark::ClobberMemory();
    }
}

void Oracle(benchmark::State& state) {
    StartState();
    static PlasmaState plasma;
    CaptureGlobals(plasma);
    for (auto _ : state) {
        OracleSynthesize(plasma);
        benchmark::DoNotOptimize(plasma.pixels[0]);
        benchmark::ClobberMemory();
    }
}

BENCHMARK(Shipped);
BENCHMARK(Oracle);

// Keeps the console output and remembers each benchmark's time per image.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration) nanoseconds[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
    std::map<std::string, double> nanoseconds;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto shipped = reporter.nanoseconds.find("Shipped");
    const auto oracle = reporter.nanoseconds.find("Oracle");
    if (shipped == reporter.nanoseconds.end() || oracle == reporter.nanoseconds.end()) return 0;
    std::printf("shipped %.0f ns/image, oracle %.0f ns/image, shipped is %.2fx faster\n", shipped->second,
                oracle->second, oracle->second / shipped->second);
    return 0;
}
