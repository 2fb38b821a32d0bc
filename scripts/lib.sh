# Shared helpers of the Tarnwell scripts. Sourced, never run.

TOP=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$TOP/build"
WINE_BASE="$BUILD/wine/base"

export WINEDEBUG=-all
# winemenubuilder would turn Start-menu shortcuts into menu entries of the Linux desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

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

# Whether Wine's 32-bit side is installed: with it a 64-bit prefix runs 32-bit programs
# under WOW64, as 64-bit Windows does.
wine32_installed() {
  dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed' &&
    [ -x /usr/lib/wine/wine ]
}
# And whether it runs: a Linux kernel may have its 32-bit emulation turned off ("Exec format
# error"), and then every "wine" command fails while the 32-bit side is installed.
has_wine32() { wine32_installed && /usr/lib/wine/wine --version >/dev/null 2>&1; }
# Whether the kernel refuses 32-bit programs, where the 32-bit loader is there to ask.
refuses_32bit() { [ -x /lib/ld-linux.so.2 ] && ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; }

# One booted prefix that every run copies. Top-level windows are unmanaged so that closing
# one does not wait for a window manager that is not there. Wine links the user's Desktop,
# Documents and the like to the Unix home folder; the prefix gets folders of its own
# instead, so that no run reads or writes the machine's home, and the shell's desktop
# holds only what the runs put there. A prefix booted without the 32-bit side lacks its
# system files, so the stamp says which side it was made with.
ensure_wine_base() {
  local kind=wine64
  has_wine32 && kind=wine32
  kind="$kind, own user folders"
  [ "$(cat "$WINE_BASE/stamp" 2>/dev/null)" = "$kind" ] && return 0
  say "Creating the base Wine prefix ($kind; once)..."
  rm -rf "$WINE_BASE"
  mkdir -p "$WINE_BASE/tmp"
  (
    export WINEPREFIX="$WINE_BASE/prefix" TMPDIR="$WINE_BASE/tmp"
    wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    wineserver -w
    local folder
    for folder in "$WINE_BASE"/prefix/drive_c/users/*/*; do
      if [ -L "$folder" ]; then
        rm "$folder" && mkdir "$folder"
      fi
    done
  ) || die "wineboot failed"
  [ -f "$WINE_BASE/prefix/system.reg" ] || die "wineboot made no registry"
  echo "$kind" >"$WINE_BASE/stamp"
}

# A Unix path as Wine's Z: drive names it.
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# Imports a .reg file into the prefix of WINEPREFIX. The files name keys as the 64-bit view
# sees them (a 32-bit Office's under Wow6432Node); with Wine's 32-bit side installed,
# "wine reg" is the 32-bit reg.exe, which would move HKLM\Software keys into the Wow6432Node
# branch unless told the view. It exits 0 even when it skipped lines, so every key of the
# file is looked for afterwards.
import_reg() {
  local file=$1 key
  wine reg import "$(winpath "$file")" /reg:64 >/dev/null 2>&1 || die "could not import $file"
  while IFS= read -r key; do
    wine reg query "$key" /reg:64 >/dev/null 2>&1 || die "$file: $key was not imported"
  done < <(grep -o '^\[[^]]*\]' "$file" | tr -d '[]\r')
}

# The build that users get is the 32-bit one; without Wine's 32-bit side only its 64-bit
# twin can run.
program_build() {
  if has_wine32; then echo win32; else echo win64; fi
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
