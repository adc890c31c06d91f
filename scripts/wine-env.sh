# Sourced by the scripts that build or run Wine: one project-local prefix, quiet, no Mono or Gecko.
# WINEPREFIX may be set by the caller (each parallel build tree can have its own).
#
# The client is a 32-bit program. Where the kernel runs no 32-bit x86 code (IA-32 emulation off),
# 32-bit Wine cannot start: the tests then build the same sources for 64-bit Windows and run them
# under 64-bit Wine, and the 32-bit program is still built (scripts/build.sh). VELTOR_ARCH says
# which: i686 or x86_64.
veltor_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if [ -z "${VELTOR_ARCH:-}" ]; then
  if [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
    VELTOR_ARCH=i686
  else
    VELTOR_ARCH=x86_64
  fi
fi
export VELTOR_ARCH
if [ "$VELTOR_ARCH" = x86_64 ]; then
  export WINEARCH=win64
  # `wine` and `wineserver` of the 64-bit installation come first, for scripts and the harness.
  case ":$PATH:" in *":$veltor_root/scripts/wine64:"*) ;; *) export PATH="$veltor_root/scripts/wine64:$PATH" ;; esac
  export WINEPREFIX=${WINEPREFIX:-$veltor_root/.wine64}
else
  export WINEARCH=win32
  export WINEPREFIX=${WINEPREFIX:-$veltor_root/.wine}
fi
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
