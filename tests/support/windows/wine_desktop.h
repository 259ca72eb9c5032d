#pragma once
// Whether the Windows tests have a desktop: under Wine only with an X
// display (tools/wine-run.sh gives Wine the one named by WT_WINE_DISPLAY).
#include <windows.h>

#include <cstdlib>

inline bool under_wine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

inline bool wine_without_display() { return under_wine() && !std::getenv("DISPLAY"); }
