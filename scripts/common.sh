# What the project's scripts share. Source it first: it stops at the first failing
# command, moves to the repository's root and sets root to it.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD

# Quiet while all goes well; the whole log when a step fails.
quiet() {
    local log
    log=$(mktemp)
    if ! "$@" >"$log" 2>&1; then
        cat "$log"
        rm -f "$log"
        echo "failed: $*" >&2
        return 1
    fi
    rm -f "$log"
}

# True where this machine runs 32-bit x86 code, found by trying: a 96-byte 32-bit
# Linux program that only exits with code 7 (mov ebx, 7; mov eax, 1; int 0x80). A
# kernel without 32-bit support refuses to start it ("Exec format error").
runs_32bit_code() {
    local probe status=0
    probe=$(mktemp)
    printf '\177ELF\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0\1\0\0\0\124\200\4\10\64\0\0\0\0\0\0\0\0\0\0\0\64\0\40\0\1\0\0\0\0\0\0\0' >"$probe"
    printf '\1\0\0\0\0\0\0\0\0\200\4\10\0\200\4\10\140\0\0\0\140\0\0\0\5\0\0\0\0\20\0\0' >>"$probe"
    printf '\270\1\0\0\0\273\7\0\0\0\315\200' >>"$probe"
    chmod +x "$probe"
    "$probe" 2>/dev/null || status=$?
    rm -f "$probe"
    [ "$status" -eq 7 ]
}

# The name of a copy the launcher makes beside the tutorial program ("TOL" and one to
# four hex digits, ".exe" in any case).
is_copy_name() { [[ $1 =~ ^TOL[0-9A-Fa-f]{1,4}\.[eE][xX][eE]$ ]]; }

# Leaves (add) or no longer leaves (delete) the named programs' windows unmanaged by
# Wine's X11 driver: under Xvfb no window manager answers, and a managed window waits
# about 2 s each time it is hidden. Call after start_wine.
wine_unmanaged() { # add|delete PROGRAM.exe...
    local action=$1 program
    shift
    for program in "$@"; do
        if [ "$action" = add ]; then
            wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$program\\X11 Driver" /v Managed /t REG_SZ /d N /f
        else
            wine reg delete "HKCU\\Software\\Wine\\AppDefaults\\$program" /f
        fi
    done >/dev/null 2>&1 </dev/null
}
