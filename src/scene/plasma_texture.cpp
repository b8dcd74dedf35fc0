#include "scene/plasma_texture.h"

#include <GL/gl.h>

#include "scene/plasma.h"
#include "scene/scene_services.h"

uint32_t PlasmaTexture;

namespace {

// Specifies the whole image anew; rows of 192 bytes suit the default
// unpack alignment of 4, so no repacking is needed.
void UploadPlasmaImage(const uint8_t* pixels) {
    glTexImage2D(GL_TEXTURE_2D, 0, 3, PlasmaSide, PlasmaSide, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels);
}

}  // namespace

uint32_t CreatePlasmaTexture(const uint8_t* pixels) {
    if (pixels == nullptr) ExitWithMessage("Unable to create texture", "Create Textures", false, 1);
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    // A linear minifying filter makes the single level a complete texture.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    UploadPlasmaImage(pixels);
    return name;
}

void UpdatePlasma() {
    SynthesizePlasma();
    UploadPlasmaImage(PlasmaPixels);
}
