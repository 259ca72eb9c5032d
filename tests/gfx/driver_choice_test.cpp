#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "gfx/drivers.h"
#include "gfx/screen.h"
#include "support/scoped_env.h"

namespace {

// What the fake drivers were asked, in order: "GDI 60 0" is GDI's init with
// refresh rate 60 and flags 0; "GDI exit" its exit.
std::vector<std::string> g_calls;
std::string g_accepts;  // "name refresh flags" that succeeds

template <const char* Name>
int32_t fake_init(const char*, int32_t, int32_t, int32_t, int32_t refresh, int32_t flags) {
    std::string call = std::string(Name) + " " + std::to_string(refresh) + " " + std::to_string(flags);
    g_calls.push_back(call);
    return call == g_accepts ? 0 : -1;
}
template <const char* Name>
void fake_exit() {
    g_calls.push_back(std::string(Name) + " exit");
}

constexpr char DIRECTX[] = "DirectX", GDI[] = "GDI", OPENGL[] = "OpenGL";

template <const char* Name>
constexpr GfxDriver fake() {
    GfxDriver d{};
    d.name = Name;
    d.init = fake_init<Name>;
    d.exit = fake_exit<Name>;
    return d;
}

const GfxDriver FAKE_DIRECTX = fake<DIRECTX>(), FAKE_GDI = fake<GDI>(), FAKE_OPENGL = fake<OPENGL>();
const GfxDriver* const FAKES[] = {&FAKE_DIRECTX, &FAKE_GDI, &FAKE_OPENGL, nullptr};

class DriverChoice : public ::testing::Test {
   protected:
    void SetUp() override {
        g_calls.clear();
        g_accepts.clear();
    }
    const GfxDriver* choose(const char* request, int32_t flags = 0) {
        request_.set(request ? std::optional<std::string>(request) : std::nullopt);
        return gfx_choose_driver(FAKES, "t", 512, 512, 8, 60, flags);
    }
    // The init calls only, as "name flags".
    static std::vector<std::string> inits() {
        std::vector<std::string> out;
        for (const std::string& c : g_calls)
            if (c.find(" exit") == std::string::npos && c.find(" 60 ") != std::string::npos)
                out.push_back(c.substr(0, c.find(' ')) + " " + c.substr(c.rfind(' ') + 1));
        return out;
    }
    ScopedEnv request_{"ZVGFX", get_env("ZVGFX")};
};

TEST_F(DriverChoice, WithoutANameEveryDriverInAWindowThenFullScreen) {
    EXPECT_EQ(choose(nullptr), nullptr);
    EXPECT_EQ(inits(), (std::vector<std::string>{"DirectX 0", "GDI 0", "OpenGL 0", "DirectX 1", "GDI 1", "OpenGL 1"}));
    // Each refusal is followed by the driver's exit and a retry at refresh 0.
    EXPECT_EQ(std::vector<std::string>(g_calls.begin(), g_calls.begin() + 4),
              (std::vector<std::string>{"DirectX 60 0", "DirectX exit", "DirectX 0 0", "DirectX exit"}));
    EXPECT_EQ(g_calls.size(), 24u);
}

TEST_F(DriverChoice, ANamedDriverFirstInEachScreenMode) {
    EXPECT_EQ(choose("gdi"), nullptr);
    EXPECT_EQ(inits(), (std::vector<std::string>{"GDI 0", "DirectX 0", "GDI 0", "OpenGL 0", "GDI 1", "DirectX 1",
                                                 "GDI 1", "OpenGL 1"}));
}

TEST_F(DriverChoice, AnUnknownNameIsLikeNoName) {
    EXPECT_EQ(choose("Vulkan"), nullptr);
    EXPECT_EQ(inits(), (std::vector<std::string>{"DirectX 0", "GDI 0", "OpenGL 0", "DirectX 1", "GDI 1", "OpenGL 1"}));
}

TEST_F(DriverChoice, TheFirstThatAcceptsIsTaken) {
    g_accepts = "GDI 0 1";  // GDI, full screen, on the retry without a refresh rate
    EXPECT_EQ(choose(nullptr), &FAKE_GDI);
    EXPECT_EQ(g_calls.back(), "GDI 0 1");
    g_calls.clear();
    g_accepts = "OpenGL 60 0";
    EXPECT_EQ(choose("OPENGL"), &FAKE_OPENGL);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"OpenGL 60 0"}));
}

TEST_F(DriverChoice, NullTakesNoInit) {
    EXPECT_EQ(choose("nULL"), &null_driver);
    EXPECT_EQ(choose(nullptr, SCREEN_NULL), &null_driver);
    EXPECT_TRUE(g_calls.empty());
}

}  // namespace
