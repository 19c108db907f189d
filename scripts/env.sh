# Shared paths and the Wine environment for the build, test and run scripts.
# Sourced, never run. Everything Wine touches lives under build/ so nothing leaks
# into the user's home.
TAPESTREL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR="$TAPESTREL_ROOT/build"
DEPS_DIR="$BUILD_DIR/deps"
WINE_HOME="$BUILD_DIR/wine"
# The program is built for 32-bit Windows (what ships) and for 64-bit Windows, which is
# what runs under Wine here: this machine's kernel cannot execute 32-bit code, so Wine's
# 32-bit loader cannot start.
WINE_LOADER=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
RUN_BUILD="$BUILD_DIR/win64"
SHIP_BUILD="$BUILD_DIR/win32"

export WINEPREFIX="$WINE_HOME/prefix"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export HOME="$WINE_HOME/home"
export XDG_DATA_HOME="$HOME/.local/share"
export XDG_CONFIG_HOME="$HOME/.config"
export XDG_CACHE_HOME="$HOME/.cache"
export XDG_RUNTIME_DIR="$WINE_HOME/run"

# Starts Xvfb on a free display when none is set, so that windows, the
# notification area and screenshots work headless. Sets XVFB_PID when started.
ensure_display() {
  if [ -n "${DISPLAY:-}" ]; then return 0; fi
  local n
  for n in $(seq 91 120); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
      XVFB_PID=$!
      export DISPLAY=":$n"
      local i
      for i in $(seq 1 50); do
        [ -e "/tmp/.X11-unix/X$n" ] && return 0
        sleep 0.1
      done
      echo "Xvfb did not start on :$n" >&2
      return 1
    fi
  done
  echo "no free X display number" >&2
  return 1
}

stop_display() {
  if [ -n "${XVFB_PID:-}" ]; then
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
    unset XVFB_PID
  fi
}

stop_wine() {
  "$WINESERVER" -k >/dev/null 2>&1 || true
  "$WINESERVER" -w >/dev/null 2>&1 || true
}
