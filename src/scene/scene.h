// The turning, plasma-textured cube: rendering state, projection and frame.
// Runs on whatever OpenGL context is current; the platform layer makes it.
#pragma once

#include <cstdint>

// ElapsedMs at the last plasma refresh.
extern int32_t LastTextureUpdateMs;

// Sets the rendering state and builds the plasma and its texture; once per
// context, after the first ResizeScene.
void InitScene();
// Sets the rendering state alone: for a further context that shares the
// texture of the one InitScene set up.
void InitRenderState();
// Viewport and perspective projection for a client area; leaves the
// modelview matrix current and set to identity.
void ResizeScene(int32_t width, int32_t height);
// Draws one frame into the back buffer for the current ElapsedMs.
void DrawScene();
// Draws the frame for a client area of its own in a context that another
// window may use too; that window's viewport, projection, enabled and
// texture state stay as they were. The picture is DrawScene's at that size, except that a
// client area taller than wide gets a taller view, keeping the whole cube in
// view across its width.
void DrawSceneAtSize(int32_t width, int32_t height);
// True when a frame at elapsedMs refreshes the plasma last refreshed at
// lastUpdateMs: more than 25 ms later, on a wrapping 32-bit difference.
bool PlasmaRefreshDue(int32_t elapsedMs, int32_t lastUpdateMs);
