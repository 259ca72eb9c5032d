// A stand-in for opengl32.dll whose OpenGL lacks "GL_EXT_bgra": contexts
// that are made current and pixel formats that are set, no drawing at all.
// The system's own pixel-format calls (ChoosePixelFormat, SetPixelFormat,
// SwapBuffers) are passed to the opengl32.dll a process has loaded, so it
// answers those too. It says on standard output when the extension string
// was asked for, so that a test knows the back-end got that far.
//
// Built without the platform's headers: they declare these names as
// imported from the real library.
#include <cstdint>
#include <cstdio>

#define FAKE_EXPORT extern "C" __declspec(dllexport)
#define FAKE_CALL __stdcall

using GLenum = unsigned int;
using GLint = int;
using GLsizei = int;
using GLuint = unsigned int;
using GLfloat = float;
using GLdouble = double;
using GLbitfield = unsigned int;
using GLboolean = unsigned char;
using Handle = void*;

namespace {

constexpr GLenum GL_EXTENSIONS_NAME = 0x1F03;
int g_context = 1;

// The descriptor as far as the system looks at it: its size and version.
struct Descriptor {
    uint16_t size, version;
    uint32_t flags;
    uint8_t rest[32];
};
static_assert(sizeof(Descriptor) == 40);

}  // namespace

FAKE_EXPORT Handle FAKE_CALL wglCreateContext(Handle) { return &g_context; }
FAKE_EXPORT int FAKE_CALL wglMakeCurrent(Handle, Handle) { return 1; }
FAKE_EXPORT int FAKE_CALL wglDeleteContext(Handle) { return 1; }
// No extensions of the window system: no entry points through the context.
FAKE_EXPORT void* FAKE_CALL wglGetProcAddress(const char*) { return nullptr; }

FAKE_EXPORT int FAKE_CALL wglChoosePixelFormat(Handle, const Descriptor*) { return 1; }
FAKE_EXPORT int FAKE_CALL wglSetPixelFormat(Handle, int, const Descriptor*) { return 1; }
FAKE_EXPORT int FAKE_CALL wglGetPixelFormat(Handle) { return 1; }
FAKE_EXPORT int FAKE_CALL wglDescribePixelFormat(Handle, int, unsigned size, Descriptor* d) {
    if (d && size >= sizeof *d) *d = Descriptor{sizeof *d, 1, 0x25, {}};  // window, OpenGL, double buffer
    return 1;
}
FAKE_EXPORT int FAKE_CALL wglSwapBuffers(Handle) { return 1; }

// Names that begin like the one missing, or contain it, do not make it.
FAKE_EXPORT const unsigned char* FAKE_CALL glGetString(GLenum name) {
    if (name != GL_EXTENSIONS_NAME) return reinterpret_cast<const unsigned char*>("fake");
    std::fputs("fake OpenGL: extensions asked\n", stdout);
    std::fflush(stdout);
    return reinterpret_cast<const unsigned char*>("GL_ARB_multitexture GL_EXT_bgr GL_EXT_bgra_fake GL_EXT_abgr");
}

FAKE_EXPORT void FAKE_CALL glEnable(GLenum) {}
FAKE_EXPORT void FAKE_CALL glDisable(GLenum) {}
FAKE_EXPORT void FAKE_CALL glViewport(GLint, GLint, GLsizei, GLsizei) {}
FAKE_EXPORT void FAKE_CALL glMatrixMode(GLenum) {}
FAKE_EXPORT void FAKE_CALL glLoadIdentity() {}
FAKE_EXPORT void FAKE_CALL glOrtho(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble) {}
FAKE_EXPORT void FAKE_CALL glShadeModel(GLenum) {}
FAKE_EXPORT void FAKE_CALL glDepthMask(GLboolean) {}
FAKE_EXPORT void FAKE_CALL glClearColor(GLfloat, GLfloat, GLfloat, GLfloat) {}
FAKE_EXPORT void FAKE_CALL glClear(GLbitfield) {}
FAKE_EXPORT void FAKE_CALL glGenTextures(GLsizei, GLuint*) {}
FAKE_EXPORT void FAKE_CALL glDeleteTextures(GLsizei, const GLuint*) {}
FAKE_EXPORT void FAKE_CALL glBindTexture(GLenum, GLuint) {}
FAKE_EXPORT void FAKE_CALL glTexImage2D(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const void*) {}
