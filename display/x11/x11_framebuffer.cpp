#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdlib>
#include <cstring>

#include "display/display_window.h"
#include "display/picture_scale.h"
#include "display/x11/x11_backend.h"
#include "gfx/screen.h"

namespace {

bool usable_visual(const Visual* v, int depth) {
    return v && v->c_class == TrueColor && (depth == 24 || depth == 16 || depth == 15);
}

// The colour order of a TrueColor visual: 0 when red is in the high bits,
// 1 when it is in the low bits, -1 for any other layout.
int32_t visual_order(const Visual* v) {
    switch (v->red_mask) {
    case 0xFF0000:
    case 0xF800:
    case 0x7C00: return 0;
    case 0xFF:
    case 0x1F: return 1;
    default: return -1;
    }
}

// Converter depth for the image's pixel layout.
int32_t dest_depth(const XImage* image, int visual_depth) {
    if (image->bits_per_pixel == 32 && visual_depth == 24) return 32;
    if (image->bits_per_pixel == 24 && visual_depth == 24) return 24;
    if (image->bits_per_pixel == 16 && (visual_depth == 16 || visual_depth == 15)) return visual_depth;
    return 0;
}

void destroy_image(X11Image& img) {
    X11State& x = x11_state();
    if (!img.image) return;
    if (img.shared) {
        if (!x.lost) x11.XShmDetach(x.display, &img.shm);
        shmdt(img.shm.shmaddr);
        img.image->data = nullptr;
    }
    XDestroyImage(img.image);
    img = X11Image{};
}

// A shared-memory image where the server offers it (and is on this
// machine), so a put costs no copy through the socket.
bool create_shared_image(X11Image& img, int width, int height) {
    X11State& x = x11_state();
    if (!x11.has_xext || !x11.XShmQueryExtension(x.display)) return false;
    img.image = x11.XShmCreateImage(x.display, x.visual, static_cast<unsigned>(x.visual_depth), ZPixmap, nullptr,
                                    &img.shm, static_cast<unsigned>(width), static_cast<unsigned>(height));
    if (!img.image) return false;
    const size_t size = static_cast<size_t>(img.image->bytes_per_line) * static_cast<size_t>(height);
    img.shm.shmid = shmget(IPC_PRIVATE, size, IPC_CREAT | 0600);
    void* address = img.shm.shmid >= 0 ? shmat(img.shm.shmid, nullptr, 0) : reinterpret_cast<void*>(-1);
    if (address == reinterpret_cast<void*>(-1)) {
        if (img.shm.shmid >= 0) shmctl(img.shm.shmid, IPC_RMID, nullptr);
        XDestroyImage(img.image);
        img = X11Image{};
        return false;
    }
    img.shm.shmaddr = img.image->data = static_cast<char*>(address);
    img.shm.readOnly = True;
    img.shared = true;
    x11_begin_checked();
    x11.XShmAttach(x.display, &img.shm);
    const bool attached = x11_sync_ok();
    // Marked for removal now: it goes when both sides have let go of it,
    // however the program ends.
    shmctl(img.shm.shmid, IPC_RMID, nullptr);
    if (!attached) {
        shmdt(img.shm.shmaddr);
        img.image->data = nullptr;
        XDestroyImage(img.image);
        img = X11Image{};
    }
    return attached;
}

bool create_plain_image(X11Image& img, int width, int height) {
    X11State& x = x11_state();
    img.image = x11.XCreateImage(x.display, x.visual, static_cast<unsigned>(x.visual_depth), ZPixmap, 0, nullptr,
                                 static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0);
    if (!img.image) return false;
    img.image->data =
        static_cast<char*>(std::calloc(static_cast<size_t>(img.image->bytes_per_line), static_cast<size_t>(height)));
    if (!img.image->data) {
        XDestroyImage(img.image);
        img = X11Image{};
        return false;
    }
    return true;
}

bool create_image(X11Image& img, int width, int height) {
    return create_shared_image(img, width, height) || create_plain_image(img, width, height);
}

// The server may still be reading a shared image that was put: wait for
// it before the image is written again.
void settle_puts() {
    X11State& x = x11_state();
    if (!x.put_unsynced) return;
    x11.XSync(x.display, False);
    x.put_unsynced = false;
}

void put_rows(const X11Image& img, int first, int count) {
    X11State& x = x11_state();
    const int width = img.image->width;
    if (img.shared) {
        x11.XShmPutImage(x.display, x.window, x.gc, img.image, 0, first, x.offset_x, x.offset_y + first,
                         static_cast<unsigned>(width), static_cast<unsigned>(count), False);
        x.put_unsynced = true;
    } else {
        x11.XPutImage(x.display, x.window, x.gc, img.image, 0, first, x.offset_x, x.offset_y + first,
                      static_cast<unsigned>(width), static_cast<unsigned>(count));
    }
}

// Picture rows first..last into the scaled image, every row `scale` times.
void scale_picture_rows(int first, int last) {
    X11State& x = x11_state();
    const XImage* in = x.picture.image;
    XImage* out = x.scaled.image;
    scale_rows(reinterpret_cast<const uint8_t*>(in->data), in->bytes_per_line, reinterpret_cast<uint8_t*>(out->data),
               out->bytes_per_line, in->width, in->bits_per_pixel / 8, first, last, x.scale);
}

void show_rows(int first, int last) {
    X11State& x = x11_state();
    if (x.scale > 1) {
        scale_picture_rows(first, last);
        put_rows(x.scaled, first * x.scale, (last - first + 1) * x.scale);
    } else {
        put_rows(x.picture, first, last - first + 1);
    }
}

}  // namespace

bool x11_choose_visual() {
    X11State& x = x11_state();
    Visual* standard = DefaultVisual(x.display, x.screen);
    const int standard_depth = DefaultDepth(x.display, x.screen);
    if (usable_visual(standard, standard_depth) && visual_order(standard) >= 0) {
        x.visual = standard;
        x.visual_depth = standard_depth;
        x.colormap = DefaultColormap(x.display, x.screen);
        return true;
    }
    for (int depth : {24, 16, 15}) {
        XVisualInfo info{};
        if (!x11.XMatchVisualInfo(x.display, x.screen, depth, TrueColor, &info) || visual_order(info.visual) < 0)
            continue;
        x.visual = info.visual;
        x.visual_depth = depth;
        x.colormap = x11.XCreateColormap(x.display, x.root, x.visual, AllocNone);
        x.own_colormap = true;
        return true;
    }
    return false;
}

Converter x11_choose_converter(const XImage* image) {
    const X11State& x = x11_state();
    const int32_t depth = dest_depth(image, x.visual_depth);
    const int32_t order = visual_order(x.visual);
    if (depth == 0 || order < 0 || image->byte_order != LSBFirst) return nullptr;
    return get_converter(depth, order);
}

int32_t x11_framebuffer_init() {
    X11State& x = x11_state();
    DisplayWindow& w = display_window();
    if (!create_image(x.picture, w.width, w.height)) return -1;
    w.converter = x11_choose_converter(x.picture.image);
    if (!w.converter) return -1;
    if (x.scale > 1 && !create_image(x.scaled, w.width * x.scale, w.height * x.scale)) return -1;
    x.gc = x11.XCreateGC(x.display, x.window, 0, nullptr);
    gfx_mark_all_dirty();
    return x.gc ? 0 : -1;
}

void x11_framebuffer_exit() {
    X11State& x = x11_state();
    if (x.put_unsynced && !x.lost) settle_puts();
    x.put_unsynced = false;
    destroy_image(x.scaled);
    destroy_image(x.picture);
    if (x.gc) x11.XFreeGC(x.display, x.gc);
    x.gc = nullptr;
    display_window().converter = nullptr;
}

// Copies the span from the first to the last dirty row of the visible page
// into the window, the clean rows between them too.
bool x11_refresh_picture() {
    X11State& x = x11_state();
    DisplayWindow& w = display_window();
    const GfxScreen* s = g_gfx_screen;
    if (!s || !x.picture.image || !w.converter) return false;
    const int32_t rows = window_rows(*s);
    int32_t first = 0, last = 0;
    if (!dirty_span(s->dirty_rows, rows, &first, &last)) return false;
    settle_puts();
    w.converter(reinterpret_cast<uint8_t*>(x.picture.image->data), x.picture.image->bytes_per_line);
    std::memset(s->dirty_rows, 0, static_cast<size_t>(rows));
    show_rows(first, last);
    return true;
}

// Shows what the last pass left, converting nothing.
void x11_paint() {
    X11State& x = x11_state();
    if (!x.picture.image || !x.gc) return;
    put_rows(x.scale > 1 ? x.scaled : x.picture, 0, x.scale > 1 ? x.scaled.image->height : x.picture.image->height);
}

void x11_window_to_picture(int* px, int* py) {
    const X11State& x = x11_state();
    const int scale = x.scale > 1 ? x.scale : 1;
    const int dx = *px - x.offset_x, dy = *py - x.offset_y;
    *px = dx >= 0 ? dx / scale : -1 - (-1 - dx) / scale;
    *py = dy >= 0 ? dy / scale : -1 - (-1 - dy) / scale;
}
