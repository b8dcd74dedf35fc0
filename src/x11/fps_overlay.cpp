#include "x11/fps_overlay.h"

#include <GL/gl.h>
#include <GL/glx.h>

#include <cstring>

#include "loop/frame_title.h"
#include "x11/gl_window.h"
#include "linux/report_failure.h"

namespace {

constexpr const char* FontName = "fixed";
constexpr int FirstGlyph = 32;
constexpr int GlyphCount = 96;
constexpr int MarginPixels = 8;

GLuint GlyphLists;
int FontDescent;
int SpaceAdvance;

}  // namespace

bool LoadOverlayFont() {
    XFontStruct* font = XLoadQueryFont(XDisplay, FontName);
    if (font == nullptr) {
        ReportProblem("--fps: cannot load the X font \"%s\"; the frame rate is not shown", FontName);
        return false;
    }
    GlyphLists = glGenLists(GlyphCount);
    if (GlyphLists != 0) glXUseXFont(font->fid, FirstGlyph, GlyphCount, GlyphLists);
    else ReportProblem("--fps: no OpenGL display lists for the font; the frame rate is not shown");
    FontDescent = font->descent;
    SpaceAdvance = font->max_bounds.width;
    XFreeFont(XDisplay, font);
    return GlyphLists != 0;
}

void DrawFpsOverlay(int32_t framesPerSecond, int32_t width, int32_t height) {
    if (GlyphLists == 0) return;
    char text[24];
    std::strcpy(text, IntToText(framesPerSecond).text);
    std::strcat(text, " FPS");

    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_TRANSFORM_BIT);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, width, 0, height > 0 ? height : 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glColor3f(1, 1, 1);
    glRasterPos2i(MarginPixels, MarginPixels + FontDescent);
    for (const char* c = text; *c != '\0'; ++c) {
        // HACK: Mesa's glXUseXFont list for the space moves the raster
        // position by nothing, so move it by the font's width here.
        if (*c == ' ') glBitmap(0, 0, 0, 0, static_cast<float>(SpaceAdvance), 0, nullptr);
        else glCallList(GlyphLists + static_cast<GLuint>(*c - FirstGlyph));
    }
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();
}
