#!/usr/bin/env bash
# Times whole output runs of hoshizora-cli (release build) as processes:
# the sample telegram and a 4095-character body, with and without the
# encoder, and the encoder alone on the same WAV for comparison.
# Usage: bench/output_bench.sh [RUNS]   (after: cmake --build --preset release)
set -euo pipefail
export LC_ALL=C.UTF-8
cd "$(dirname "$0")/.."
runs="${1:-3}"
program="$PWD/build/release/program"
[ -x "$program/hoshizora-cli" ] || { echo "build the release preset first" >&2; exit 2; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Program folders of our own: one without an encoder, one with the system lame.
for kind in plain encoder; do
  mkdir -p "$work/$kind/out"
  cp "$program/hoshizora-cli" "$program/和文電報受信用紙.jpg" "$work/$kind/"
done
ln -s /usr/bin/lame "$work/encoder/lame"

# A telegram whose body fills the field: 4095 characters between the signs.
sample='ハルカナヤマナミニカカルユウグレノクモ」（アカネイロニソマルソラ）ハ、ヒトビトノムネニヌクモリヲトドケル」ヒトハイソガシクモ、ソノヒトトキノウツクシサヲミオトシテハナラナイ」イノチノナガレハタエズ、ソノナカデモココロノヨリドコロヲミツケルコトガダイジ」'
inner=''
while [ "${#inner}" -lt 4087 ]; do inner="$inner$sample"; done
inner="${inner:0:4087}"
printf '\xEF\xBB\xBF[VALA]四〇八七\n[VALB]一二\n[VALC]三四\n[VALD]コ12,34\n[VALE]ミドリケン」ハナシ」ヤマノ サクラ」\n[TEXT]\n[ホレ]%s[ラタ]\n' "$inner" > "$work/long.txt"

# Runs a command $runs times; prints the best wall time and the largest peak RSS.
measure() {
  local label="$1"; shift
  local best="" peak=0
  for _ in $(seq "$runs"); do
    /usr/bin/time -f '%e %M' -o "$work/time" "$@" >/dev/null 2>&1 || true
    read -r wall rss < "$work/time"
    if [ -z "$best" ] || awk "BEGIN{exit !($wall < $best)}"; then best="$wall"; fi
    if [ "$rss" -gt "$peak" ]; then peak="$rss"; fi
  done
  printf '%-44s %8.2f s wall  %7d KiB peak\n' "$label" "$best" "$peak"
}

measure "sample telegram, no encoder" "$work/plain/hoshizora-cli" output --out "$work/plain/out"
measure "sample telegram, with encoder" "$work/encoder/hoshizora-cli" output --out "$work/encoder/out"
measure "4095-character body, no encoder" "$work/plain/hoshizora-cli" output "$work/long.txt" --out "$work/plain/out"
measure "4095-character body, with encoder" "$work/encoder/hoshizora-cli" output "$work/long.txt" --out "$work/encoder/out"
wav="$(find "$work/plain/out" -name '*.wav' -size +100M | head -n 1)"
measure "encoder alone on the 4095-character WAV" /usr/bin/lame "$wav" "$work/alone.mp3"
