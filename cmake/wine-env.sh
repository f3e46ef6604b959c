# Shared shell functions for running Windows programs here: the project's
# private Wine prefix, a persistent wineserver and a virtual X display.
# Sourced by ./test, ./play and the ctest emulator (cmake/wine-run.sh).

KOLVEX_ROOT=${KOLVEX_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]:-$0}")/.." && pwd)}
export WINEPREFIX=${WINEPREFIX:-$KOLVEX_ROOT/build/wineprefix}
export WINEDEBUG=${KOLVEX_WINEDEBUG:--all}
export WINEARCH=win64
export PATH="$PATH:/usr/lib/wine"

# Some kernels run no 32-bit x86 programs (booted with ia32_emulation off).
# Wine's usual loader is one, so there Wine starts through its 64-bit loader
# and runs 64-bit Windows programs only: the win64 build's tests run, the
# win32 build's cannot. KOLVEX_WINE is the loader to start.
if [ -z "${KOLVEX_WINE:-}" ]; then
    KOLVEX_WINE=wine
    if ! /usr/lib/wine/wine --version >/dev/null 2>&1 && [ -x /usr/lib/wine/wine64 ]; then
        KOLVEX_WINE=/usr/lib/wine/wine64
    fi
    export KOLVEX_WINE
fi
kolvex_wine_runs_32bit() { [ "$KOLVEX_WINE" = wine ]; }
# A prefix made without 32-bit Wine lacks its 32-bit half for good.
if kolvex_wine_runs_32bit; then KOLVEX_PREFIX_MARK=.kolvex-ready; else KOLVEX_PREFIX_MARK=.kolvex-ready-64bit-only; fi

kolvex_reg() { "$KOLVEX_WINE" reg add "$@" /f >/dev/null 2>&1; }

# Creates and configures the prefix once. Must run after wine32 is installed:
# a prefix made without it cannot start 32-bit programs.
kolvex_wine_prefix() {
    [ -f "$WINEPREFIX/$KOLVEX_PREFIX_MARK" ] && return 0
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        exec 9>"$(dirname "$WINEPREFIX")/.wineprefix.lock"
        flock 9
        [ -f "$WINEPREFIX/$KOLVEX_PREFIX_MARK" ] && exit 0
        rm -rf "$WINEPREFIX"
        WINEDLLOVERRIDES="mscoree,mshtml=" "$KOLVEX_WINE" wineboot -i </dev/null >/dev/null 2>&1
        local nt='HKLM\Software\Microsoft\Windows NT\CurrentVersion'
        kolvex_reg "$nt\\FontSubstitutes" /v "Terminal,134" /t REG_SZ /d "WenQuanYi Micro Hei Mono,134"
        kolvex_reg "$nt\\FontLink\\SystemLink" /v Tahoma /t REG_MULTI_SZ /d "wqy-microhei.ttc,WenQuanYi Micro Hei"
        kolvex_reg "$nt\\FontLink\\SystemLink" /v "Tahoma Bold" /t REG_MULTI_SZ /d "wqy-microhei.ttc,WenQuanYi Micro Hei"
        kolvex_reg 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N
        kolvex_reg 'HKCU\Software\Wine\Drivers' /v Audio /t REG_SZ /d ""
        wineserver -w
        touch "$WINEPREFIX/$KOLVEX_PREFIX_MARK"
    )
}

# A display for Wine: the caller's, or a private Xvfb that stays up for the run.
kolvex_display() {
    [ -n "${DISPLAY:-}" ] && return 0
    local state="$KOLVEX_ROOT/build/xvfb.display"
    if [ -f "$state" ] && [ -e "/tmp/.X11-unix/X$(cat "$state")" ]; then
        export DISPLAY=":$(cat "$state")"
        return 0
    fi
    local n=90
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    mkdir -p "$KOLVEX_ROOT/build"
    setsid Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    echo $! >"$KOLVEX_ROOT/build/xvfb.pid"
    echo "$n" >"$state"
    for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.05; done
    export DISPLAY=":$n"
}

# A persistent wineserver, started with stdio on /dev/null so that Wine's
# background services never hold a caller's pipe open.
kolvex_wine_server() {
    if [ ! -S "$(kolvex_wine_socket)" ]; then
        setsid wineserver -p </dev/null >/dev/null 2>&1
        setsid "$KOLVEX_WINE" wineboot </dev/null >/dev/null 2>&1
    fi
}

kolvex_wine_socket() {
    local inode dev dir=".wine-$(id -u)"
    inode=$(stat -c %i "$WINEPREFIX" 2>/dev/null) || return 0
    dev=$(stat -c %d "$WINEPREFIX")
    # This Wine keeps its server folder name in the prefix.
    [ -f "$WINEPREFIX/wineserver" ] && dir=$(cat "$WINEPREFIX/wineserver")
    printf '/tmp/%s/server-%x-%x/socket' "$dir" "$dev" "$inode"
}

kolvex_wine_ready() {
    kolvex_wine_prefix
    kolvex_display
    kolvex_wine_server
}

# Ends everything this run started under the prefix, and the private display.
kolvex_wine_stop() {
    wineserver -k >/dev/null 2>&1 || true
    if [ -f "$KOLVEX_ROOT/build/xvfb.pid" ]; then
        kill "$(cat "$KOLVEX_ROOT/build/xvfb.pid")" 2>/dev/null || true
        rm -f "$KOLVEX_ROOT/build/xvfb.pid" "$KOLVEX_ROOT/build/xvfb.display"
    fi
}
