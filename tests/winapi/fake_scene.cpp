// The scene as the Windows code sees it: each call is recorded with the
// stand-in's calls, so window and loop tests see where frames are drawn.
#include <string>

#include "fake_windows.h"
#include "loop/clock.h"
#include "scene/scene.h"

int32_t LastTextureUpdateMs;

void InitScene() { FakeRecord("InitScene()"); }
void ResizeScene(int32_t width, int32_t height) {
    FakeRecord("ResizeScene(" + std::to_string(width) + ", " + std::to_string(height) + ")");
}
void DrawScene() { FakeRecord("DrawScene(" + std::to_string(ElapsedMs) + ")"); }
bool PlasmaRefreshDue(int32_t, int32_t) { return false; }
void InitRenderState() { FakeRecord("InitRenderState()"); }
void DrawSceneAtSize(int32_t width, int32_t height) {
    FakeRecord("DrawSceneAtSize(" + std::to_string(width) + ", " + std::to_string(height) + ", " +
               std::to_string(ElapsedMs) + ")");
}
