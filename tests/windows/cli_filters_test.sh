#!/usr/bin/env bash
# The filters of hoshizora-cli.exe under Wine give the very bytes the Linux
# build gives: standard input and output are binary, so a 0x1A byte does not
# end the input and LF stays LF; a file gets control characters as they are;
# encode names on stderr what it cannot key, with status 0. The help speaks
# of the console's stops, not of signals, and every command has its own.
#   cli_filters_test.sh LINUX_CLI WINDOWS_CLI WINE_PREFIX
set -euo pipefail
linux_cli=$1
windows_cli=$2
prefix=$3
here=$(dirname "$(realpath "$0")")
wine_run="$here/../../scripts/wine-run"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "cli_filters_test: $*" >&2
  exit 1
}

printf '[ホレ]ア\x1aイ[ラタ]' >"$work/eof-byte.txt"
printf '[ホレ]ア\nイ\r\nウ\rエ\x00\x1b[2J\x0c漢\xf0\xa0\x80\x8b\xe2\x80\xae[ラタ]\n' >"$work/controls.txt"
{
  printf '[ホレ]'
  for _ in $(seq 65); do printf 'カ'; done
  printf '[ラタ]\r\n'
} >"$work/group-mark.txt"

compared=0
for input in "$work"/*.txt; do
  for command in mark encode; do
    linux_status=0
    windows_status=0
    "$linux_cli" "$command" <"$input" >"$work/linux.out" 2>"$work/linux.err" || linux_status=$?
    "$wine_run" "$prefix" "$windows_cli" "$command" <"$input" >"$work/windows.out" \
      2>"$work/windows.err" || windows_status=$?
    name="$command < $(basename "$input")"
    [ "$linux_status" -eq 0 ] && [ "$windows_status" -eq 0 ] ||
      fail "$name: exit $linux_status on Linux, $windows_status on Windows"
    cmp -s "$work/linux.out" "$work/windows.out" ||
      fail "$name: stdout differs: $(od -c "$work/windows.out" | head -5)"
    # stderr is the console's, in text mode: its line ends may differ.
    diff <(tr -d '\r' <"$work/linux.err") <(tr -d '\r' <"$work/windows.err") >/dev/null ||
      fail "$name: stderr differs: $(cat "$work/windows.err")"
    if [ "$name" = "encode < controls.txt" ]; then
      grep -q 'no Morse code for' "$work/windows.err" || fail "$name named nothing it left out"
    fi
    compared=$((compared + 1))
  done
done

"$wine_run" "$prefix" "$windows_cli" --help >"$work/help.txt"
grep -q 'Ctrl-Break' "$work/help.txt" || fail "--help does not speak of Ctrl-Break"
! grep -q 'SIG' "$work/help.txt" || fail "--help speaks of signals"
for command in output practice encode mark; do
  "$wine_run" "$prefix" "$windows_cli" "$command" --help </dev/null >"$work/help.txt" ||
    fail "$command --help failed"
  grep -q "^Usage: hoshizora-cli $command " "$work/help.txt" || fail "$command --help: no usage"
done

# The language follows the user's display language, which Wine takes from the
# locale it is started in.
LC_ALL=ja_JP.UTF-8 "$wine_run" "$prefix" "$windows_cli" check --help </dev/null 2>/dev/null \
  >"$work/help.txt" || fail "check --help failed in Japanese"
grep -q "^使い方: hoshizora-cli check " "$work/help.txt" || fail "a Japanese display language gets no Japanese"
LC_ALL=C.UTF-8 "$wine_run" "$prefix" "$windows_cli" frobnicate </dev/null 2>"$work/err.txt" &&
  fail "an unknown command was taken"
grep -q "unknown command 'frobnicate'" "$work/err.txt" || fail "an English display language gets no English"

echo "filters: $compared runs byte for byte equal to Linux's; --help speaks of the console and the user's language"
