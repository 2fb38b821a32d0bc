# Shared helpers of the Tarnwell scripts. Sourced, never run.

TOP=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$TOP/build"
WINE_BASE="$BUILD/wine/base"

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

say() { printf '%s\n' "$*" >&2; }
die() { say "error: $*"; exit 1; }

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

# A private Wine prefix and server socket folder for one run; the caller removes it.
# Usage: new_prefix DIR  -> sets WINEPREFIX and TMPDIR
new_prefix() {
  local dir=$1
  ensure_wine_base
  rm -rf "$dir"
  mkdir -p "$dir"
  cp -a "$WINE_BASE/prefix" "$dir/prefix"
  mkdir -p "$dir/tmp"
  export WINEPREFIX="$dir/prefix" TMPDIR="$dir/tmp"
}

end_prefix() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
  fi
}

# One booted prefix that every run copies. Top-level windows are unmanaged so that closing
# one does not wait for a window manager that is not there.
ensure_wine_base() {
  [ -f "$WINE_BASE/stamp" ] && return 0
  say "Creating the base Wine prefix (once)..."
  rm -rf "$WINE_BASE"
  mkdir -p "$WINE_BASE/tmp"
  (
    export WINEPREFIX="$WINE_BASE/prefix" TMPDIR="$WINE_BASE/tmp"
    wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    wineserver -w
  ) || die "wineboot failed"
  [ -f "$WINE_BASE/prefix/system.reg" ] || die "wineboot made no registry"
  touch "$WINE_BASE/stamp"
}

# Starts a private Xvfb and exports DISPLAY; XVFB_PID is for stop_xvfb.
start_xvfb() {
  local fifo="$1/xvfb.fd" display=""
  rm -f "$fifo"
  mkfifo "$fifo"
  Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp 9>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  # Xvfb writes the number and the newline separately; keep the descriptor open.
  exec 8<"$fifo"
  read -r -t 20 display <&8 || die "Xvfb did not start"
  rm -f "$fifo"
  export DISPLAY=":$display"
}

stop_xvfb() {
  if [ -n "${XVFB_PID:-}" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    exec 8<&- || true
    XVFB_PID=
  fi
}

configure_and_build() {
  local preset=$1
  shift
  if [ ! -f "$BUILD/$preset/build.ninja" ]; then
    cmake --preset "$preset" >/dev/null || die "configure of $preset failed"
  fi
  cmake --build --preset "$preset" "$@" || die "build of $preset failed"
}
