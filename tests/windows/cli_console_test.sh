#!/usr/bin/env bash
# Ctrl-C reaches hoshizora-cli.exe under Wine as the console's Ctrl-C event.
# During an output run it must stop the run the way it does on Linux: the
# encoder ended, its partial MP3 removed, the whole WAV kept, exit 130.
# While a command waits for its input, Ctrl-C must end the program at once.
# Standard output that cannot be written is a failure, never a success.
#   cli_console_test.sh WINDOWS_CLI STAND_IN_ENCODER WINE_PREFIX
set -euo pipefail
windows_cli=$1
stand_in=$2
prefix=$3
here=$(dirname "$(realpath "$0")")
wine_run="$here/../../scripts/wine-run"

work=$(mktemp -d)
trap 'pkill -KILL -f "$work" 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/program" "$work/out"
cp "$windows_cli" "$work/program/hoshizora-cli.exe"
cp "$stand_in" "$work/program/lame.exe"
echo hang >"$work/program/lame.mode"

fail() {
  echo "cli_console_test: $*" >&2
  exit 1
}

# Waits up to $1 seconds for the command $2... to succeed.
wait_for() {
  local limit=$(($1 * 10))
  shift
  for ((i = 0; i < limit; i++)); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# Background jobs of a script start with SIGINT ignored; Ctrl-C must get through.
env --default-signal=INT "$wine_run" "$prefix" "$work/program/hoshizora-cli.exe" output \
  --out "$work/out" --cpm 200 >"$work/stdout" 2>"$work/stderr" &
runner=$!
growing_mp3() { [ -n "$(find "$work/out" -name '*.mp3' -size +1c 2>/dev/null)" ]; }
wait_for 120 growing_mp3 || fail "the encoder never started"
cli_pid=$(pgrep -f "$work/program/hoshizora-cli.exe" | head -1)
[ -n "$cli_pid" ] || fail "no hoshizora-cli.exe process"
kill -INT "$cli_pid"
status=0
wait "$runner" || status=$?
[ "$status" -eq 130 ] || fail "exit $status after Ctrl-C, expected 130: $(tail -3 "$work/stderr")"
encoder_gone() { ! pgrep -f "$work/program/lame.exe" >/dev/null; }
wait_for 10 encoder_gone || fail "the encoder still runs"
folder=$(find "$work/out" -mindepth 1 -maxdepth 1 -type d)
wav=$(find "$folder" -name '*.wav')
[ -n "$wav" ] || fail "the WAV is gone"
data_bytes=$(od -An -t u4 -j 40 -N 4 "$wav" | tr -d ' ')
[ "$data_bytes" -eq $(($(stat -c %s "$wav") - 44)) ] || fail "the WAV's header lies"
leftovers=$(find "$folder" -name '*.mp3' -o -name '.*')
[ -z "$leftovers" ] || fail "left behind: $leftovers"

# `encode` waiting on a pipe that never ends.
mkfifo "$work/input"
exec 7<>"$work/input"
env --default-signal=INT "$wine_run" "$prefix" "$work/program/hoshizora-cli.exe" encode \
  <"$work/input" >/dev/null 2>&1 &
runner=$!
started() { pgrep -f "$work/program/hoshizora-cli.exe" >/dev/null; }
wait_for 60 started || fail "encode never started"
sleep 1
kill -INT "$(pgrep -f "$work/program/hoshizora-cli.exe" | head -1)"
ended() { ! kill -0 "$runner" 2>/dev/null; }
wait_for 10 ended || fail "encode waiting for input did not end on Ctrl-C"
exec 7>&-

status=0
"$wine_run" "$prefix" "$work/program/hoshizora-cli.exe" --version >/dev/full 2>"$work/stderr" ||
  status=$?
[ "$status" -eq 1 ] || fail "exit $status with standard output on /dev/full, expected 1"
grep -q 'cannot write to standard output' "$work/stderr" || fail "no message for the lost output"

echo "console: Ctrl-C stopped the run with its WAV whole and its encoder ended;" \
  "waiting input ended at once; lost standard output failed"
