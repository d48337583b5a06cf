# Sourced by the scripts that run Windows programs: a private Wine environment
# under the build tree (prefixes, HOME, XDG folders) and a virtual display.
# Usage: source tools/wine-env.sh; wine_prefix 32|64; wine_display
kalvetra_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
kalvetra_wine_dir=${KALVETRA_WINE_DIR:-$kalvetra_root/build/wine}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"

# Selects (and creates when missing) the 32- or 64-bit prefix.
wine_prefix() {
  local bits=$1
  local dir=$kalvetra_wine_dir/prefix$bits
  export WINEPREFIX=$dir/wine
  export HOME=$dir/home XDG_CONFIG_HOME=$dir/home/.config XDG_DATA_HOME=$dir/home/.local/share \
         XDG_CACHE_HOME=$dir/home/.cache XDG_DESKTOP_DIR=$dir/home/Desktop
  if [ "$bits" = 32 ]; then export WINEARCH=win32; else export WINEARCH=win64; fi
  if [ ! -f "$dir/.ready" ]; then
    mkdir -p "$HOME/.config" "$HOME/.local/share" "$HOME/.cache" "$HOME/Desktop"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    # Keep the shell folders inside the prefix instead of links into a home folder.
    local users=$WINEPREFIX/drive_c/users
    for link in $(find "$users" -maxdepth 2 -type l 2>/dev/null); do
      rm -f "$link" && mkdir -p "$link"
    done
    touch "$dir/.ready"
  fi
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
