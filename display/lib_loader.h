#pragma once
#include <cstdint>

// Loads shared libraries at run time, so that the program starts on a
// machine without them and only the back-end that needs one fails.

// Loads the library and resolves every name of the null-terminated list
// into `entries`, in order. Null (and nothing stays loaded) when the
// library or any name is missing.
void* lib_load(const char* file_name, const char* const* names, void** entries);

// Resolves `count` names of a loaded library into `entries`: 0, or -1 at
// the first missing name (entries before it are filled, the rest untouched).
int32_t lib_resolve(void* library, const char* const* names, void** entries, int32_t count);

// Unloads the library the location holds, if any, and clears the location.
void lib_free(void** library);
