# Shared paths and the Wine environment for the build, test and run scripts.
# Sourced, never run. Everything Wine touches lives under build/ so nothing leaks
# into the user's home.
TAPESTREL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR="$TAPESTREL_ROOT/build"
DEPS_DIR="$BUILD_DIR/deps"
WINE_HOME="$BUILD_DIR/wine"
WINESERVER=/usr/lib/wine/wineserver
# The program ships for 32-bit Windows (build/win32). The same sources are also built
# for 64-bit Windows (build/win64), which Wine runs on machines whose kernel cannot
# execute 32-bit code.
SHIP_BUILD="$BUILD_DIR/win32"
WIN64_BUILD="$BUILD_DIR/win64"
PROBE32_SOURCE="$TAPESTREL_ROOT/scripts/probe32.c"
PROBE32="$DEPS_DIR/probe32.exe"
PROBE32_ANSWER=42

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export HOME="$WINE_HOME/home"
export XDG_DATA_HOME="$HOME/.local/share"
export XDG_CONFIG_HOME="$HOME/.config"
export XDG_CACHE_HOME="$HOME/.cache"
export XDG_RUNTIME_DIR="$WINE_HOME/run"

# The program's version, as the 32-bit build wrote it from the project version.
project_version() {
  sed -n 's/^#define TAPESTREL_VERSION "\(.*\)"$/\1/p' "$SHIP_BUILD/generated/tapestrel_version.h" 2>/dev/null
}

# use_windows_build 32|64: points the Wine loader, prefix and build folder at one of the
# two Windows builds. Each has a prefix of its own kind.
use_windows_build() {
  case "$1" in
    32)
      WINE_LOADER=/usr/lib/wine/wine
      export WINEARCH=win32
      export WINEPREFIX="$WINE_HOME/prefix32"
      RUN_BUILD="$SHIP_BUILD"
      RUN_TOOLCHAIN=cmake/mingw-i686.cmake ;;
    64)
      WINE_LOADER=/usr/lib/wine/wine64
      export WINEARCH=win64
      export WINEPREFIX="$WINE_HOME/prefix64"
      RUN_BUILD="$WIN64_BUILD"
      RUN_TOOLCHAIN=cmake/mingw-x86_64.cmake ;;
    *) echo "use_windows_build: 32 or 64, not '$1'" >&2; return 2 ;;
  esac
  RUN_BITS=$1
}

# choose_windows_build: the 32-bit build where this machine executes 32-bit programs
# (Wine's 32-bit loader runs our probe program and hands back its exit code), else the
# 64-bit one. Sets RUN_BUILD_NOTE to one line saying which and why.
choose_windows_build() {
  local reason rc
  if [ ! -x /usr/lib/wine/wine ]; then
    reason="Wine's 32-bit loader /usr/lib/wine/wine is not installed"
  elif [ ! -f "$PROBE32" ]; then
    reason="the 32-bit probe program $PROBE32 has not been built (scripts/setup builds it)"
  else
    use_windows_build 32
    mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    rc=0
    timeout 300 "$WINE_LOADER" "$PROBE32" >/dev/null 2>&1 || rc=$?
    if [ "$rc" -eq "$PROBE32_ANSWER" ]; then
      RUN_BUILD_NOTE="Windows tests and runs use the 32-bit build ($SHIP_BUILD): this machine executes 32-bit programs."
      return 0
    fi
    reason="Wine's 32-bit loader could not run a 32-bit program here (exit code $rc, not $PROBE32_ANSWER)"
  fi
  use_windows_build 64
  RUN_BUILD_NOTE="Windows tests and runs fall back to the 64-bit build ($WIN64_BUILD): $reason."
}

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

# Makes the prefix $WINEPREFIX ready for tests and runs: the one of the Windows build
# chosen (see choose_windows_build), or a fresh one of a test's own.
make_wine_prefix() {
  [ -f "$WINEPREFIX/.tapestrel-ready" ] && return 0
  echo "setup: creating the Wine prefix in $WINEPREFIX"
  mkdir -p "$HOME" "$XDG_DATA_HOME/Trash/files" "$XDG_DATA_HOME/Trash/info" \
           "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  "$WINE_LOADER" wineboot --init >/dev/null 2>&1
  "$WINESERVER" -w
  # Managed=N: no window manager runs under Xvfb, and Wine would wait two seconds for
  # one each time a shown window is hidden or destroyed. GlobalFlag 0x70 gives the
  # program a heap that fills what it frees, so a use after free in any end-to-end run
  # faults at once instead of reading memory that happens to be intact.
  local reg="$WINE_HOME/tapestrel.reg"
  cat > "$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\Drivers]
"Graphics"="x11,null"

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CLASSES_ROOT\.txt]
@="txtfile"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\Image File Execution Options\Tapestrel.exe]
"GlobalFlag"=dword:00000070
REG
  "$WINE_LOADER" regedit /S "$reg" >/dev/null 2>&1
  "$WINESERVER" -w
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  touch "$WINEPREFIX/.tapestrel-ready"
}
