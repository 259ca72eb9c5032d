#include "display/lib_loader.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using StrlenFn = size_t (*)(const char*);

// A library every system has, with strlen and memcmp in it.
#ifdef _WIN32
const char* const C_LIBRARY = "msvcrt.dll";
#else
const char* const C_LIBRARY = "libc.so.6";
#endif

TEST(LibLoader, LoadsALibraryAndResolvesEveryName) {
    const char* names[] = {"strlen", "memcmp", nullptr};
    void* entries[2] = {};
    void* library = lib_load(C_LIBRARY, names, entries);
    ASSERT_NE(library, nullptr);
    ASSERT_NE(entries[0], nullptr);
    ASSERT_NE(entries[1], nullptr);
    EXPECT_EQ(reinterpret_cast<StrlenFn>(entries[0])("wave"), 4u);
    lib_free(&library);
    EXPECT_EQ(library, nullptr);
    lib_free(&library);  // nothing left to free
}

TEST(LibLoader, MissingLibraryOrNameGivesNone) {
    const char* names[] = {"strlen", "no_such_entry_point", nullptr};
    void* entries[2] = {};
    EXPECT_EQ(lib_load("libno-such-library.so.1", names, entries), nullptr);
    EXPECT_EQ(lib_load(C_LIBRARY, names, entries), nullptr);
    EXPECT_EQ(lib_load(nullptr, names, entries), nullptr);
}

TEST(LibLoader, ResolveStopsAtTheFirstMissingName) {
    void* library = lib_load(C_LIBRARY, nullptr, nullptr);
    ASSERT_NE(library, nullptr);
    const char* names[] = {"strlen", "no_such_entry_point", "memcmp"};
    void* entries[3] = {};
    EXPECT_EQ(lib_resolve(library, names, entries, 3), -1);
    EXPECT_NE(entries[0], nullptr);
    EXPECT_EQ(entries[2], nullptr);
    EXPECT_EQ(lib_resolve(library, names, entries, 1), 0);
    EXPECT_EQ(lib_resolve(nullptr, names, entries, 1), -1);
    lib_free(&library);
}

}  // namespace
