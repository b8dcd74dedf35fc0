// The scene's two fatal failures and its seed clock, through the saver's
// Windows services to the stand-in: the box each failure shows, and the exit.
#include <gtest/gtest.h>

#include <cstdlib>

#include "fake_windows.h"
#include "offscreen_gl.h"
#include "scene/plasma_texture.h"
#include "scene/scene.h"
#include "scene/scene_services.h"

// The next malloc from the program's own code fails (the link wraps malloc).
bool FailNextMalloc;

extern "C" void* __real_malloc(size_t size);
extern "C" void* __wrap_malloc(size_t size) {
    if (FailNextMalloc) {
        FailNextMalloc = false;
        return nullptr;
    }
    return __real_malloc(size);
}

namespace {

// The stand-in prints its call log when the process exits; the box must come
// right before the exit.
TEST(SceneServicesDeath, FatalFailuresShowTheirBoxThenExit) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // Mesa runs threads of its own
    EXPECT_EXIT(CreatePlasmaTexture(nullptr), ::testing::ExitedWithCode(1),
                "MessageBoxA\\(0, \"Unable to create texture\", \"Create Textures\", 0x0\\)\nExitProcess\\(1\\)\n");
    EXPECT_EXIT(
        {
            if (!MakeOffscreenContext(64, 64)) std::exit(99);
            FakeReset();
            FailNextMalloc = true;
            InitScene();
        },
        ::testing::ExitedWithCode(203),
        "MessageBoxA\\(0, \"Runtime error 203: out of memory\", \"Error\", 0x10\\)\nExitProcess\\(203\\)\n");
}

TEST(SceneServices, SeedClockFallsBackToTheTickCount) {
    FakeReset();
    FakeTicks() = 4242;
    EXPECT_EQ(ReadSeedClock(), 0x89ABCDEFu);  // the counter's low 32 bits
    FakeReturn("QueryPerformanceCounter", FALSE);
    EXPECT_EQ(ReadSeedClock(), 4242u);
    EXPECT_EQ(FakeCalls(), (std::vector<std::string>{"QueryPerformanceCounter()", "QueryPerformanceCounter()",
                                                     "GetTickCount()"}));
}

}  // namespace
