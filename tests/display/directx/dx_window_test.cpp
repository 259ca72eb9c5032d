// The "DirectX" driver in this process: chosen first, its window, the
// picture converted into its back surface, keys through DirectInput and the
// window procedure, lost surfaces, the switch to full screen and the end.
// Needs a desktop: under Wine an X display (WT_WINE_DISPLAY), whose
// DirectDraw draws with the X server's OpenGL; without one the window
// tests are skipped and only the clean failure is checked.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "display/directx/dx_backend.h"
#include "display/directx/dx_driver.h"
#include "display/display_window.h"
#include "display/win32/win32_window.h"
#include "display/win32/win32_window_fixture.h"
#include "display/window_events.h"
#include "gfx/key_queue.h"
#include "gfx/palette.h"
#include "gfx/screen.h"
#include "runtime/console/console_end.h"
#include "runtime/console/key_codes.h"
#include "runtime/runtime_context.h"
#include "support/gfx/screen_events.h"

namespace {

using namespace win32_test;

// A primary surface that the display took away: blits and the lost test
// say so until a Restore, which answers `restore_result`. Everything else
// goes to the real surface.
class LostPrimary : public IDirectDrawSurface {
   public:
    LostPrimary(IDirectDrawSurface* real, HRESULT restore_result) : real_(real), restore_result_(restore_result) {}

    bool lost = true;
    int restores = 0;
    bool released = false;

    STDMETHOD_(ULONG, AddRef)() override { return ++count_; }
    STDMETHOD_(ULONG, Release)() override {
        if (--count_ == 0) {
            real_->Release();
            released = true;
        }
        return count_;
    }
    STDMETHOD(IsLost)() override { return lost ? DDERR_SURFACELOST : real_->IsLost(); }
    STDMETHOD(Restore)() override {
        ++restores;
        if (restore_result_ == DD_OK) lost = false;
        return restore_result_;
    }
    STDMETHOD(Blt)(LPRECT a, LPDIRECTDRAWSURFACE b, LPRECT c, DWORD d, LPDDBLTFX e) override {
        return lost ? DDERR_SURFACELOST : real_->Blt(a, b, c, d, e);
    }
    STDMETHOD(Lock)(LPRECT a, LPDDSURFACEDESC b, DWORD c, HANDLE d) override {
        return lost ? DDERR_SURFACELOST : real_->Lock(a, b, c, d);
    }

    STDMETHOD(QueryInterface)(REFIID a, void** b) override { return real_->QueryInterface(a, b); }
    STDMETHOD(AddAttachedSurface)(LPDIRECTDRAWSURFACE a) override { return real_->AddAttachedSurface(a); }
    STDMETHOD(AddOverlayDirtyRect)(LPRECT a) override { return real_->AddOverlayDirtyRect(a); }
    STDMETHOD(BltBatch)(LPDDBLTBATCH a, DWORD b, DWORD c) override { return real_->BltBatch(a, b, c); }
    STDMETHOD(BltFast)(DWORD a, DWORD b, LPDIRECTDRAWSURFACE c, LPRECT d, DWORD e) override {
        return real_->BltFast(a, b, c, d, e);
    }
    STDMETHOD(DeleteAttachedSurface)(DWORD a, LPDIRECTDRAWSURFACE b) override {
        return real_->DeleteAttachedSurface(a, b);
    }
    STDMETHOD(EnumAttachedSurfaces)(LPVOID a, LPDDENUMSURFACESCALLBACK b) override {
        return real_->EnumAttachedSurfaces(a, b);
    }
    STDMETHOD(EnumOverlayZOrders)(DWORD a, LPVOID b, LPDDENUMSURFACESCALLBACK c) override {
        return real_->EnumOverlayZOrders(a, b, c);
    }
    STDMETHOD(Flip)(LPDIRECTDRAWSURFACE a, DWORD b) override { return real_->Flip(a, b); }
    STDMETHOD(GetAttachedSurface)(LPDDSCAPS a, LPDIRECTDRAWSURFACE* b) override {
        return real_->GetAttachedSurface(a, b);
    }
    STDMETHOD(GetBltStatus)(DWORD a) override { return real_->GetBltStatus(a); }
    STDMETHOD(GetCaps)(LPDDSCAPS a) override { return real_->GetCaps(a); }
    STDMETHOD(GetClipper)(LPDIRECTDRAWCLIPPER* a) override { return real_->GetClipper(a); }
    STDMETHOD(GetColorKey)(DWORD a, LPDDCOLORKEY b) override { return real_->GetColorKey(a, b); }
    STDMETHOD(GetDC)(HDC* a) override { return real_->GetDC(a); }
    STDMETHOD(GetFlipStatus)(DWORD a) override { return real_->GetFlipStatus(a); }
    STDMETHOD(GetOverlayPosition)(LPLONG a, LPLONG b) override { return real_->GetOverlayPosition(a, b); }
    STDMETHOD(GetPalette)(LPDIRECTDRAWPALETTE* a) override { return real_->GetPalette(a); }
    STDMETHOD(GetPixelFormat)(LPDDPIXELFORMAT a) override { return real_->GetPixelFormat(a); }
    STDMETHOD(GetSurfaceDesc)(LPDDSURFACEDESC a) override { return real_->GetSurfaceDesc(a); }
    STDMETHOD(Initialize)(LPDIRECTDRAW a, LPDDSURFACEDESC b) override { return real_->Initialize(a, b); }
    STDMETHOD(ReleaseDC)(HDC a) override { return real_->ReleaseDC(a); }
    STDMETHOD(SetClipper)(LPDIRECTDRAWCLIPPER a) override { return real_->SetClipper(a); }
    STDMETHOD(SetColorKey)(DWORD a, LPDDCOLORKEY b) override { return real_->SetColorKey(a, b); }
    STDMETHOD(SetOverlayPosition)(LONG a, LONG b) override { return real_->SetOverlayPosition(a, b); }
    STDMETHOD(SetPalette)(LPDIRECTDRAWPALETTE a) override { return real_->SetPalette(a); }
    STDMETHOD(Unlock)(LPVOID a) override { return real_->Unlock(a); }
    STDMETHOD(UpdateOverlay)(LPRECT a, LPDIRECTDRAWSURFACE b, LPRECT c, DWORD d, LPDDOVERLAYFX e) override {
        return real_->UpdateOverlay(a, b, c, d, e);
    }
    STDMETHOD(UpdateOverlayDisplay)(DWORD a) override { return real_->UpdateOverlayDisplay(a); }
    STDMETHOD(UpdateOverlayZOrder)(DWORD a, LPDIRECTDRAWSURFACE b) override { return real_->UpdateOverlayZOrder(a, b); }

   private:
    IDirectDrawSurface* real_;
    HRESULT restore_result_;
    ULONG count_ = 1;
};

class DxWindow : public WindowDriverTest {
   protected:
    void SetUp() override { open_screen("", &dx_driver); }

    // The pixel of the back surface, as the refresh thread converted it,
    // for a picture pixel: the last of its block.
    uint32_t converted(int32_t x, int32_t y) const {
        x = client_of(x);
        y = client_of(y);
        return locked([&] {
            IDirectDrawSurface* back = dx_state().back;
            DDSURFACEDESC desc{};
            desc.dwSize = sizeof desc;
            if (!back || FAILED(back->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr))) return 0xDEADBEEFu;
            uint32_t pixel = 0;
            const auto* row = static_cast<const uint8_t*>(desc.lpSurface) + y * desc.lPitch;
            const DWORD bytes = desc.ddpfPixelFormat.dwRGBBitCount / 8;
            std::memcpy(&pixel, row + x * bytes, bytes);
            back->Unlock(nullptr);
            return pixel;
        });
    }

    // A palette entry (0x00BBGGRR) as the display's 32-bit format holds it.
    static uint32_t display_colour(int32_t index) {
        const uint32_t c = g_gfx_screen->device_palette[index];
        return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
    }
};

TEST_F(DxWindow, FirstChoiceMakesAFramedWindowWithItsSurfacesKeyboardAndConverter) {
    const DxState& dx = dx_state();
    EXPECT_NE(dx.ddraw, nullptr);
    EXPECT_NE(dx.primary, nullptr);
    EXPECT_NE(dx.clipper, nullptr);
    EXPECT_NE(dx.back, dx.primary);
    EXPECT_NE(dx.keyboard, nullptr);
    EXPECT_NE(dx.vblank_event, nullptr);
    EXPECT_EQ(dx.vertical_offset, 0);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window_, GWL_STYLE)) & 0x10CB0000u, 0x10CB0000u);
    RECT client{}, outer{};
    ASSERT_TRUE(GetClientRect(window_, &client));
    ASSERT_TRUE(GetWindowRect(window_, &outer));
    EXPECT_EQ(client.right, 512 * scale_);
    EXPECT_EQ(client.bottom, 512 * scale_);
    // The window's corner where a centred picture's would be.
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 512 * scale_) >> 1);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 512 * scale_) >> 1);
    char name[64] = {};
    GetClassNameA(window_, name, sizeof name);
    EXPECT_STREQ(name, display_window().class_name);
    EXPECT_NE(display_window().converter, nullptr);
    EXPECT_EQ(GetForegroundWindow(), window_);
}

TEST_F(DxWindow, TheWindowShowsTheWholePage) { show_whole_page(); }

TEST_F(DxWindow, ADpiChangeRescalesThePicture) { change_dpi(); }

TEST_F(DxWindow, ChangedRowsAreConvertedIntoTheBackSurface) {
    dot(10, 300, 12, true);
    ASSERT_TRUE(wait_until([&] { return converted(10, 300) == display_colour(12); })) << std::hex << converted(10, 300);
    // A row changed without being marked stays as it was.
    dot(20, 200, 9, false);
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(converted(20, 200), display_colour(0));
    gfx_palette_set(12, 0x563412);
    EXPECT_TRUE(wait_until([&] { return converted(10, 300) == 0x123456u; })) << std::hex << converted(10, 300);
    EXPECT_EQ(converted(20, 200), display_colour(9));
}

// Typed characters, extended keys and the close button come through the
// window procedure.
TEST_F(DxWindow, TypedKeysAndTheCloseButtonReachTheKeyQueue) {
    post(WM_CHAR, '1', 1);
    post(WM_CHAR, VK_RETURN, 0x1C0001);
    post(WM_KEYDOWN, VK_UP, 2 | 0x48 << 16 | 1 << 24);
    EXPECT_EQ(keys(4), (std::vector<int32_t>{'1', 13, KEY_UP, KEY_UP}));
    post(WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(keys(1), std::vector<int32_t>{KEY_CLOSE});
    EXPECT_TRUE(IsWindow(window_));
}

// The key states come from the DirectInput keyboard: the pad's minus (74)
// has no row in the window procedure's table, so only DirectInput sets it.
TEST_F(DxWindow, KeyStatesComeFromTheDirectInputKeyboard) {
    const auto state = [](int scan) { return locked([&] { return g_gfx_screen->key_states[scan]; }); };
    send_keys({{VK_SUBTRACT, false}, {VK_LSHIFT, false}});
    const bool seen = wait_until([&] { return state(74) && state(42); });
    send_keys({{VK_SUBTRACT, true}, {VK_LSHIFT, true}});
    ASSERT_TRUE(seen) << "minus " << int{state(74)} << ", shift " << int{state(42)};
    EXPECT_TRUE(wait_until([&] { return !state(74) && !state(42); }));
}

// A lost primary is restored inside a pass; what the surfaces held is gone,
// so every row is converted again.
TEST_F(DxWindow, ALostSurfaceIsRestoredAndThePictureDrawnAgain) {
    dot(30, 100, 14, true);
    ASSERT_TRUE(wait_until([&] { return converted(30, 100) == display_colour(14); }));
    LostPrimary lost(nullptr, DD_OK);
    locked([&] {
        DxState& dx = dx_state();
        lost = LostPrimary(dx.primary, DD_OK);
        dx.primary = &lost;
        // What a lost back surface keeps.
        DDBLTFX fill{};
        fill.dwSize = sizeof fill;
        dx.back->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fill);
        return 0;
    });
    dot(31, 101, 14, true);  // the program draws on: the pass finds the primary lost
    EXPECT_TRUE(wait_until([&] { return locked([&] { return !lost.lost; }); }));
    EXPECT_TRUE(wait_until([&] { return converted(30, 100) == display_colour(14); }));
    EXPECT_TRUE(shows_the_page(window_, scale_));  // not only the row that was drawn
    EXPECT_GE(lost.restores, 1);
    EXPECT_TRUE(IsWindow(window_));
    gfx_screen_close();
    EXPECT_TRUE(lost.released);
}

// When the display mode changed under the program the surfaces cannot be
// restored: everything is made again, a new window included, and the run
// goes on.
TEST_F(DxWindow, AModeChangeUnderTheProgramMakesEverythingAgain) {
    dot(40, 120, 10, true);
    ASSERT_TRUE(wait_until([&] { return converted(40, 120) == display_colour(10); }));
    LostPrimary lost(nullptr, DDERR_WRONGMODE);
    locked([&] {
        lost = LostPrimary(dx_state().primary, DDERR_WRONGMODE);
        dx_state().primary = &lost;
        return 0;
    });
    dot(41, 121, 10, true);
    ASSERT_TRUE(wait_until([&] { return locked([&] { return win32_window().window != window_; }); }));
    EXPECT_TRUE(lost.released);
    EXPECT_EQ(lost.restores, 1);
    EXPECT_FALSE(IsWindow(window_));
    window_ = locked([] { return win32_window().window; });
    ASSERT_TRUE(IsWindow(window_));
    EXPECT_NE(locked([] { return dx_state().keyboard; }), nullptr);
    EXPECT_TRUE(wait_until([&] { return converted(40, 120) == display_colour(10); }));
    post(WM_CHAR, '7', 1);
    EXPECT_EQ(keys(1), std::vector<int32_t>{'7'});
}

// Maximising asks for full screen; this display has no 512-column mode,
// so the window comes back as it was and shows the picture again.
TEST_F(DxWindow, MaximisingSwitchesToFullScreenOrBackToTheWindow) {
    dot(50, 50, 13, true);
    ASSERT_TRUE(wait_until([&] { return converted(50, 50) == display_colour(13); }));
    post(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ASSERT_TRUE(wait_until([&] { return locked([&] { return win32_window().window != window_; }); }));
    window_ = locked([] { return win32_window().window; });
    ASSERT_NE(window_, nullptr);
    const bool full = (locked([] { return display_window().flags; }) & SCREEN_FULLSCREEN) != 0;
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window_, GWL_STYLE)) & WS_POPUP, full ? WS_POPUP : 0u);
    if (!full) {
        RECT client{};
        GetClientRect(window_, &client);
        EXPECT_EQ(client.right, 512 * scale_);
        EXPECT_EQ(client.bottom, 512 * scale_);
        EXPECT_TRUE(wait_until([&] { return converted(50, 50) == display_colour(13); }));
    }
}

// The driver operations of the drawing thread: the retrace wait ends and the
// next pass takes it as over; the display's modes of a depth come from the
// running DirectDraw object and, once the window is gone, from a temporary
// one alike. At the end everything the back-end made is gone.
TEST_F(DxWindow, DrawingThreadOperationsAndTheEnd) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 5; ++i) g_gfx_screen->driver->wait_vsync();
    const auto took = std::chrono::steady_clock::now() - start;
    RecordProperty("five_waits_ms", std::to_string(std::chrono::duration<double, std::milli>(took).count()));
    EXPECT_LT(took, 2s);
    EXPECT_TRUE(wait_until([] { return locked([] { return dx_state().vblank_pending == 0; }); }));

    int32_t count = -1;
    int32_t* running = dx_fetch_modes(32, &count);
    ASSERT_GT(count, 0);
    const std::vector<int32_t> modes(running, running + count);
    std::free(running);
    const int32_t desktop = GetSystemMetrics(SM_CXSCREEN) << 16 | GetSystemMetrics(SM_CYSCREEN);
    EXPECT_NE(std::find(modes.begin(), modes.end(), desktop), modes.end());
    EXPECT_EQ(dx_fetch_modes(3, &count), nullptr);
    EXPECT_EQ(count, 0);

    const std::string class_name = display_window().class_name;
    gfx_screen_close();
    EXPECT_FALSE(IsWindow(window_));
    WNDCLASSA c{};
    EXPECT_FALSE(GetClassInfoA(win32_window().instance, class_name.c_str(), &c));
    const DxState& dx = dx_state();
    EXPECT_EQ(dx.ddraw, nullptr);
    EXPECT_EQ(dx.primary, nullptr);
    EXPECT_EQ(dx.keyboard, nullptr);
    EXPECT_EQ(dx.ddraw_library, nullptr);
    EXPECT_EQ(dx.vblank_event, nullptr);

    int32_t* temporary = dx_fetch_modes(32, &count);
    ASSERT_EQ(count, static_cast<int32_t>(modes.size()));
    EXPECT_EQ(std::vector<int32_t>(temporary, temporary + count), modes);
    std::free(temporary);
}

// Without a desktop no window can be made: init fails at once and leaves
// nothing behind.
TEST(DxWithoutDisplay, InitFailsCleanly) {
    if (!wine_without_display()) GTEST_SKIP() << "a desktop is there";
    runtime_init();
    EXPECT_EQ(dx_init("wavetable", 512, 512, 8, 0, 0), -1);
    display_window_exit();
    EXPECT_EQ(display_window().running.load(), 0);
    EXPECT_EQ(win32_window().window, nullptr);
    EXPECT_EQ(dx_state().ddraw, nullptr);
    EXPECT_EQ(dx_state().ddraw_library, nullptr);
    EXPECT_EQ(dx_init("wavetable", 512, 512, 16, 0, SCREEN_OPENGL), -1);  // refused before anything starts
    display_window_exit();
    EXPECT_EQ(dx_init("wavetable", 512, 512, 32, 0, SCREEN_SHAPED), -1);
    display_window_exit();
}

}  // namespace
