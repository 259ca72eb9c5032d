#include "gfx/screen.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <cstring>
#include <vector>

#include "gfx/gfx_pages.h"
#include "gfx/gfx_text.h"
#include "gfx/palette.h"
#include "runtime/console/print_area.h"
#include "runtime/console_hooks.h"
#include "support/gfx/null_screen.h"
#include "support/scoped_env.h"

namespace {

class Screen : public NullScreenTest {};

bool hooks_empty() {
    ConsoleHooks none{};
    return std::memcmp(&console_hooks(), &none, sizeof none) == 0;
}

bool hooks_full() {
    auto* slots = reinterpret_cast<void* const*>(&console_hooks());
    for (int i = 0; i < CONSOLE_HOOK_COUNT; ++i)
        if (!slots[i]) return false;
    return true;
}

TEST_F(Screen, TheProgramsModeSet) {
    open_screen();
    GfxScreen* s = g_gfx_screen;
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->page_count, 4);
    EXPECT_EQ(s->visible_page, 0);
    EXPECT_EQ(s->visible_pixels, s->pages[0]);
    EXPECT_EQ(s->depth, 8);
    EXPECT_EQ(s->bytes_per_pixel, 1);
    EXPECT_EQ(s->pitch, 512);
    EXPECT_EQ(s->colour_mask, 0xFFu);
    EXPECT_EQ(s->text_columns, 64);
    EXPECT_EQ(s->text_rows, 64);
    EXPECT_EQ(s->font->height, 8);
    EXPECT_STREQ(s->driver->name, "Null");
    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(reinterpret_cast<uintptr_t>(s->pages[p]) % 16, 0u);
        std::vector<uint8_t> zero(512 * 512, 0);
        EXPECT_EQ(std::memcmp(s->pages[p], zero.data(), zero.size()), 0) << p;
    }
    for (int y = 0; y < 512; ++y) ASSERT_EQ(s->dirty_rows[y], 1) << y;
    DrawContext* ctx = gfx_get_context();
    EXPECT_EQ(ctx->work_page, 0);
    EXPECT_EQ(ctx->foreground, 15u);
    EXPECT_EQ(ctx->background, 0u);
    EXPECT_EQ(ctx->view_width, 512);
    EXPECT_EQ(ctx->view_height, 512);
    EXPECT_EQ(s->device_palette[12], 0x005555FFu);
    EXPECT_EQ(s->device_palette[9], 0x00FF5555u);
    EXPECT_EQ(s->device_palette[7], 0x00AAAAAAu);
    EXPECT_EQ(s->device_palette[255], 0u);
    EXPECT_TRUE(hooks_full());
    int32_t top = 0, bottom = 0;
    print_area_get(&top, &bottom);
    EXPECT_EQ(top, 1);
    EXPECT_EQ(bottom, 64);
    gfx_screen_close();
    EXPECT_EQ(g_gfx_screen, nullptr);
    EXPECT_TRUE(hooks_empty());
    EXPECT_EQ(print_area().top, -1);
}

TEST_F(Screen, RefusedArgumentsLeaveTheScreen) {
    open_screen();
    GfxScreen* s = g_gfx_screen;
    uint32_t id = s->id;
    const int32_t bad[][4] = {{512, 512, 3, 4},     {0, 512, 8, 1},   {512, -1, 8, 1},  {100000, 100000, 32, 1},
                              {4096, 4096, 32, 64}, {512, 512, 0, 1}, {512, 512, 64, 1}};
    for (const auto& b : bad) {
        EXPECT_EQ(gfx_screen_res(b[0], b[1], b[2], b[3], 0, 0), ERR_INVALID_CALL) << b[0] << "x" << b[1] << "x" << b[2];
        EXPECT_EQ(get_last_error(), ERR_INVALID_CALL);
        EXPECT_EQ(g_gfx_screen, s);
        EXPECT_EQ(g_gfx_screen->id, id);
        EXPECT_TRUE(hooks_full());
    }
}

TEST_F(Screen, DepthsPagesAndFlags) {
    struct Case {
        int32_t depth, pages, flags;
        int32_t stored_depth, bytes, page_count;
    };
    // clang-format off
    const Case cases[] = {
        {15, 1, 0, 16, 2, 1}, {24, 2, 0, 32, 4, 2}, {8, 0, 0, 8, 1, 1}, {8, -5, 0, 8, 1, 1},
        {8, 1, SCREEN_OPENGL, 16, 2, 1}, {4, 1, 0, 4, 1, 1}, {1, 1, 0, 1, 1, 1}, {32, 1, SCREEN_NULL, 32, 4, 1},
    };
    // clang-format on
    for (const Case& c : cases) {
        ASSERT_EQ(gfx_screen_res(64, 48, c.depth, c.pages, c.flags, 0), ERR_NONE) << c.depth;
        EXPECT_EQ(g_gfx_screen->depth, c.stored_depth) << c.depth;
        EXPECT_EQ(g_gfx_screen->bytes_per_pixel, c.bytes) << c.depth;
        EXPECT_EQ(g_gfx_screen->page_count, c.page_count) << c.pages;
        EXPECT_EQ(g_gfx_screen->pitch, 64 * c.bytes);
    }
    // A 4-bit screen: only 16 entries reach the device palette.
    ASSERT_EQ(gfx_screen_res(64, 48, 4, 1, 0, 0), ERR_NONE);
    EXPECT_EQ(g_gfx_screen->device_palette[15], 0x00FFFFFFu);
    EXPECT_EQ(g_gfx_screen->device_palette[32], 0u);
    EXPECT_EQ(g_gfx_screen->mode_palette[32], 0x00FF0000u);  // (0, 0, 255)
}

TEST_F(Screen, SecondModeSetStartsAfresh) {
    open_screen();
    uint32_t first = g_gfx_screen->id;
    g_gfx_screen->pages[0][1000] = 7;
    gfx_print(reinterpret_cast<const uint8_t*>("abc"), 3);
    open_screen();
    EXPECT_GT(g_gfx_screen->id, first);
    EXPECT_EQ(g_gfx_screen->pages[0][1000], 0);
    EXPECT_EQ(gfx_cursor_column(), 1);
}

TEST_F(Screen, DriverRequestIgnoresCase) {
    ScopedEnv request("ZVGFX", "NuLl");
    EXPECT_EQ(gfx_screen_res(16, 16, 8, 1, 0, 0), ERR_NONE);
    EXPECT_STREQ(g_gfx_screen->driver->name, "Null");
}

TEST_F(Screen, NoDriverMeansNoScreenAndNoHooks) {
    open_screen();
    // A request no driver answers and no display: every window driver refuses.
    ScopedEnv request("ZVGFX", "nosuchdriver");
    ScopedEnv display("DISPLAY", std::nullopt);
    EXPECT_EQ(gfx_screen_res(512, 512, 8, 4, 0, 0), ERR_INVALID_CALL);
    EXPECT_EQ(g_gfx_screen, nullptr);
    EXPECT_TRUE(hooks_empty());
}

TEST_F(Screen, LockCountsAndDirtyRows) {
    gfx_lock();  // no screen: nothing happens
    gfx_unlock(-1, -1);
    open_screen();
    GfxScreen* s = g_gfx_screen;
    std::memset(s->dirty_rows, 0, 512);
    gfx_lock();
    gfx_lock();
    EXPECT_EQ(s->lock_count, 2);
    gfx_unlock(1, 0);  // marks nothing
    EXPECT_EQ(s->dirty_rows[0] + s->dirty_rows[511], 0);
    gfx_unlock(-1, -1);
    EXPECT_EQ(s->lock_count, 0);
    for (int y = 0; y < 512; ++y) ASSERT_EQ(s->dirty_rows[y], 1);
    std::memset(s->dirty_rows, 0, 512);
    ASSERT_EQ(gfx_set_pages(1, -1), 0);  // draw on a page that isn't shown
    gfx_lock();
    gfx_unlock(-1, -1);
    for (int y = 0; y < 512; ++y) ASSERT_EQ(s->dirty_rows[y], 0);
    EXPECT_EQ(gfx_set_pages(4, -1), -1);
}

struct PaletteCall {
    int32_t index, red, green, blue;
};
std::vector<PaletteCall> g_palette_calls;

TEST_F(Screen, PaletteResetReachesTheDriverInOrder) {
    open_screen();
    GfxDriver recording = *g_gfx_screen->driver;
    recording.set_palette = [](int32_t i, int32_t r, int32_t g, int32_t b) { g_palette_calls.push_back({i, r, g, b}); };
    const GfxDriver* real = g_gfx_screen->driver;
    g_gfx_screen->driver = &recording;
    g_palette_calls.clear();
    gfx_palette_reset();
    g_gfx_screen->driver = real;
    ASSERT_EQ(g_palette_calls.size(), 256u);
    EXPECT_EQ(g_palette_calls.front().index, 0);
    EXPECT_EQ(g_palette_calls.back().index, 255);
    EXPECT_EQ(g_palette_calls[12].red, 255);
    EXPECT_EQ(g_palette_calls[12].green, 85);
    EXPECT_EQ(g_palette_calls[12].blue, 85);
}

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__) && !defined(_WIN32)
// Memory that runs out while the screen is built leaves no screen and no
// graphics hooks. (Sanitizers need more address space than the limit;
// Windows has no address-space limit of this kind.)
TEST_F(Screen, AllocationFailureLeavesNothing) {
    EXPECT_EXIT(
        {
            rlimit limit{};
            limit.rlim_cur = limit.rlim_max = 256ull << 20;
            setrlimit(RLIMIT_AS, &limit);
            ErrorCode r = gfx_screen_res(8192, 8192, 32, 3, 0, 0);  // 768 MiB of pages
            bool ok = r == ERR_INVALID_CALL && g_gfx_screen == nullptr && hooks_empty();
            std::_Exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
#endif

}  // namespace
