#!/bin/sh
# Checks what installing wavetable gives, as a user or a distribution sees
# it:
#   check.sh install BUILD   cmake --install into a staging folder: the
#                            binaries (which run: wavetable-export on what
#                            wavetable wrote), the manual pages (mandoc's
#                            lint), the desktop entry (desktop-file-validate),
#                            the AppStream metainfo (appstreamcli validate)
#                            and the icons, and nothing else
#   check.sh deb BUILD       cpack -G DEB: the package holds the same files
#                            under /usr, its dependencies are right, its
#                            version is the one wavetable-export tells, and
#                            lintian finds no error
set -eu
mode=$1
build=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

expected_files() {  # prefix
    for f in bin/wavetable bin/wavetable-export share/man/man1/wavetable.1.gz share/man/man1/wavetable-export.1.gz \
             share/applications/io.github.wavetable.Wavetable.desktop \
             share/metainfo/io.github.wavetable.Wavetable.metainfo.xml \
             share/doc/wavetable/copyright share/doc/wavetable/changelog.gz; do
        echo "$1/$f"
    done
    for size in 16 32 48 64 128 256; do echo "$1/share/icons/hicolor/${size}x${size}/apps/wavetable.png"; done
}

# Width and height of a PNG, from its header.
png_size() {
    od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d\n", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'
}

# A manual page passes mandoc's lint and has these sections (an underscore
# for a space) and words.
check_man_page() {  # name, sections, words
    page="$stage/share/man/man1/$1.1.gz"
    mandoc -Tlint -W warning "$page" || fail "mandoc finds fault with the manual page $1(1)"
    mandoc -Tascii "$page" | col -b >"$work/man.txt"
    for section in $2; do
        section=$(echo "$section" | tr _ ' ')
        grep -q "^$section\$" "$work/man.txt" || fail "the manual page $1(1) has no $section section"
    done
    for needed in $3; do
        grep -q -e "$needed" "$work/man.txt" || fail "the manual page $1(1) does not mention $needed"
    done
}

check_install() {
    stage="$work/stage"
    cmake --install "$build" --prefix "$stage" >/dev/null
    (cd "$stage" && find . -type f | sed 's|^\./||' | sort) >"$work/found"
    expected_files . | sed 's|^\./||' | sort >"$work/wanted"
    diff -u "$work/wanted" "$work/found" || fail "the install tree holds other files than these"

    [ -x "$stage/bin/wavetable" ] || fail "bin/wavetable is not executable"
    mkdir "$work/run"
    (cd "$work/run" && printf '1\n' | env -u DISPLAY -u ZVGFX "$stage/bin/wavetable") || fail "the installed program failed"
    [ "$(wc -c <"$work/run/sawtooth.bin")" -eq 131072 ] || fail "the installed program wrote no full file"

    [ -x "$stage/bin/wavetable-export" ] || fail "bin/wavetable-export is not executable"
    (cd "$work/run" && "$stage/bin/wavetable-export" ./*.bin 2>"$work/export.err") ||
        fail "the installed wavetable-export failed: $(cat "$work/export.err")"
    [ "$(wc -c <"$work/run/sawtooth.wav")" -gt 262144 ] || fail "the installed wavetable-export wrote no full file"

    check_man_page wavetable "NAME SYNOPSIS DESCRIPTION ENVIRONMENT FILES EXIT_STATUS EXAMPLES" \
        "ZVGFX sox Backspace sawtooth.bin 131072"
    check_man_page wavetable-export "NAME SYNOPSIS DESCRIPTION EXIT_STATUS EXAMPLES DIAGNOSTICS SEE_ALSO" \
        "clm srge --frame --format --output trisquare.bin sawtooth.bin sox"

    desktop="$stage/share/applications/io.github.wavetable.Wavetable.desktop"
    out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
    [ -z "$out" ] || fail "desktop-file-validate: $out"
    grep -qx 'Exec=wavetable' "$desktop" || fail "the desktop entry does not start wavetable"
    grep -qx 'Icon=wavetable' "$desktop" || fail "the desktop entry does not name the icon"

    # Software centres list the program from its metainfo, whose id names the
    # desktop entry and is the window's Wayland app_id.
    metainfo="$stage/share/metainfo/io.github.wavetable.Wavetable.metainfo.xml"
    out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $out"
    grep -q '<id>io.github.wavetable.Wavetable</id>' "$metainfo" || fail "the metainfo's id is not the app_id"
    grep -q '<launchable type="desktop-id">io.github.wavetable.Wavetable.desktop</launchable>' "$metainfo" ||
        fail "the metainfo does not launch the desktop entry"
    grep -q 'WL_APP_ID = "io.github.wavetable.Wavetable"' "$(dirname "$0")/../../display/wayland/wl_app_id.h" ||
        fail "the Wayland app_id is not the metainfo's id"

    for size in 16 32 48 64 128 256; do
        got=$(png_size "$stage/share/icons/hicolor/${size}x${size}/apps/wavetable.png")
        [ "$got" = "${size}x${size}" ] || fail "the ${size}x${size} icon is $got"
    done
}

check_deb() {
    (cd "$build" && cpack -G DEB -B "$work/pkg" >/dev/null) || fail "cpack failed"
    deb=$(ls "$work"/pkg/wavetable_*.deb)
    dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ { print $NF }' | sed 's|^\./||' | sort >"$work/found"
    expected_files usr | sort >"$work/wanted"
    diff -u "$work/wanted" "$work/found" || fail "the package holds other files than the install tree"
    depends=$(dpkg-deb -f "$deb" Depends)
    recommends=$(dpkg-deb -f "$deb" Recommends)
    echo "$depends" | grep -q 'libc6' || fail "Depends lacks the C library: $depends"
    echo "$depends" | grep -q 'libx' && fail "Depends requires X libraries, loaded only when there: $depends"
    echo "$depends" | grep -q -e 'libwayland' -e 'libxkbcommon' -e 'libdecor' &&
        fail "Depends requires Wayland libraries, loaded only when there: $depends"
    for lib in libx11-6 libxext6 libxrandr2 libxss1 libwayland-client0 libxkbcommon0 libdecor-0-0; do
        echo "$recommends" | grep -q "$lib" || fail "Recommends lacks $lib: $recommends"
    done
    version=$(dpkg-deb -f "$deb" Version)
    told=$("$build/wavetable-export" --version)
    [ "$told" = "wavetable-export (wavetable) $version" ] ||
        fail "wavetable-export --version tells '$told', the package is $version"
    lintian --fail-on error "$deb" || fail "lintian reports errors"
}

case "$mode" in
    install) check_install ;;
    deb) check_deb ;;
    *) fail "usage: $0 install|deb BUILD" ;;
esac
