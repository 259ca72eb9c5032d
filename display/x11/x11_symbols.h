#pragma once
// Every entry point of the X libraries that the X11 back-end uses, in one
// list. The libraries are loaded at run time (x11_library_load), so the
// program starts and works on the terminal where they are missing; the
// headers only lend the entry points' types.
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xresource.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/Xrandr.h>
#include <X11/extensions/scrnsaver.h>

// Groups: X11 entries are needed; X11_OPT entries of libX11 may be missing
// (older libraries); XEXT, XRANDR and XSS entries come as a group from
// their library, or the feature is gone (no shared-memory images; no
// monitor list, refresh rate or mode list; the screen saver left alone).
// clang-format off
#define X11_SYMBOLS(X)                 \
    X(X11, XOpenDisplay)               \
    X(X11, XCloseDisplay)              \
    X(X11, XSetErrorHandler)           \
    X(X11, XSetIOErrorHandler)         \
    X(X11, XSync)                      \
    X(X11, XFlush)                     \
    X(X11, XPending)                   \
    X(X11, XEventsQueued)              \
    X(X11, XNextEvent)                 \
    X(X11, XPeekEvent)                 \
    X(X11, XFilterEvent)               \
    X(X11, XFree)                      \
    X(X11, XResourceManagerString)     \
    X(X11, XrmInitialize)              \
    X(X11, XrmGetStringDatabase)       \
    X(X11, XrmGetResource)             \
    X(X11, XrmDestroyDatabase)         \
    X(X11, XInternAtom)                \
    X(X11, XMatchVisualInfo)           \
    X(X11, XListDepths)                \
    X(X11, XListPixmapFormats)         \
    X(X11, XCreateColormap)            \
    X(X11, XFreeColormap)              \
    X(X11, XCreateWindow)              \
    X(X11, XDestroyWindow)             \
    X(X11, XMapRaised)                 \
    X(X11, XUnmapWindow)               \
    X(X11, XMoveWindow)                \
    X(X11, XMoveResizeWindow)          \
    X(X11, XClearWindow)               \
    X(X11, XSetInputFocus)             \
    X(X11, XStoreName)                 \
    X(X11, XChangeProperty)            \
    X(X11, XDeleteProperty)            \
    X(X11, XGetWindowProperty)         \
    X(X11, XSetWMProtocols)            \
    X(X11, XAllocSizeHints)            \
    X(X11, XSetWMNormalHints)          \
    X(X11, XAllocClassHint)            \
    X(X11, XSetClassHint)              \
    X(X11, XTranslateCoordinates)      \
    X(X11, XCreateGC)                  \
    X(X11, XFreeGC)                    \
    X(X11, XCreateImage)               \
    X(X11, XPutImage)                  \
    X(X11, XQueryPointer)              \
    X(X11, XWarpPointer)               \
    X(X11, XGrabPointer)               \
    X(X11, XUngrabPointer)             \
    X(X11, XCreateBitmapFromData)      \
    X(X11, XCreatePixmapCursor)        \
    X(X11, XFreePixmap)                \
    X(X11, XDefineCursor)              \
    X(X11, XUndefineCursor)            \
    X(X11, XFreeCursor)                \
    X(X11, XBell)                      \
    X(X11, XDisplayKeycodes)           \
    X(X11, XGetKeyboardMapping)        \
    X(X11, XRefreshKeyboardMapping)    \
    X(X11, XQueryKeymap)               \
    X(X11, XLookupKeysym)              \
    X(X11, XLookupString)              \
    X(X11, XSetLocaleModifiers)        \
    X(X11, XOpenIM)                    \
    X(X11, XCloseIM)                   \
    X(X11, XCreateIC)                  \
    X(X11, XDestroyIC)                 \
    X(X11, XGetICValues)               \
    X(X11, XSetICFocus)                \
    X(X11, XUnsetICFocus)              \
    X(X11, Xutf8LookupString)          \
    X(X11_OPT, XSetIOErrorExitHandler) \
    X(X11_OPT, XkbSetDetectableAutoRepeat) \
    X(XEXT, XShmQueryExtension)        \
    X(XEXT, XShmCreateImage)           \
    X(XEXT, XShmAttach)                \
    X(XEXT, XShmDetach)                \
    X(XEXT, XShmPutImage)              \
    X(XRANDR, XRRQueryExtension)       \
    X(XRANDR, XRRGetMonitors)          \
    X(XRANDR, XRRFreeMonitors)         \
    X(XRANDR, XRRGetScreenResourcesCurrent) \
    X(XRANDR, XRRFreeScreenResources)  \
    X(XRANDR, XRRGetScreenInfo)        \
    X(XRANDR, XRRConfigCurrentRate)    \
    X(XRANDR, XRRFreeScreenConfigInfo) \
    X(XSS, XScreenSaverQueryExtension) \
    X(XSS, XScreenSaverSuspend)
// clang-format on

struct X11Api {
#define X11_API_MEMBER(group, name) decltype(&::name) name;
    X11_SYMBOLS(X11_API_MEMBER)
#undef X11_API_MEMBER
    bool has_xext;    // shared-memory images can be tried
    bool has_xrandr;  // monitors, refresh rate and modes can be asked for
    bool has_xss;     // the screen saver can be held off
};

// The resolved entry points; valid after x11_library_load returned true.
extern X11Api x11;

// Loads the X libraries once per process; false when libX11 or one of its
// needed entry points is missing. Once loaded they stay for the process's
// life: libX11 keeps locale and input-method state that must outlive any
// one window.
bool x11_library_load();
