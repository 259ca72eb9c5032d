#pragma once
#include <gtest/gtest.h>

#include "runtime/runtime_context.h"

// Brings the runtime up once per test binary (as the program's static
// initialisers do) and keeps it up: the context is process-wide.
class RuntimeTest : public ::testing::Test {
   protected:
    static void SetUpTestSuite() { runtime_init(); }
};
