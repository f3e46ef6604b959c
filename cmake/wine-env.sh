# Shared shell functions for running Windows programs here: the project's
# private Wine prefix, a persistent wineserver and a virtual X display.
# Sourced by ./test, ./play and the ctest emulator (cmake/wine-run.sh).

KOLVEX_ROOT=${KOLVEX_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]:-$0}")/.." && pwd)}
export WINEPREFIX=${WINEPREFIX:-$KOLVEX_ROOT/build/wineprefix}
export WINEDEBUG=${KOLVEX_WINEDEBUG:--all}
export WINEARCH=win64
export PATH="$PATH:/usr/lib/wine"

kolvex_reg() { wine reg add "$@" /f >/dev/null 2>&1; }

# Creates and configures the prefix once. Must run after wine32 is installed:
# a prefix made without it cannot start 32-bit programs.
kolvex_wine_prefix() {
    [ -f "$WINEPREFIX/.kolvex-ready" ] && return 0
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        exec 9>"$(dirname "$WINEPREFIX")/.wineprefix.lock"
        flock 9
        [ -f "$WINEPREFIX/.kolvex-ready" ] && exit 0
        rm -rf "$WINEPREFIX"
        WINEDLLOVERRIDES="mscoree,mshtml=" wine wineboot -i </dev/null >/dev/null 2>&1
        local nt='HKLM\Software\Microsoft\Windows NT\CurrentVersion'
        kolvex_reg "$nt\\FontSubstitutes" /v "Terminal,134" /t REG_SZ /d "WenQuanYi Micro Hei Mono,134"
        kolvex_reg "$nt\\FontLink\\SystemLink" /v Tahoma /t REG_MULTI_SZ /d "wqy-microhei.ttc,WenQuanYi Micro Hei"
        kolvex_reg "$nt\\FontLink\\SystemLink" /v "Tahoma Bold" /t REG_MULTI_SZ /d "wqy-microhei.ttc,WenQuanYi Micro Hei"
        kolvex_reg 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N
        kolvex_reg 'HKCU\Software\Wine\Drivers' /v Audio /t REG_SZ /d ""
        wineserver -w
        touch "$WINEPREFIX/.kolvex-ready"
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
        setsid wine wineboot </dev/null >/dev/null 2>&1
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
