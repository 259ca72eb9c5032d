#pragma once

// The window's application id: the desktop entry's name and the AppStream
// component's id (reverse DNS, as AppStream wants it), so that desktops
// give the window its menu entry and icon.
inline constexpr const char* WL_APP_ID = "io.github.wavetable.Wavetable";
