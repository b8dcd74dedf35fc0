// EGL on the Wayland connection: one desktop OpenGL compatibility context,
// on a configuration without alpha (the surfaces are opaque) or depth
// buffer (the cube's far faces are culled instead), shared by every surface.
#pragma once

#include <wayland-egl.h>

// Ends the process with one line when EGL or desktop OpenGL is missing.
void StartEgl(wl_display* display);
// A window surface drawn without waiting for the display (swap interval 0):
// the compositor's frame callbacks pace it.
void* CreateEglSurface(wl_egl_window* window);
void DestroyEglSurface(void* surface);
// Makes the context current on the surface.
void MakeCurrent(void* surface);
// Shows the frame drawn; the commit carries what was asked of the surface before.
void SwapBuffers(void* surface);
void StopEgl();
