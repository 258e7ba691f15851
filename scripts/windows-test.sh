#!/bin/sh
# Runs the Windows build under Wine (make windows-test):
#   1. every test of the Windows build (the core's suites that need no pty,
#      the Win32 front end's, the check of the programs' imported DLLs);
#   2. valvescope-cli.exe, unpacked from the zip, against qx4-sim on a pty
#      that the prefix maps to COM5 (tests/integration/cli_under_wine_test);
#   3. valvescope.exe, unpacked from the zip, on the Xvfb screen against
#      qx4-sim on COM5, driven by win32_gui_driver.exe
#      (tests/integration/gui_under_wine_test), its main window and dialogs
#      saved in WINDOWS_DIR/screenshots for a person to look at.
# With --bench it runs the Windows benchmarks instead (make windows-bench):
# the repaint through GdiCanvas, and what polling costs valvescope.exe under
# Wine beside the Linux program.
# One Wine prefix, made on the first run and kept in WINDOWS_DIR/wine, serves
# everything; its server stays up meanwhile, so that each program starts in a
# fraction of a second. An Xvfb display is up for programs with windows.
# Usage: windows-test.sh [--bench] [WINDOWS_DIR] [LINUX_DIR]
set -eu
cd "$(dirname "$0")/.."
bench=""
if [ "${1:-}" = --bench ]; then
  bench=yes
  shift
fi
WINDOWS_DIR=$(realpath "${1:-build-mingw}")
LINUX_DIR=$(realpath "${2:-build}")
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
started=$(date +%s)

export WINEPREFIX="$WINDOWS_DIR/wine"
export WINEDEBUG=-all
# Arguments and environment reach the programs as UTF-8 (a data folder under
# a user name like Jörg).
export LC_ALL=C.UTF-8
# No .NET or browser engine: the prefix would otherwise offer to download them.
export WINEDLLOVERRIDES="mscoree,mshtml="

work=$(mktemp -d)
xvfb_pid=""
finish() {
  "$WINESERVER" -k 2> /dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null
  rm -rf "$work"
}
trap finish EXIT

# Xvfb picks a free display and says which.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3> "$work/display" 2> "$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { cat "$work/xvfb.log"; echo "windows-test: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(cat "$work/display")"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "windows-test: making the Wine prefix $WINEPREFIX"
  "$WINE" wineboot -i
fi
"$WINESERVER" -w   # wineboot has finished its work
# The server stays up until the end. It takes each COM5 pty as its
# controlling terminal, and dumps its objects to standard error at every
# hang-up when a test's simulator leaves: not for this log.
# Started before any program, which would start a passing one of its own.
"$WINESERVER" -p 2> /dev/null
# No window manager runs on the Xvfb screen: Wine draws the windows' frames
# and captions itself and maximizes them, as Windows does.
"$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f > /dev/null 2>&1
# The first program starts the prefix's services, which keep its standard
# output open for as long as they run: let that be /dev/null, not a pipe that
# a test runner waits on.
"$WINE" cmd /c exit < /dev/null > /dev/null 2>&1
prefix_ready=$(date +%s)

if [ -n "$bench" ]; then
  "$WINE" "$WINDOWS_DIR/bench/app_repaint_win32_bench.exe"
  VALVESCOPE_EXE="$WINDOWS_DIR/bin/valvescope.exe" \
  WIN32_GUI_DRIVER_EXE="$WINDOWS_DIR/tests/win32/win32_gui_driver.exe" \
  VS_XVFB_PID="$xvfb_pid" \
    "$LINUX_DIR/bench/app_program_wine_bench"
  exit 0
fi

ctest --test-dir "$WINDOWS_DIR" -j2 --output-on-failure | tee "$work/ctest.log" | grep -v "^ *Start \|Passed" || true
grep -q "100% tests passed" "$work/ctest.log"
core_done=$(date +%s)

zip=$(ls "$WINDOWS_DIR"/valvescope-*-win64.zip)
(cd "$work" && cmake -E tar xf "$zip")
VALVESCOPE_CLI_EXE=$(ls "$work"/valvescope-*-win64/valvescope-cli.exe) \
  "$LINUX_DIR/tests/integration/cli_under_wine_test"
cli_done=$(date +%s)

VALVESCOPE_EXE=$(ls "$work"/valvescope-*-win64/valvescope.exe) \
WIN32_GUI_DRIVER_EXE="$WINDOWS_DIR/tests/win32/win32_gui_driver.exe" \
VS_SCREENSHOT_DIR="$WINDOWS_DIR/screenshots" \
  "$LINUX_DIR/tests/integration/gui_under_wine_test"
gui_done=$(date +%s)

echo "windows-test: prefix ready in $((prefix_ready - started)) s," \
     "tests under Wine in $((core_done - prefix_ready)) s," \
     "valvescope-cli.exe against qx4-sim in $((cli_done - core_done)) s," \
     "valvescope.exe against qx4-sim in $((gui_done - cli_done)) s;" \
     "screenshots in $WINDOWS_DIR/screenshots"
