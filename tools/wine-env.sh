# Sourced by the scripts that run Windows programs: a private Wine environment
# under the build tree (prefixes, HOME, XDG folders) and a virtual display.
# Usage: source tools/wine-env.sh; wine_prefix 32|64; wine_display
# The 64-bit prefix is driven by the 64-bit loader and server (wine64, wineserver64), which
# work on every x86-64 machine; the 32-bit prefix needs the 32-bit Wine.
kalvetra_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
kalvetra_build_dir=${KALVETRA_BUILD:-$kalvetra_root/build}
kalvetra_wine_dir=${KALVETRA_WINE_DIR:-$kalvetra_build_dir/wine}
kalvetra_wine_lib=/usr/lib/wine
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"

# Selects (and creates when missing) the 32- or 64-bit prefix, and the Wine server for it
# (WINESERVER; call "$WINESERVER" rather than the wineserver wrapper). The 64-bit server serves
# 32-bit prefixes too and is preferred, as Debian's own wrapper does; the 32-bit one is used only
# where it is the only one.
wine_prefix() {
  local bits=$1
  local dir=$kalvetra_wine_dir/prefix$bits
  export WINEPREFIX=$dir/wine
  export HOME=$dir/home XDG_CONFIG_HOME=$dir/home/.config XDG_DATA_HOME=$dir/home/.local/share \
         XDG_CACHE_HOME=$dir/home/.cache XDG_DESKTOP_DIR=$dir/home/Desktop
  export WINESERVER=$kalvetra_wine_lib/wineserver64
  [ -x "$WINESERVER" ] || WINESERVER=$kalvetra_wine_lib/wineserver32
  if [ "$bits" = 32 ]; then
    export WINEARCH=win32
    kalvetra_wine_loader=$kalvetra_wine_lib/wine
  else
    export WINEARCH=win64
    kalvetra_wine_loader=$kalvetra_wine_lib/wine64
  fi
  if [ ! -f "$dir/.ready" ]; then
    mkdir -p "$HOME/.config" "$HOME/.local/share" "$HOME/.cache" "$HOME/Desktop"
    "$kalvetra_wine_loader" wineboot -i >/dev/null 2>&1 || true
    "$WINESERVER" -w
    # Keep the shell folders inside the prefix instead of links into a home folder.
    local users=$WINEPREFIX/drive_c/users
    for link in $(find "$users" -maxdepth 2 -type l 2>/dev/null); do
      rm -f "$link" && mkdir -p "$link"
    done
    touch "$dir/.ready"
  fi
  if [ ! -f "$dir/.unmanaged" ]; then
    # Wine waits up to 2 s for a window manager on every top-level window it destroys; there is
    # none on the virtual display, so its windows are left unmanaged and go at once.
    "$kalvetra_wine_loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
    "$WINESERVER" -w
    touch "$dir/.unmanaged"
  fi
}

# Runs a Windows program in the selected prefix with the loader for its architecture
# (KALVETRA_BINARY_ARCH: i686, the default, or x86_64).
wine_exec() {
  local loader=$kalvetra_wine_lib/wine
  [ "${KALVETRA_BINARY_ARCH:-i686}" = x86_64 ] && loader=$kalvetra_wine_lib/wine64
  WINELOADER=$loader "$loader" "$@"
}

# Empty when this machine runs the 32-bit Windows programs, else the reason why not (as found
# by the set-up in build/win32-support, or probed now when the set-up has not run).
wine32_unavailable_reason() {
  local status=$kalvetra_build_dir/win32-support
  if [ -f "$status" ]; then
    [ "$(cat "$status")" = yes ] || cat "$status"
  elif ! bash "$kalvetra_root/tools/probe-32bit.sh" "$kalvetra_build_dir"; then
    echo "this machine cannot run 32-bit x86 code"
  elif [ ! -x "$kalvetra_wine_lib/wine" ]; then
    echo "the 32-bit Wine is not installed"
  fi
}

# Exit status CTest reports as a skipped test.
kalvetra_skip_code=77

# Ends the calling script as skipped when it is asked to run a 32-bit program (or to use the
# 32-bit prefix) on a machine that cannot.
wine_skip_unless_runnable() {
  local bits=${1:-${KALVETRA_PREFIX_BITS:-32}}
  [ "${KALVETRA_BINARY_ARCH:-i686}" = x86_64 ] && [ "$bits" = 64 ] && return 0
  local reason
  reason=$(wine32_unavailable_reason)
  [ -z "$reason" ] && return 0
  echo "skipped: $reason"
  exit $kalvetra_skip_code
}

# Makes sure DISPLAY names a running X server; starts Xvfb when there is none.
wine_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n
  for n in $(seq 91 120); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
    Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    kalvetra_xvfb_pid=$!
    export DISPLAY=:$n
    for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && return 0; sleep 0.1; done
  done
  echo "could not start a virtual display" >&2
  return 1
}

wine_display_stop() {
  [ -n "${kalvetra_xvfb_pid:-}" ] && kill "$kalvetra_xvfb_pid" 2>/dev/null
  kalvetra_xvfb_pid=
}
