# Sourced by the scripts: the environment in which the program and its tests run under Wine.
# Expects ROOT to be the repository's top folder.
#
# QDX_WINE_ARCH says which Wine runs the Windows programs: win32 (the 32-bit QDX.exe) where this
# machine can run 32-bit programs, win64 (a 64-bit build of the same sources) where it cannot.
# scripts/wine-arch.sh decides unless it is set; a caller may also set it to force one.
QDX_WINE_ARCH=$("$ROOT/scripts/wine-arch.sh") || return 1
export QDX_WINE_ARCH
if [ "$QDX_WINE_ARCH" = win64 ]; then
  # The `wine` command prefers the 32-bit loader whenever it is installed: call the 64-bit
  # loader and server from Wine's library folder directly.
  export WINEPREFIX="${QDX_WINEPREFIX:-$ROOT/build/wineprefix64}"
  export WINEARCH=win64
  export WINELOADER=/usr/lib/wine/wine64
  export WINESERVER=/usr/lib/wine/wineserver64
  QDX_WINE_LOADER=$WINELOADER
  QDX_WINE_SERVER=$WINESERVER
  QDX_WINDOWS_BUILD=win64
  QDX_WINDOWS_BIN="$ROOT/build/bin64"
else
  export WINEPREFIX="${QDX_WINEPREFIX:-$ROOT/build/wineprefix}"
  export WINEARCH=win32
  QDX_WINE_LOADER=wine
  QDX_WINE_SERVER=wineserver
  QDX_WINDOWS_BUILD=win32
  QDX_WINDOWS_BIN="$ROOT/build/bin"
fi
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Code page 932 comes from the Japanese locale.
export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8

# The Wine loader and server of the chosen architecture.
qdx_wine() { "$QDX_WINE_LOADER" "$@"; }
qdx_wineserver() { "$QDX_WINE_SERVER" "$@"; }

qdx_start_display() {
  # Uses the display that is there; otherwise starts a virtual one and remembers its pid.
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n=91
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  QDX_XVFB_PID=$!
  export DISPLAY=":$n"
  local i
  for i in $(seq 1 50); do
    [ -e "/tmp/.X11-unix/X$n" ] && return 0
    sleep 0.1
  done
  echo "could not start Xvfb" >&2
  return 1
}

qdx_stop_display() {
  if [ -n "${QDX_XVFB_PID:-}" ]; then
    kill "$QDX_XVFB_PID" 2>/dev/null
    wait "$QDX_XVFB_PID" 2>/dev/null
    QDX_XVFB_PID=
  fi
}

# The prefix's set-up has a version, kept in its marker file: a prefix made by an older version
# gets the later steps once, without being made again.
QDX_PREFIX_VERSION=2

qdx_ensure_prefix() {
  # Created once, before any test runs: concurrent first starts of Wine fail.
  if [ -f "$WINEPREFIX/.qdx-ready" ]; then
    qdx_update_prefix
    return 0
  fi
  echo "wine: creating the prefix $WINEPREFIX (once, about 15 s)"
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  qdx_wine wineboot -i >/dev/null 2>&1 || true
  qdx_wineserver -w || true
  # The interface's Japanese faces are mapped to the IPA fonts.
  local f
  for f in "ＭＳ 明朝" "ＭＳ　明朝" "MS Mincho"; do
    qdx_wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$f" /d "IPAMincho" /f >/dev/null 2>&1 || true
  done
  for f in "ＭＳ P明朝" "ＭＳ Ｐ明朝" "MS PMincho"; do
    qdx_wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$f" /d "IPAPMincho" /f >/dev/null 2>&1 || true
  done
  for f in "ＭＳ ゴシック" "ＭＳ Ｐゴシック" "MS Gothic" "MS PGothic" "MS UI Gothic" "MS Shell Dlg"; do
    qdx_wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$f" /d "IPAGothic" /f >/dev/null 2>&1 || true
  done
  # One virtual desktop holds every window: without a window manager, X11 top-level windows
  # make Wine wait seconds for each withdrawal; inside the desktop there is no such wait.
  qdx_wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 || true
  qdx_wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1 || true
  # Programs under these names see Windows XP (version code 9); everything else Windows 7.
  for f in QDX_xp.exe qdx_win32_xp_tests.exe; do
    qdx_wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$f" /v Version /d winxp /f >/dev/null 2>&1 || true
  done
  qdx_wineserver -w || true
  echo 1 >"$WINEPREFIX/.qdx-ready"
  qdx_update_prefix
}

# Brings a prefix made by an older set-up up to QDX_PREFIX_VERSION.
qdx_update_prefix() {
  local version
  version=$(tr -dc 0-9 <"$WINEPREFIX/.qdx-ready")
  if [ "${version:-1}" -lt 2 ]; then
    # Every Windows maps .exe to the type exefile, whose icon is the program's own; Wine's
    # prefix has the type but not the mapping, so the shell gave every program the generic
    # document icon.
    qdx_wine reg add 'HKCR\.exe' /ve /d exefile /f >/dev/null 2>&1 || true
    qdx_wineserver -w || true
    echo "$QDX_PREFIX_VERSION" >"$WINEPREFIX/.qdx-ready"
  fi
}

qdx_start_wine() {
  # One persistent server for the run; its helper processes (services, the desktop) are
  # started here with their output sent away, so they never hold a test runner's pipe open.
  # A server left from an earlier run may hold a desktop on another display: end it first.
  qdx_wineserver -k >/dev/null 2>&1 || true
  qdx_wineserver -w >/dev/null 2>&1 || true
  qdx_wineserver -p >/dev/null 2>&1 || true
  qdx_wine cmd /c exit >/dev/null 2>&1 || true
  qdx_wine explorer.exe /desktop=Default,1280x1024 >/dev/null 2>&1 &
  sleep 1
}

qdx_stop_wine() {
  qdx_wineserver -k >/dev/null 2>&1 || true
  qdx_wineserver -w >/dev/null 2>&1 || true
}
