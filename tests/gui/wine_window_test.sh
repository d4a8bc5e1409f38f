#!/usr/bin/env bash
# Drives hoshizora.exe under Wine in a virtual X server, as a user would:
#   wine_window_test.sh PROGRAM_DIR PREFIX [SHOTS_DIR]
# PROGRAM_DIR holds hoshizora.exe and its side files; they are copied to a
# fresh folder, so the run's output and settings land there. PREFIX is a Wine
# prefix of this test's own (made by scripts/wine-prefix when missing), as the
# program's windows need a display that the other tests' prefix does not have.
# SHOTS_DIR, when given, receives screenshots of the dialog and of the
# completion message.
#
#   wine_window_test.sh --run PREFIX PROGRAM [ARGS...]
# runs another Windows program that makes windows (the window's unit tests)
# the same way, and exits with its status.
set -euo pipefail

mode=drive
if [ "${1:-}" = "--run" ]; then
  mode=run
  shift
  prefix=$(realpath -m "$1")
  program=$(realpath "$2")
  shift 2
  tools=(wine Xvfb)
else
  program_dir=$(realpath "$1")
  prefix=$(realpath -m "$2")
  shots=${3:+$(realpath -m "$3")}
  tools=(wine Xvfb matchbox-window-manager xdotool)
fi
scripts=$(realpath "$(dirname "$0")/../../scripts")

for tool in "${tools[@]}"; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed" >&2; exit 77; }
done

export WINEPREFIX="$prefix" WINEDEBUG=-all WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -e "$prefix/.hoshizora-ready" ]; then
  "$scripts/wine-prefix" "$prefix" </dev/null >/dev/null 2>&1
fi
# Windows on the X server, whatever graphics driver the prefix was made with.
if [ ! -e "$prefix/.hoshizora-x11" ]; then
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d x11 /f </dev/null >/dev/null 2>&1
  wineserver --wait
  touch "$prefix/.hoshizora-x11"
fi

work=$(mktemp -d)
xvfb_pid=""
wm_pid=""
wine_pid=""
cleanup() {
  [ -n "$wine_pid" ] && kill "$wine_pid" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  if [ -n "${shots:-}" ] && command -v import >/dev/null; then
    import -window root "$shots/failure.png" 2>/dev/null || true
  fi
  exit 1
}

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$work/display")"
# Wine's helper processes start with the first program and keep its output
# open; started here with none, they cannot hold a caller's pipe.
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

if [ "$mode" = run ]; then
  status=0
  wine "$program" "$@" </dev/null || status=$?
  exit "$status"
fi

matchbox-window-manager -use_titlebar yes >/dev/null 2>&1 &
wm_pid=$!

# Waits up to $1 seconds for a visible window whose name matches $2; prints its id.
wait_window() {
  local deadline=$((SECONDS + $1)) id
  while [ "$SECONDS" -lt "$deadline" ]; do
    id=$(xdotool search --onlyvisible --name "$2" 2>/dev/null | head -n 1 || true)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.5
  done
  return 1
}

shoot() {
  if [ -n "$shots" ] && command -v import >/dev/null; then
    mkdir -p "$shots"
    import -window root "$shots/$1" 2>/dev/null || true
  fi
}

run="$work/program"
mkdir -p "$run"
cp "$program_dir/hoshizora.exe" "$run/"
for side in app.ico 和文電報受信用紙.jpg; do
  if [ -e "$program_dir/$side" ]; then
    cp "$program_dir/$side" "$run/"
  fi
done
# Out-of-range tone settings, the folder option off (it would open a file
# browser over the dialog) and a section of someone else's to keep.
printf '[Other]\r\nKeep=yes\r\n[General]\r\nFreqHz=5000\r\nCpm=5\r\nOpenWabunDir=0\r\n' \
  >"$run/settings.ini"

(cd "$run" && exec wine "$run/hoshizora.exe") >"$work/wine.log" 2>&1 &
wine_pid=$!

main=$(wait_window 90 '^Hoshizora') || fail "no window titled Hoshizora appeared"
echo "window $main: $(xdotool getwindowname "$main")"
sleep 1
shoot dialog.png

# Enter on the output button, where the focus starts.
xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus --sync "$main"
xdotool key --clearmodifiers Return
if ! done_box=$(wait_window 120 '^完了$'); then
  if wait_window 1 '^エラー$' >/dev/null; then
    fail "the run ended with an error message"
  fi
  fail "no 完了 message after Enter"
fi
sleep 0.5
shoot done.png

folders=("$run"/和文電報_*)
[ "${#folders[@]}" -eq 1 ] && [ -d "${folders[0]}" ] ||
  fail "expected one output folder, found: ${folders[*]}"
name=$(basename "${folders[0]}")
[[ "$name" =~ ^和文電報_[0-9]{8}_[0-9]{6}$ ]] || fail "output folder name $name"
[ -s "${folders[0]}/$name.wav" ] || [ -s "${folders[0]}/$name.mp3" ] || fail "no audio in $name"
[ -s "${folders[0]}/$name.jpg" ] || fail "no listing picture in $name"
echo "output folder $name: $(cd "${folders[0]}" && ls | tr '\n' ' ')"

# OK closes the message; Esc then closes the dialog, which saves the settings.
xdotool windowactivate --sync "$done_box" 2>/dev/null || xdotool windowfocus --sync "$done_box"
xdotool key --clearmodifiers Return
for _ in $(seq 20); do
  xdotool search --onlyvisible --name '^完了$' >/dev/null 2>&1 || break
  sleep 0.5
done
xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus --sync "$main"
xdotool key --clearmodifiers Escape

for _ in $(seq 60); do
  kill -0 "$wine_pid" 2>/dev/null || break
  sleep 0.5
done
if kill -0 "$wine_pid" 2>/dev/null; then
  fail "the program did not end after Esc"
fi
wait "$wine_pid" || fail "the program's exit status was $?"
wine_pid=""

settings=$(tr -d '\r' <"$run/settings.ini")
echo "settings.ini:"
echo "$settings"
for line in '[Other]' 'Keep=yes' '[General]' 'FreqHz=2000' 'Cpm=20' 'OpenAudio=0' \
  'OpenTextJpg=0' 'OpenWabunDir=0'; do
  grep -qxF "$line" <<<"$settings" || fail "settings.ini lacks $line"
done
echo "PASS"
