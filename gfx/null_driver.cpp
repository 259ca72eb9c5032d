#include "gfx/drivers.h"
#include "gfx/screen.h"

namespace {

// Nothing runs beside the program, so there is nothing to exclude.
void null_lock() {}
void null_unlock() {}

}  // namespace

const GfxDriver null_driver = {"Null",  nullptr, nullptr, null_lock, null_unlock, nullptr, nullptr,           nullptr,
                               nullptr, nullptr, nullptr, nullptr,   nullptr,     nullptr, {nullptr, nullptr}};
