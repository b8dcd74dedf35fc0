// Forced into the scene's sources in the browser build (-include), so that
// they stay exactly the Windows saver's. The browser's fixed-function
// emulation on WebGL takes three of their calls differently; each is adapted
// here to draw the same picture.
#pragma once

#include <GL/gl.h>

// The emulation takes a normal given once per face for a per-vertex array and
// mis-strides the cube into scattered triangles. Nothing is lit, so the
// normal can go.
inline void WebNormal3f(GLfloat, GLfloat, GLfloat) {}

// WebGL names internal formats only by constant; 3 components is GL_RGB.
inline void WebTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                          GLint border, GLenum format, GLenum type, const void* pixels) {
    glTexImage2D(target, level, internalFormat == 3 ? GL_RGB : internalFormat, width, height, border, format,
                 type, pixels);
}

// WebGL always corrects for perspective and rejects the hint.
inline void WebHint(GLenum target, GLenum mode) {
    if (target != GL_PERSPECTIVE_CORRECTION_HINT) glHint(target, mode);
}

// Macros, as only they reach calls in sources this header may not change.
#define glNormal3f WebNormal3f
#define glTexImage2D WebTexImage2D
#define glHint WebHint
