#!/usr/bin/env bash
# Prints a digest of every file one sample run writes, with the clock fixed and
# no encoder, so two builds can be compared byte for byte:
#   tools/output_digest.sh OLD/hoshizora-cli > old.txt
#   tools/output_digest.sh build/dev/program/hoshizora-cli | diff old.txt -
set -euo pipefail
cli=$(realpath "$1")
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# time() always answers 2023-11-14 22:13:20 UTC.
cat > "$work/fixed_time.c" <<'C'
#include <time.h>
time_t time(time_t* t) { if (t) *t = 1700000000; return 1700000000; }
C
cc -shared -fPIC -o "$work/fixed_time.so" "$work/fixed_time.c"

# The listing's header names the output path: it must be the same every time.
out=/tmp/hoshizora-output-digest
rm -rf "$out"
mkdir "$work/program" "$out"
cp "$cli" "$work/program/hoshizora-cli"
cp "$here/assets/和文電報受信用紙.jpg" "$work/program/"
TZ=UTC LD_PRELOAD="$work/fixed_time.so" "$work/program/hoshizora-cli" output --out "$out" >/dev/null
(cd "$out" && find . -type f | sort | xargs sha256sum)
rm -rf "$out"
