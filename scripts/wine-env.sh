# Sourced by the scripts that run Wine: one project-local 32-bit prefix, quiet, no Mono or Gecko.
# WINEPREFIX may be set by the caller (each parallel build tree can have its own).
veltor_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$veltor_root/.wine}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}

# Creates the prefix once (guarded against parallel callers): no window manager decorations, so
# showing a window costs no 2-second wait, and no crash dialog that would block a test.
veltor_wine_prefix() {
  [ -f "$WINEPREFIX/.veltor-ready" ] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    [ -f "$WINEPREFIX/.veltor-ready" ] && exit 0
    DISPLAY= wineboot --init >/dev/null 2>&1 9>&-
    DISPLAY= wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 9>&-
    DISPLAY= wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 9>&-
    wineserver -w 9>&-
    touch "$WINEPREFIX/.veltor-ready"
  ) 9>"$WINEPREFIX.lock"
}
