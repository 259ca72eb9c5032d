#pragma once
#include <initializer_list>
#include <vector>

#include "gfx/drivers.h"

// Hands the screen a list of window drivers for the length of a test, as
// the display layer hands it the platform's list in the program, and gives
// the list before it back afterwards. So the tests of one back-end choose
// among their own driver only.
class ScopedWindowDrivers {
   public:
    explicit ScopedWindowDrivers(std::initializer_list<const GfxDriver*> drivers)
        : previous_(gfx_window_drivers()), list_(drivers) {
        list_.push_back(nullptr);
        gfx_register_window_drivers(list_.data());
    }
    ~ScopedWindowDrivers() { gfx_register_window_drivers(previous_); }
    // The list that was registered before.
    const GfxDriver* const* previous() const { return previous_; }
    ScopedWindowDrivers(const ScopedWindowDrivers&) = delete;
    ScopedWindowDrivers& operator=(const ScopedWindowDrivers&) = delete;

   private:
    const GfxDriver* const* previous_;
    std::vector<const GfxDriver*> list_;
};
