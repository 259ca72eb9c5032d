// The picture on the surface: the visible page converted to 32-bit pixels,
// shown through two shared-memory buffers as blocks of whole device
// pixels, drawn only when the compositor asks for a frame and only where
// rows changed.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "display/display_window.h"
#include "display/picture_scale.h"
#include "display/wayland/wl_backend.h"
#include "gfx/screen.h"

namespace {

constexpr int32_t BYTES_PER_PIXEL = 4;  // XRGB8888, the converter's 0x00RRGGBB
// The unused byte set: compositors ignore it, but screenshots of some keep
// it as alpha, which would make the picture transparent there.
constexpr uint32_t OPAQUE = 0xFF000000;

void buffer_release(void* data, wl_buffer*) { static_cast<WlBuffer*>(data)->busy = false; }
const wl_buffer_listener BUFFER_LISTENER = {buffer_release};

void frame_done(void*, wl_callback* callback, uint32_t) {
    wl_callback_destroy(callback);
    wl_state().picture.frame_callback = nullptr;
}
const wl_callback_listener FRAME_LISTENER = {frame_done};

void free_buffer(WlBuffer& b) {
    if (b.buffer) wl_buffer_destroy(b.buffer);
    if (b.pixels) munmap(b.pixels, b.size);
    b = WlBuffer{};
}

// A buffer in an anonymous file both sides map, black to start with.
bool make_buffer(WlBuffer& b, int32_t width, int32_t height, int32_t picture_rows) {
    b.stride = width * BYTES_PER_PIXEL;
    b.size = static_cast<size_t>(b.stride) * static_cast<size_t>(height);
    const int fd = memfd_create("wavetable-picture", MFD_CLOEXEC);
    if (fd < 0) return false;
    void* pixels = ftruncate(fd, static_cast<off_t>(b.size)) == 0
                       ? mmap(nullptr, b.size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0)
                       : MAP_FAILED;
    wl_shm_pool* pool =
        pixels != MAP_FAILED ? wl_shm_create_pool(wl_state().globals.shm, fd, static_cast<int32_t>(b.size)) : nullptr;
    close(fd);
    if (pixels != MAP_FAILED) {
        b.pixels = static_cast<uint8_t*>(pixels);
        std::fill_n(reinterpret_cast<uint32_t*>(b.pixels), b.size / BYTES_PER_PIXEL, OPAQUE);
    }
    if (!pool) return false;
    b.buffer = wl_shm_pool_create_buffer(pool, 0, width, height, b.stride, WL_SHM_FORMAT_XRGB8888);
    wl_shm_pool_destroy(pool);
    if (!b.buffer) return false;
    wl_buffer_add_listener(b.buffer, &BUFFER_LISTENER, &b);
    b.stale.assign(static_cast<size_t>(picture_rows), 1);
    return true;
}

// Buffers of the geometry's size; new ones show every row.
bool fit_buffers(WlPicture& p, const WlGeometry& g, int32_t rows) {
    if (p.buffer_width == g.buffer_width && p.buffer_height == g.buffer_height && p.buffers[0].buffer) return true;
    for (WlBuffer& b : p.buffers) free_buffer(b);
    p.buffer_width = p.buffer_height = 0;
    for (WlBuffer& b : p.buffers)
        if (!make_buffer(b, g.buffer_width, g.buffer_height, rows)) return false;
    p.buffer_width = g.buffer_width;
    p.buffer_height = g.buffer_height;
    return true;
}

// Picture row y into the buffer: `factor` copies of every pixel, `factor`
// times; what falls outside a buffer smaller than the picture (a full
// screen smaller than it) is cut off.
void draw_row(const WlPicture& p, WlBuffer& b, const WlGeometry& g, int32_t width, int32_t y,
              std::vector<uint32_t>& scaled) {
    const int32_t buffer_width = b.stride / BYTES_PER_PIXEL;
    const int32_t buffer_height = static_cast<int32_t>(b.size / static_cast<size_t>(b.stride));
    const uint32_t* in = p.pixels.data() + static_cast<ptrdiff_t>(y) * width;
    const uint32_t* row_pixels = in;  // at factor 1 the picture's row itself
    if (g.factor > 1) {
        scaled.resize(static_cast<size_t>(width * g.factor));
        scale_row_across(reinterpret_cast<const uint8_t*>(in), reinterpret_cast<uint8_t*>(scaled.data()), width,
                         BYTES_PER_PIXEL, g.factor);
        row_pixels = scaled.data();
    }
    const int32_t left = std::max(0, g.offset_x), right = std::min(buffer_width, g.offset_x + width * g.factor);
    if (right <= left) return;
    for (int32_t k = 0; k < g.factor; ++k) {
        const int32_t row = g.offset_y + y * g.factor + k;
        if (row < 0 || row >= buffer_height) continue;
        std::memcpy(b.pixels + static_cast<ptrdiff_t>(row) * b.stride + static_cast<ptrdiff_t>(left) * BYTES_PER_PIXEL,
                    row_pixels + (left - g.offset_x), static_cast<size_t>(right - left) * BYTES_PER_PIXEL);
    }
}

// The compositor is told of each span of changed rows.
void damage_spans(wl_surface* surface, const std::vector<uint8_t>& damage, const WlGeometry& g, int32_t width) {
    const int32_t rows = static_cast<int32_t>(damage.size());
    for (int32_t y = 0; y < rows;) {
        if (!damage[y]) {
            ++y;
            continue;
        }
        int32_t end = y;
        while (end < rows && damage[end]) ++end;
        wl_surface_damage_buffer(surface, std::max(0, g.offset_x), std::max(0, g.offset_y + y * g.factor),
                                 width * g.factor, (end - y) * g.factor);
        y = end;
    }
}

bool any(const std::vector<uint8_t>& rows) { return std::memchr(rows.data(), 1, rows.size()) != nullptr; }

WlBuffer* free_buffer_of(WlPicture& p) {
    for (WlBuffer& b : p.buffers)
        if (!b.busy) return &b;
    return nullptr;
}

}  // namespace

int32_t wl_picture_init() {
    WlPicture& p = wl_state().picture;
    DisplayWindow& w = display_window();
    p = WlPicture{};
    p.pixels.assign(static_cast<size_t>(w.width) * static_cast<size_t>(w.height), 0);
    p.damage.assign(static_cast<size_t>(w.height), 1);
    w.converter = get_converter(32, 0);
    gfx_mark_all_dirty();
    return w.converter ? 0 : -1;
}

void wl_picture_exit() {
    WlPicture& p = wl_state().picture;
    for (WlBuffer& b : p.buffers) free_buffer(b);
    if (p.frame_callback) wl_callback_destroy(p.frame_callback);
    p = WlPicture{};
    display_window().converter = nullptr;
}

bool wl_picture_take_rows() {
    WlPicture& p = wl_state().picture;
    const DisplayWindow& w = display_window();
    const GfxScreen* s = g_gfx_screen;
    if (!s || !w.converter || p.pixels.empty()) return false;
    const int32_t rows = window_rows(*s);
    int32_t first = 0, last = 0;
    if (!dirty_span(s->dirty_rows, rows, &first, &last)) return false;
    w.converter(reinterpret_cast<uint8_t*>(p.pixels.data()), w.width * BYTES_PER_PIXEL);
    for (int32_t y = first; y <= last; ++y) {
        if (!s->dirty_rows[y]) continue;
        p.damage[static_cast<size_t>(y)] = 1;
        uint32_t* row = p.pixels.data() + static_cast<ptrdiff_t>(y) * w.width;
        for (int32_t x = 0; x < w.width; ++x) row[x] |= OPAQUE;
    }
    std::memset(s->dirty_rows, 0, static_cast<size_t>(rows));
    return true;
}

void wl_picture_damage_all() {
    WlPicture& p = wl_state().picture;
    std::fill(p.damage.begin(), p.damage.end(), uint8_t{1});
}

bool wl_picture_pending() { return any(wl_state().picture.damage) || wl_state().window.needs_commit; }

void wl_picture_show() {
    WaylandState& s = wl_state();
    WlWindow& win = s.window;
    WlPicture& p = s.picture;
    const int32_t width = display_window().width;
    if (!win.configured || s.lost || p.pixels.empty()) return;
    if (!win.needs_commit && (p.frame_callback || !any(p.damage))) return;
    const WlGeometry& g = win.geometry;
    const bool new_buffers = p.buffer_width != g.buffer_width || p.buffer_height != g.buffer_height;
    if (!fit_buffers(p, g, static_cast<int32_t>(p.damage.size()))) return;
    WlBuffer* b = free_buffer_of(p);
    if (!b) return;  // drawn when the compositor gives one back
    std::vector<uint32_t> scaled;
    for (size_t y = 0; y < p.damage.size(); ++y) {
        if (p.damage[y] || b->stale[y]) draw_row(p, *b, g, width, static_cast<int32_t>(y), scaled);
        b->stale[y] = 0;
    }
    for (WlBuffer& other : p.buffers)
        if (&other != b)
            for (size_t y = 0; y < p.damage.size(); ++y) other.stale[y] |= p.damage[y];
    wl_surface_attach(win.surface, b->buffer, 0, 0);
    if (new_buffers || win.needs_commit)
        wl_surface_damage_buffer(win.surface, 0, 0, INT32_MAX, INT32_MAX);
    else
        damage_spans(win.surface, p.damage, g, width);
    if (!p.frame_callback) {
        p.frame_callback = wl_surface_frame(win.surface);
        if (p.frame_callback) wl_callback_add_listener(p.frame_callback, &FRAME_LISTENER, nullptr);
    }
    wl_surface_commit(win.surface);
    b->busy = true;
    std::fill(p.damage.begin(), p.damage.end(), uint8_t{0});
    win.needs_commit = false;
}
