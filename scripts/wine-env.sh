# Wine in a prefix of the build's own, with a persistent server and an X display of
# its own (Xvfb) unless one is wanted from outside. Source it, then call
# start_wine BUILD_DIR win32|win64 and, at the end, stop_wine.

# Wine's loader for an architecture: Debian's wine script always takes the 32-bit one
# when wine32 is installed, so each is named.
wine_loader() { # win32|win64
    if [ "$1" = win64 ]; then echo /usr/lib/wine/wine64; else echo /usr/lib/wine/wine; fi
}

# Why the 32-bit build cannot run here, in a few words; nothing where it can (needs
# common.sh's probe).
win32_blocker() {
    if ! runs_32bit_code; then
        echo "this machine cannot run 32-bit code"
    elif [ ! -x "$(wine_loader win32)" ]; then
        echo "$(wine_loader win32) is not installed (see scripts/install-deps)"
    fi
}

# The Windows build a script runs: PRESET when given, else the 32-bit build, as
# published, where it runs here and the 64-bit one where not. Sets preset, its Wine
# architecture arch, and title, which names the build (and why it is the 64-bit one).
windows_build() { # [PRESET]
    local blocker=
    preset=${1:-windows}
    [ -n "${1:-}" ] || blocker=$(win32_blocker)
    [ -z "$blocker" ] || preset=windows64
    arch=win32 title="32-bit (i686) build, as published"
    if [ "$preset" = windows64 ]; then
        arch=win64 title="64-bit (x86-64) build${blocker:+: $blocker}"
    fi
}

# Every "wine" of the scripts that source this file runs the loader start_wine chose
# (a command that runs another, such as timeout or exec, names "$WINELOADER" itself).
wine() { "${WINELOADER:?start_wine sets it}" "$@"; }

start_wine() { # BUILD_DIR win32|win64
    export WINEPREFIX="$1/wineprefix"
    export WINEARCH=$2
    WINELOADER=$(wine_loader "$2")
    export WINELOADER
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    if [ -z "${TOLVANE_KEEP_DISPLAY:-}" ] || [ -z "${DISPLAY:-}" ]; then
        local n
        for n in $(seq 90 140); do
            [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
        done
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
        TOLVANE_XVFB_PID=$!
        export DISPLAY=":$n"
        for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    fi
    # Wine's background services would otherwise inherit the test runner's pipes.
    mkdir -p "$WINEPREFIX"
    wineserver -p </dev/null >/dev/null 2>&1
    wine wineboot </dev/null >/dev/null 2>&1 || true
    # Debian's Wine 8 does not find the fonts of the fonts-wine package by itself (it
    # looks in /usr/share/wine/../fonts): without them "MS Sans Serif" is replaced and
    # the caption buttons draw as letters. Linked into the prefix's Fonts folder, they
    # are found.
    local font fonts="$WINEPREFIX/drive_c/windows/Fonts"
    mkdir -p "$fonts"
    for font in /usr/share/wine/fonts/*; do
        [ -e "$fonts/${font##*/}" ] || ln -s "$font" "$fonts/"
    done
}

# True when Wine, as start_wine set it up, starts a Windows program of its
# architecture: the prefix's own command interpreter.
wine_starts_programs() { wine cmd /c exit 0 </dev/null >/dev/null 2>&1; }

stop_wine() {
    wineserver -k </dev/null >/dev/null 2>&1 || true
    if [ -n "${TOLVANE_XVFB_PID:-}" ]; then
        kill "$TOLVANE_XVFB_PID" 2>/dev/null || true
        wait "$TOLVANE_XVFB_PID" 2>/dev/null || true
        TOLVANE_XVFB_PID=
    fi
}
