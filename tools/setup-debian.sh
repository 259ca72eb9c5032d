#!/bin/sh
# Installs the Debian packages the build ("build"), the tests ("test") or
# the Windows build with its tests under Wine ("windows") need, when they
# are missing. Safe to run again: installs nothing twice.
set -eu

# libgl-dev: the OpenGL and GLX headers (libGL itself is loaded at run time).
# The Wayland back-end's protocol code is generated at build time
# (wayland-scanner, wayland-protocols); libwayland-client, xkbcommon,
# libdecor and the X libraries lend only their headers, being loaded at run
# time.
build_packages="cmake ninja-build g++ make pkg-config libx11-dev libxext-dev libxrandr-dev libxss-dev libgl-dev \
libncurses-dev libwayland-dev wayland-protocols libxkbcommon-dev libdecor-0-dev"
# The packaging tests judge the install tree and the .deb with Debian's own
# tools (and cpack's dependency list needs dpkg-shlibdeps and file);
# appstream validates the metainfo. libglx-mesa0 and libgl1-mesa-dri:
# Mesa's software renderer, the OpenGL of the tests' X servers; openbox, a
# window manager that frames its windows; libxtst-dev for the latency
# probe. sox: a second reader of wavetable-export's files. The Wayland
# tests' compositors and their tools: sway (headless, with wtype, grim and
# swaymsg), weston, which draws no frames, with libdecor's frame plugin for
# its clients; xkb-data holds the keymaps the keyboard tests compile.
test_packages="$build_packages libgtest-dev libbenchmark-dev libxtst-dev openbox libpng-dev xvfb xdotool x11-utils \
clang libclang-rt-14-dev mandoc desktop-file-utils lintian dpkg-dev file libglx-mesa0 libgl1-mesa-dri clang-format git \
sox sway grim wtype weston libdecor-0-plugin-1-cairo xkb-data appstream"
# The mingw-w64 cross compiler (POSIX threads), GoogleTest's sources for it,
# Wine to run the result, tmux for its console, an X server and xdotool for
# its window; the Linux side of the tests needs what the Linux tests need to
# configure.
windows_packages="$build_packages libgtest-dev libpng-dev googletest g++-mingw-w64-x86-64-posix wine wine64 tmux \
xvfb xdotool"

case "${1:-build}" in
    build) wanted=$build_packages ;;
    test) wanted=$test_packages ;;
    windows) wanted=$windows_packages ;;
    *) echo "usage: $0 build|test|windows" >&2; exit 2 ;;
esac

missing=""
for p in $wanted; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing >/dev/null
