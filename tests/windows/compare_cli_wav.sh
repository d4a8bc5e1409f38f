#!/usr/bin/env bash
# Runs `hoshizora-cli output` on a fixed telegram with the Linux build and,
# under Wine, with the Windows build, and compares the two WAV files: the
# header and the sample count must be equal, and every sample equal or off by
# one, where the two C libraries' sin() round differently. Prints how many
# samples differ.
#   compare_cli_wav.sh LINUX_CLI WINDOWS_CLI WINE_PREFIX
set -euo pipefail
linux_cli=$1
windows_cli=$2
prefix=$3
here=$(dirname "$(realpath "$0")")
telegram="$here/fixed_telegram.txt"
wine_run="$here/../../scripts/wine-run"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Each program runs from a folder of its own without an encoder beside it,
# so the WAV stays; its settings are given as flags.
mkdir -p "$work/linux/program" "$work/linux/out" "$work/windows/program" "$work/windows/out"
cp "$linux_cli" "$work/linux/program/"
cp "$windows_cli" "$work/windows/program/"
flags=(--freq 700 --cpm 120)

# The pictures need the form template, which is not there: exit 1 is expected.
status=0
"$work/linux/program/$(basename "$linux_cli")" output "$telegram" --out "$work/linux/out" \
  "${flags[@]}" >/dev/null 2>&1 || status=$?
[ "$status" -le 1 ] || { echo "Linux hoshizora-cli failed ($status)" >&2; exit 1; }
status=0
"$wine_run" "$prefix" "$work/windows/program/$(basename "$windows_cli")" output "$telegram" \
  --out "$work/windows/out" "${flags[@]}" >/dev/null 2>&1 || status=$?
[ "$status" -le 1 ] || { echo "Windows hoshizora-cli failed ($status)" >&2; exit 1; }

linux_wav=$(find "$work/linux/out" -name '*.wav')
windows_wav=$(find "$work/windows/out" -name '*.wav')
[ -n "$linux_wav" ] || { echo "no WAV from Linux" >&2; exit 1; }
[ -n "$windows_wav" ] || { echo "no WAV from Windows" >&2; exit 1; }

if ! cmp -s <(head -c 44 "$linux_wav") <(head -c 44 "$windows_wav"); then
  echo "WAV headers differ" >&2
  exit 1
fi
linux_size=$(stat -c %s "$linux_wav")
windows_size=$(stat -c %s "$windows_wav")
if [ "$linux_size" -ne "$windows_size" ]; then
  echo "WAV sizes differ: $linux_size and $windows_size bytes" >&2
  exit 1
fi

samples=$(((linux_size - 44) / 2))
paste -d ' ' <(od -An -v -w2 -t d2 -j 44 "$linux_wav") <(od -An -v -w2 -t d2 -j 44 "$windows_wav") |
  awk -v samples="$samples" '
    { d = $1 - $2; if (d < 0) d = -d; if (d > 0) differ++; if (d > worst) worst = d }
    END {
      printf "WAV: %d samples, header equal, %d samples differ (largest difference %d)\n",
             samples, differ, worst
      exit worst > 1
    }'
