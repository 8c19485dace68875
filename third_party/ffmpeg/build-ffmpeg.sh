#!/usr/bin/env bash
# Builds the FFmpeg the player links: static, position-independent libraries with only the
# components the configure options name, from the source of the newest FFmpeg that Debian 12
# ships (security updates included). Run by CMake at configure time; prints the install folder
# as the last line of its output.
#
#   build-ffmpeg.sh CACHE KEY CC [configure options...]
#
# CACHE holds the private apt state and one folder per build, CACHE/ffmpeg-VERSION-KEY, shared
# by every build tree of every checkout. A build is made in a temporary folder next to it and
# renamed into place, so a build that is stopped halfway leaves nothing behind; a lock makes a
# second configure wait for the first one's build instead of doing the same work again.
set -euo pipefail

cache=${1:?cache folder}
key=${2:?key}
cc=${3:?C compiler}
shift 3

fail() {
  echo "$*" >&2
  exit 1
}

mkdir -p "$cache"
exec 9>"$cache/lock"
flock 9

# apt with its own source list, state and download folders: the machine's apt configuration is
# read but never changed. apt checks the Release signature against Debian's archive keyring and
# every downloaded file against the hashes in the signed index.
apt_dir=$cache/apt
mkdir -p "$apt_dir/etc/sources.list.d" "$apt_dir/etc/preferences.d" \
  "$apt_dir/state/lists/partial" "$apt_dir/cache/archives/partial"
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
[ -r "$keyring" ] || fail "Debian's archive keyring ($keyring) is missing: install debian-archive-keyring"
cat >"$apt_dir/etc/sources.list" <<EOF
deb-src [signed-by=$keyring] http://deb.debian.org/debian bookworm main
deb-src [signed-by=$keyring] http://deb.debian.org/debian bookworm-updates main
deb-src [signed-by=$keyring] http://deb.debian.org/debian-security bookworm-security main
EOF
apt_options=(
  -o "Dir::Etc=$apt_dir/etc" -o "Dir::Etc::sourcelist=$apt_dir/etc/sources.list"
  -o "Dir::Etc::sourceparts=$apt_dir/etc/sources.list.d"
  -o "Dir::Etc::preferencesparts=$apt_dir/etc/preferences.d"
  -o "Dir::State=$apt_dir/state" -o "Dir::Cache=$apt_dir/cache"
  -o Debug::NoLocking=1 -o APT::Sandbox::User="$(id -un)" -o Acquire::Retries=3
)

# A security release is picked up by the first configure a day after it appears; in between,
# and when the network is down but a build is cached, the index already here is used.
stamp=$apt_dir/updated
if [ -z "$(find "$stamp" -mmin -1440 2>/dev/null)" ]; then
  if apt-get "${apt_options[@]}" -q update >"$apt_dir/update.log" 2>&1 &&
     ! grep -qE '^(E: |W: Failed to fetch)' "$apt_dir/update.log"; then
    touch "$stamp"
  elif [ -e "$stamp" ]; then
    echo "warning: could not refresh Debian's source index; using the one from $(date -r "$stamp")" >&2
  else
    grep -E '^(W|E): ' "$apt_dir/update.log" >&2
    fail "cannot fetch Debian's source index from deb.debian.org (no network?)"
  fi
fi

version=$({ apt-cache "${apt_options[@]}" showsrc ffmpeg 2>/dev/null || true; } |
  sed -n 's/^Version: //p' | {
  newest=""
  while read -r v; do
    if [ -z "$newest" ] || dpkg --compare-versions "$v" gt "$newest"; then newest=$v; fi
  done
  echo "$newest"
})
[ -n "$version" ] || fail "Debian's source index has no entry for ffmpeg"

prefix=$cache/ffmpeg-${version#*:}-$key
if [ -e "$prefix/lib/libavformat.a" ]; then
  echo "$prefix"
  exit 0
fi

work=$(mktemp -d "$cache/.build.XXXXXX")
trap 'rm -rf "$work"' EXIT
log=$cache/last-build.log
echo "Building FFmpeg $version with only the listed components (log: $log)" >&2
(
  cd "$work"
  apt-get "${apt_options[@]}" -q source --download-only "ffmpeg=$version" ||
    fail "cannot download the source of ffmpeg $version from Debian"
  dpkg-source -x ffmpeg_*.dsc source || fail "cannot unpack the source of ffmpeg $version"
  mkdir build
  cd build
  ../source/configure --prefix="$prefix" --cc="$cc" \
    --enable-static --disable-shared --enable-pic --disable-debug \
    --disable-programs --disable-doc --disable-avdevice --disable-avfilter --disable-swscale \
    --disable-postproc --disable-everything --disable-autodetect --enable-network \
    --enable-gnutls "$@" || fail "FFmpeg's configure failed"
  make -j"$(nproc)" || fail "building FFmpeg failed"
  make install DESTDIR="$work/stage" || fail "installing FFmpeg failed"
) >"$log" 2>&1 || {
  tail -n 30 "$log" >&2
  exit 1
}
# The rename is what publishes the build; a folder that exists is complete.
mv -T "$work/stage$prefix" "$prefix"
echo "$prefix"
