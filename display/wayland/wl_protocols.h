#pragma once
// The one way into the Wayland protocols for the back-end's files. The
// libraries are loaded at run time (wl_library_load): the entry points of
// libwayland-client, libdecor and libwayland-cursor sit in one table each,
// from one X-macro list. The generated protocol code calls six entry points
// of libwayland-client by name from inline functions; they are defined
// here to call through the table, before the generated headers are read,
// and the generated core protocol stands in for the library's own headers
// (libdecor's header includes them by name: their guards are taken).
#include <wayland-client-core.h>

#define WL_CLIENT_SYMBOLS(X)           \
    X(WL, wl_display_connect)          \
    X(WL, wl_display_disconnect)       \
    X(WL, wl_display_get_fd)           \
    X(WL, wl_display_dispatch_pending) \
    X(WL, wl_display_prepare_read)     \
    X(WL, wl_display_read_events)      \
    X(WL, wl_display_cancel_read)      \
    X(WL, wl_display_flush)            \
    X(WL, wl_display_roundtrip)        \
    X(WL, wl_display_get_error)        \
    X(WL, wl_proxy_marshal_flags)      \
    X(WL, wl_proxy_add_listener)       \
    X(WL, wl_proxy_destroy)            \
    X(WL, wl_proxy_get_version)        \
    X(WL, wl_proxy_set_user_data)      \
    X(WL, wl_proxy_get_user_data)

struct WaylandClientApi {
#define WL_API_MEMBER(group, name) decltype(&::name) name;
    WL_CLIENT_SYMBOLS(WL_API_MEMBER)
#undef WL_API_MEMBER
};

extern WaylandClientApi wl;

#define wl_proxy_marshal_flags (*wl.wl_proxy_marshal_flags)
#define wl_proxy_add_listener (*wl.wl_proxy_add_listener)
#define wl_proxy_destroy (*wl.wl_proxy_destroy)
#define wl_proxy_get_version (*wl.wl_proxy_get_version)
#define wl_proxy_set_user_data (*wl.wl_proxy_set_user_data)
#define wl_proxy_get_user_data (*wl.wl_proxy_get_user_data)

#include "fractional-scale-v1-client.h"
#include "idle-inhibit-unstable-v1-client.h"
#include "viewporter-client.h"
#include "wayland-core-client.h"
#include "xdg-decoration-unstable-v1-client.h"
#include "xdg-shell-client.h"

// libwayland-cursor and libdecor: their headers after the core protocol's.
#include <libdecor.h>
#include <wayland-client.h>
#include <wayland-cursor.h>

#define WL_CURSOR_SYMBOLS(X)              \
    X(CURSOR, wl_cursor_theme_load)       \
    X(CURSOR, wl_cursor_theme_destroy)    \
    X(CURSOR, wl_cursor_theme_get_cursor) \
    X(CURSOR, wl_cursor_image_get_buffer)

#define WL_DECOR_SYMBOLS(X)                           \
    X(DECOR, libdecor_new)                            \
    X(DECOR, libdecor_unref)                          \
    X(DECOR, libdecor_decorate)                       \
    X(DECOR, libdecor_frame_unref)                    \
    X(DECOR, libdecor_frame_set_title)                \
    X(DECOR, libdecor_frame_set_app_id)               \
    X(DECOR, libdecor_frame_set_min_content_size)     \
    X(DECOR, libdecor_frame_set_max_content_size)     \
    X(DECOR, libdecor_frame_unset_capabilities)       \
    X(DECOR, libdecor_frame_set_fullscreen)           \
    X(DECOR, libdecor_frame_unset_fullscreen)         \
    X(DECOR, libdecor_frame_map)                      \
    X(DECOR, libdecor_frame_commit)                   \
    X(DECOR, libdecor_frame_is_floating)              \
    X(DECOR, libdecor_state_new)                      \
    X(DECOR, libdecor_state_free)                     \
    X(DECOR, libdecor_configuration_get_content_size) \
    X(DECOR, libdecor_configuration_get_window_state)

struct WaylandExtraApi {
#define WL_EXTRA_MEMBER(group, name) decltype(&::name) name;
    WL_CURSOR_SYMBOLS(WL_EXTRA_MEMBER)
    WL_DECOR_SYMBOLS(WL_EXTRA_MEMBER)
#undef WL_EXTRA_MEMBER
    bool has_cursor;  // the cursor theme can be shown
    bool has_decor;   // client-side decorations can be drawn
};

// libwayland-cursor's and libdecor's entry points; each group is there when
// its has_ flag says so.
extern WaylandExtraApi wlx;

// Loads libwayland-client (false when it or an entry is missing) and, once
// per process, tries libwayland-cursor and libdecor.
bool wl_library_load();
