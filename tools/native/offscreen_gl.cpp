#include "offscreen_gl.h"

#include <cstddef>

#include <GL/gl.h>
#include <GL/osmesa.h>

namespace {

OSMesaContext Context;
std::vector<uint8_t> Buffer;
int Width;
int Height;

}  // namespace

bool MakeOffscreenContext(int width, int height) {
    DestroyOffscreenContext();
    if (width <= 0 || height <= 0) return false;
    Context = OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr);
    if (Context == nullptr) return false;
    Buffer.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4, 0);
    Width = width;
    Height = height;
    if (!OSMesaMakeCurrent(Context, Buffer.data(), GL_UNSIGNED_BYTE, width, height)) {
        DestroyOffscreenContext();
        return false;
    }
    return true;
}

std::vector<uint8_t> ReadOffscreenPixels() {
    std::vector<uint8_t> pixels(static_cast<std::size_t>(Width) * static_cast<std::size_t>(Height) * 4);
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, Width, Height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

void DestroyOffscreenContext() {
    if (Context != nullptr) {
        // Let llvmpipe's threads finish with the buffer before it goes.
        glFinish();
        OSMesaMakeCurrent(nullptr, nullptr, GL_UNSIGNED_BYTE, 0, 0);
        OSMesaDestroyContext(Context);
    }
    Context = nullptr;
    Buffer.clear();
    Width = Height = 0;
}
