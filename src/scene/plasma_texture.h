// The one OpenGL texture that shows the plasma on every face of the cube.
#pragma once

#include <cstdint>

// The texture's OpenGL name, as CreatePlasmaTexture returned it.
extern uint32_t PlasmaTexture;

// Creates, configures and loads the texture from a 64x64 RGB image and leaves
// it bound. A null image ends the process with exit code 1.
uint32_t CreatePlasmaTexture(const uint8_t* pixels);
// Synthesises the next image and uploads it to the bound texture.
void UpdatePlasma();
