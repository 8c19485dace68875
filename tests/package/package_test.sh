#!/usr/bin/env bash
# Builds the Debian package from the build folder, checks what it installs, unpacks it into a
# scratch root and starts the installed program there: the window must paint, and the player
# module must come from the installed modules folder, not from the build.
#   package_test.sh BUILD_FOLDER        (inside scripts/test-env: needs a display)
set -uo pipefail
build=$1
scratch=$(mktemp -d /tmp/tunelark-package.XXXXXX)
pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1) ||
  { cat "$scratch/cpack.log"; fail "cpack could not build the package"; }
deb=$(ls "$scratch"/out/tunelark_*.deb) || fail "no package was made"

# Dependencies are computed from the binaries, so the libraries they link must be there.
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6multimedia6 libpulse0 libc6; do
  [[ $depends == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done

root="$scratch/root"
dpkg-deb -x "$deb" "$root" || fail "the package does not unpack"
share="$root/usr/share"
desktop-file-validate "$share/applications/org.example.Tunelark.desktop" ||
  fail "the .desktop file is not valid"
appstreamcli validate --no-net "$share/metainfo/org.example.Tunelark.metainfo.xml" ||
  fail "the metainfo file is not valid"
for size in 16 32 48 64 128 256; do
  icon="$share/icons/hicolor/${size}x${size}/apps/org.example.Tunelark.png"
  file "$icon" | grep -q "$size x $size" || fail "no ${size}-pixel icon: $(file "$icon")"
done
[ -s "$share/icons/hicolor/scalable/apps/org.example.Tunelark.svg" ] || fail "no scalable icon"

# The installed program, with a home of its own and nothing from the build folder to lean on.
mkdir -p "$scratch/home"
HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/home/.config" TUNELARK_WINDIR= \
  TUNELARK_PLAYER_MODULE= "$root/usr/bin/tunelark" >"$scratch/out.log" 2>&1 &
pid=$!
window=""
for _ in $(seq 100); do
  window=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -1)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { cat "$scratch/out.log"; fail "the installed program shows no window"; }

module="$root/usr/lib/tunelark/libtunelark_player.so"
for _ in $(seq 100); do
  grep -q "$module" "/proc/$pid/maps" 2>/dev/null && break
  sleep 0.1
done
grep -q "$module" "/proc/$pid/maps" || { cat "$scratch/out.log"; fail "the module was not loaded from $module"; }
grep -q "$build" "/proc/$pid/maps" && fail "the installed program mapped a file of the build folder"

# A painted window has the skin's many colours; an unpainted one is a single fill.
colours=$(xwd -silent -id "$window" | tail -c +4096 | od -An -v -tx4 -w4 | sort -u | head -50 | wc -l)
[ "$colours" -ge 20 ] || fail "the window is not painted ($colours colours)"

kill -TERM "$pid"
wait "$pid"
status=$?
pid=""
[ "$status" -eq 0 ] || fail "the program ended with status $status"
find "$scratch/home" -name tunelark.ini | grep -q . || fail "no settings file was stored"
echo "package test passed: $(basename "$deb"), $(du -k "$deb" | cut -f1) KiB, $colours+ colours on screen"
