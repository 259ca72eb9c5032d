// A stand-in for libGL.so.1 whose OpenGL lacks "GL_EXT_bgra": enough GLX
// over the real X server for the OpenGL back-end to make its probe and
// read the extension string, no drawing at all. It says on standard
// output when the extension string was asked for, so that a test knows the
// back-end got that far.
#include <GL/gl.h>
#include <GL/glx.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>

namespace {

int g_config = 1;
int g_context = 1;

}  // namespace

extern "C" {

Bool glXQueryExtension(Display*, int* error_base, int* event_base) {
    *error_base = *event_base = 0;
    return True;
}

Bool glXQueryVersion(Display*, int* major, int* minor) {
    *major = 1;
    *minor = 4;
    return True;
}

const char* glXQueryExtensionsString(Display*, int) { return "GLX_ARB_multisample GLX_EXT_visual_info "; }

GLXFBConfig* glXChooseFBConfig(Display*, int, const int*, int* count) {
    auto* list = static_cast<GLXFBConfig*>(std::malloc(sizeof(GLXFBConfig)));
    *count = list ? 1 : 0;
    if (list) list[0] = reinterpret_cast<GLXFBConfig>(&g_config);
    return list;
}

XVisualInfo* glXGetVisualFromFBConfig(Display* display, GLXFBConfig) {
    XVisualInfo found{};
    if (!XMatchVisualInfo(display, DefaultScreen(display), DefaultDepth(display, DefaultScreen(display)), TrueColor,
                          &found))
        return nullptr;
    auto* info = static_cast<XVisualInfo*>(std::malloc(sizeof(XVisualInfo)));
    if (info) *info = found;
    return info;
}

GLXContext glXCreateNewContext(Display*, GLXFBConfig, int, GLXContext, Bool) {
    return reinterpret_cast<GLXContext>(&g_context);
}

Bool glXMakeCurrent(Display*, GLXDrawable, GLXContext) { return True; }
void glXDestroyContext(Display*, GLXContext) {}
void glXSwapBuffers(Display*, GLXDrawable) {}
__GLXextFuncPtr glXGetProcAddressARB(const GLubyte*) { return nullptr; }

// Names that begin like the one missing, or contain it, do not make it.
const GLubyte* glGetString(GLenum name) {
    if (name != GL_EXTENSIONS) return reinterpret_cast<const GLubyte*>("fake");
    std::fputs("fake OpenGL: extensions asked\n", stdout);
    std::fflush(stdout);
    return reinterpret_cast<const GLubyte*>("GL_ARB_multitexture GL_EXT_bgr GL_EXT_bgra_fake GL_EXT_abgr");
}

void glEnable(GLenum) {}
void glDisable(GLenum) {}
void glViewport(GLint, GLint, GLsizei, GLsizei) {}
void glMatrixMode(GLenum) {}
void glLoadIdentity() {}
void glOrtho(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble) {}
void glShadeModel(GLenum) {}
void glDepthMask(GLboolean) {}
void glClearColor(GLclampf, GLclampf, GLclampf, GLclampf) {}
void glClear(GLbitfield) {}
void glGenTextures(GLsizei, GLuint*) {}
void glDeleteTextures(GLsizei, const GLuint*) {}
void glBindTexture(GLenum, GLuint) {}
void glTexImage2D(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const GLvoid*) {}

}  // extern "C"
