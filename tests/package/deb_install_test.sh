#!/usr/bin/env bash
# pass only prints, so "test && pass || fail" is if-then-else here.
# shellcheck disable=SC2015
# Checks a built Hoshizora package from the outside, as a user's machine sees it.
#
#   tests/package/deb_install_test.sh [--run] build/release/packages/hoshizora_VERSION_amd64.deb
#
# Always: lintian (no error, no warning), the file list, the control fields,
# the icon sizes, desktop-file-validate and appstreamcli validate.
# With --run (as scripts/package does): extracts the package into a read-only
# root and runs its hoshizora-cli there with a temporary home, as an installed
# copy: its folders must go into the current directory, its settings come from
# the XDG config folder, and nothing may change under the root.
set -euo pipefail

run=0
if [ "${1:-}" = "--run" ]; then
  run=1
  shift
fi
if [ "$#" -ne 1 ] || [ ! -f "$1" ]; then
  echo "usage: $0 [--run] PACKAGE.deb" >&2
  exit 2
fi
deb=$(realpath "$1")

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
pass() {
  echo "ok: $*"
}

tmp=$(mktemp -d)
cleanup() {
  chmod -R u+w "$tmp" 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT
chmod 755 "$tmp"

# --- What the package holds -------------------------------------------------

expected_files="./usr/bin/hoshizora
./usr/bin/hoshizora-cli
./usr/share/applications/hoshizora.desktop
./usr/share/doc/hoshizora/changelog.gz
./usr/share/doc/hoshizora/README.ja.md
./usr/share/doc/hoshizora/README.md
./usr/share/doc/hoshizora/copyright
./usr/share/hoshizora/app.ico
./usr/share/hoshizora/和文電報受信用紙.jpg
./usr/share/icons/hicolor/128x128/apps/hoshizora.png
./usr/share/icons/hicolor/16x16/apps/hoshizora.png
./usr/share/icons/hicolor/256x256/apps/hoshizora.png
./usr/share/icons/hicolor/32x32/apps/hoshizora.png
./usr/share/icons/hicolor/48x48/apps/hoshizora.png
./usr/share/icons/hicolor/64x64/apps/hoshizora.png
./usr/share/man/man1/hoshizora-cli.1.gz
./usr/share/man/man1/hoshizora.1.gz
./usr/share/metainfo/io.github.sorairo_works.Hoshizora.metainfo.xml"
# The guides' pictures, whatever the guides show.
for image in "$(dirname "$0")"/../../docs/images/*; do
  expected_files="$expected_files
./usr/share/doc/hoshizora/docs/images/$(basename "$image")"
done
actual_files=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | LC_ALL=C sort)
if [ "$actual_files" = "$(LC_ALL=C sort <<<"$expected_files")" ]; then
  pass "file list"
else
  fail "file list differs:"
  diff <(LC_ALL=C sort <<<"$expected_files") <(echo "$actual_files") >&2 || true
fi

field() { dpkg-deb -f "$deb" "$1"; }
depends=$(field Depends)
for needed in fonts-ipafont-gothic fonts-ipafont-mincho fonts-aoyagi-kouzan-t libqt6gui6 libc6; do
  if [[ ", $depends," == *", $needed"[\ ,]* ]]; then
    pass "Depends: $needed"
  else
    fail "Depends lacks $needed: $depends"
  fi
done
for wanted in lame xdg-user-dirs xdg-utils; do
  [[ "$(field Recommends)" == *"$wanted"* ]] && pass "Recommends: $wanted" ||
    fail "Recommends lacks $wanted"
done
[ "$(field Section)" = hamradio ] && pass "Section" || fail "Section is '$(field Section)'"
[ -n "$(field Maintainer)" ] && pass "Maintainer" || fail "no Maintainer"
case "$(basename "$deb")" in
  hoshizora_"$(field Version)"_amd64.deb) pass "file name" ;;
  *) fail "file name $(basename "$deb") does not follow hoshizora_VERSION_amd64.deb" ;;
esac

dpkg-deb -x "$deb" "$tmp/root"
share="$tmp/root/usr/share"

for size in 16 32 48 64 128 256; do
  icon="$share/icons/hicolor/${size}x${size}/apps/hoshizora.png"
  if file -b "$icon" | grep -q "^PNG image data, $size x $size,"; then
    pass "icon ${size}x${size}"
  else
    fail "icon ${size}x${size}: $(file -b "$icon")"
  fi
done

if grep -qx 'Exec=hoshizora' "$share/applications/hoshizora.desktop"; then
  pass "Exec without field codes"
else
  fail "the desktop entry's Exec is not plain 'hoshizora'"
fi

# --- Checkers -------------------------------------------------------------

if command -v lintian >/dev/null; then
  if lintian --fail-on error,warning "$deb" 2> >(grep -v 'root privileges' >&2); then
    pass "lintian"
  else
    fail "lintian"
  fi
else
  echo "skip: lintian is not installed (scripts/bootstrap --packaging)"
fi

if command -v desktop-file-validate >/dev/null; then
  if desktop-file-validate "$share/applications/hoshizora.desktop"; then
    pass "desktop-file-validate"
  else
    fail "desktop-file-validate"
  fi
else
  echo "skip: desktop-file-validate is not installed (scripts/bootstrap --packaging)"
fi

if command -v appstreamcli >/dev/null; then
  if appstreamcli validate --no-net "$share"/metainfo/*.metainfo.xml >"$tmp/appstream.log" 2>&1; then
    pass "appstreamcli validate"
  else
    cat "$tmp/appstream.log" >&2
    fail "appstreamcli validate"
  fi
else
  echo "skip: appstreamcli is not installed (scripts/bootstrap --packaging)"
fi

# --- The installed command line ---------------------------------------------

if [ "$run" -eq 1 ]; then
  root="$tmp/root"
  home="$tmp/home"
  work="$tmp/work"
  config="$home/config"
  mkdir -p "$home" "$work" "$tmp/elsewhere" "$config/hoshizora" "$tmp/runtime"
  chmod 700 "$tmp/runtime"

  # Root may write anywhere: the programs run as nobody, so that a write
  # under the read-only package root fails instead of passing unseen.
  runner=()
  if [ "$(id -u)" -eq 0 ]; then
    if ! command -v setpriv >/dev/null; then
      fail "running as root without setpriv: cannot drop to an ordinary user"
      exit 1
    fi
    chown -R nobody:nogroup "$home" "$work" "$tmp/elsewhere" "$tmp/runtime"
    runner=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  fi
  chmod -R a-w "$root"
  snapshot() { (cd "$root" && find . -printf '%p %s %T@ %m\n' | LC_ALL=C sort); }
  snapshot >"$tmp/root.before"

  cli() {
    (cd "$work" && env -i PATH=/usr/bin:/bin LANG=C.UTF-8 HOME="$home" \
      XDG_CONFIG_HOME="$config" XDG_DATA_HOME="$home/data" XDG_CACHE_HOME="$home/cache" \
      XDG_STATE_HOME="$home/state" XDG_RUNTIME_DIR="$tmp/runtime" \
      "${runner[@]}" "$root/usr/bin/hoshizora-cli" "$@")
  }
  settings() {
    chmod u+w "$config/hoshizora/settings.ini" 2>/dev/null || true
    printf '[General]\nFreqHz=600\nCpm=%s\n' "$1" >"$config/hoshizora/settings.ini"
  }
  new_folder() { find "$1" -mindepth 1 -maxdepth 1 -type d -name '和文電報_*' -newer "$tmp/marker"; }

  # The speed comes from the settings in the config folder: twice the speed,
  # about half the audio.
  touch "$tmp/start"
  sizes=()
  for cpm in 200 100; do
    settings "$cpm"
    touch "$tmp/marker"
    sleep 1  # a new second, so each run names a folder of its own
    if out=$(cli output 2>"$tmp/stderr"); then
      folder=$(new_folder "$work")
      if [ "$(wc -l <<<"$folder")" -eq 1 ] && [ -n "$folder" ]; then
        pass "cpm $cpm: a folder in the current directory"
        [[ "$out" == *"$folder"* ]] && pass "the summary names $folder" \
          || fail "the summary does not name the folder: $out"
        wav=$(find "$folder" -name '*.wav' | head -1)
        jpgs=$(find "$folder" -name '*.jpg' | wc -l)
        [ "$jpgs" -ge 2 ] && pass "listing and form pages" || fail "$jpgs pictures in $folder"
        sizes+=("$(stat -c %s "$wav")")
      else
        fail "cpm $cpm: expected one new folder in $work, found: $folder"
      fi
    else
      fail "hoshizora-cli output failed: $(cat "$tmp/stderr")"
    fi
  done
  if [ "${#sizes[@]}" -eq 2 ] && [ $((sizes[0] * 4)) -lt $((sizes[1] * 3)) ]; then
    pass "settings read from \$XDG_CONFIG_HOME/hoshizora (${sizes[0]} < ${sizes[1]} bytes)"
  else
    fail "audio sizes ${sizes[*]:-none} do not follow the settings in the config folder"
  fi

  touch "$tmp/marker"
  sleep 1
  if cli output --out "$tmp/elsewhere" >/dev/null 2>"$tmp/stderr" &&
    [ -n "$(new_folder "$tmp/elsewhere")" ] && [ -z "$(new_folder "$work")" ]; then
    pass "--out DIR"
  else
    fail "--out: $(cat "$tmp/stderr")"
  fi

  snapshot >"$tmp/root.after"
  if cmp -s "$tmp/root.before" "$tmp/root.after"; then
    pass "nothing written under the package root"
  else
    fail "the package root changed:"
    diff "$tmp/root.before" "$tmp/root.after" >&2 || true
  fi
  stray=$(find "$home" -newer "$tmp/start" -type f ! -path "$home/cache/*" \
    ! -path "$config/hoshizora/settings.ini")
  [ -z "$stray" ] && pass "nothing written in the home but the cache" || fail "written: $stray"
fi

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "all checks passed"
