// An OpenGL context without an X server or a window: Mesa's EGL surfaceless
// platform, a compatibility-profile context (immediate mode and the fixed
// pipeline need it) and a framebuffer object of the chosen size to draw into.
// Used by drape-render and by the benchmarks that draw through Mesa.
#pragma once

#ifndef GL_GLEXT_PROTOTYPES
#define GL_GLEXT_PROTOTYPES 1
#endif
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdio>

struct Offscreen {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLContext context = EGL_NO_CONTEXT;
    GLuint fbo = 0, colour = 0, depth = 0;
    const char* who = "offscreen";  // the program's name, for messages
};

inline bool offscreenFail(const Offscreen* g, const char* text) {
    std::fprintf(stderr, "%s: %s\n", g->who, text);
    return false;
}

// Opens the context and makes the framebuffer object current; on failure says
// why on standard error and returns false (call closeOffscreen all the same).
inline bool openOffscreen(Offscreen* g, int width, int height) {
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!getPlatformDisplay) return offscreenFail(g, "EGL has no eglGetPlatformDisplayEXT (is Mesa's libEGL installed?)");
    g->display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    EGLint major = 0, minor = 0;
    if (g->display == EGL_NO_DISPLAY || !eglInitialize(g->display, &major, &minor))
        return offscreenFail(g, "cannot open Mesa's surfaceless EGL display");
    if (!eglBindAPI(EGL_OPENGL_API)) return offscreenFail(g, "EGL offers no desktop OpenGL");

    const EGLint configAttribs[] = {EGL_SURFACE_TYPE,    EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                    EGL_RED_SIZE,        8,               EGL_GREEN_SIZE,      8,
                                    EGL_BLUE_SIZE,       8,               EGL_DEPTH_SIZE,      24,
                                    EGL_NONE};
    EGLConfig config;
    EGLint count = 0;
    if (!eglChooseConfig(g->display, configAttribs, &config, 1, &count) || count == 0)
        return offscreenFail(g, "EGL has no 8-bit RGB configuration with depth for OpenGL");
    const EGLint contextAttribs[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT,
                                     EGL_NONE};
    g->context = eglCreateContext(g->display, config, EGL_NO_CONTEXT, contextAttribs);
    if (g->context == EGL_NO_CONTEXT) return offscreenFail(g, "cannot create an OpenGL compatibility context");
    if (!eglMakeCurrent(g->display, EGL_NO_SURFACE, EGL_NO_SURFACE, g->context))
        return offscreenFail(g, "cannot make the context current without a surface");

    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &maxSize);
    if (width > maxSize || height > maxSize) {
        std::fprintf(stderr, "%s: %dx%d is larger than this OpenGL's largest picture, %dx%d\n", g->who, width,
                     height, maxSize, maxSize);
        return false;
    }
    glGenFramebuffers(1, &g->fbo);
    glBindFramebuffer(GL_FRAMEBUFFER, g->fbo);
    glGenRenderbuffers(1, &g->colour);
    glBindRenderbuffer(GL_RENDERBUFFER, g->colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, g->colour);
    glGenRenderbuffers(1, &g->depth);
    glBindRenderbuffer(GL_RENDERBUFFER, g->depth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, g->depth);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        return offscreenFail(g, "the framebuffer object is incomplete");
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    return true;
}

inline void closeOffscreen(Offscreen* g) {
    if (g->display == EGL_NO_DISPLAY) return;
    eglMakeCurrent(g->display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (g->context != EGL_NO_CONTEXT) eglDestroyContext(g->display, g->context);
    eglTerminate(g->display);
    g->display = EGL_NO_DISPLAY;
    g->context = EGL_NO_CONTEXT;
}
