#!/usr/bin/env bash
# Measures what playing costs: CPU seconds and resident memory of the Tunelark program while it
# plays a 5-minute AC-3 .rm for BENCH_SECONDS (default 60) with its window visible and the
# position bar moving, and, in the same run and into the same PulseAudio sink,
# `ffplay -nodisp -autoexit` playing the same clip. Prints the figures; asserts nothing.
#
#   scripts/test-env bench/playback/playback_cost.sh build/<dir>/bin/tunelark
set -uo pipefail

program=${1:?usage: $0 PATH/TO/tunelark}
seconds=${BENCH_SECONDS:-60}
[ -n "${DISPLAY:-}" ] && [ -n "${PULSE_SERVER:-}" ] || {
  echo "run inside scripts/test-env (needs a display and a PulseAudio sink)" >&2
  exit 2
}

work=$(mktemp -d /tmp/tunelark-bench.XXXXXX)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT

clip=$work/clip.rm
ffmpeg -v error -y -f lavfi -i "sine=frequency=440:duration=300" -ac 2 -ar 44100 -c:a ac3 "$clip" ||
  { echo "ffmpeg could not make the clip" >&2; exit 1; }

# The program starts untitled on its working list, so the clip in temp.ram is what Play plays.
mkdir -p "$work/windows"
printf 'file:%s\r\n' "$clip" >"$work/windows/temp.ram"

ticks=$(getconf CLK_TCK)
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
rss_kib() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }
sink_inputs() { pactl list sink-inputs short 2>/dev/null | wc -l; }

TUNELARK_WINDIR="$work/windows" "$program" >"$work/tunelark.log" 2>&1 &
app=$!
pids+=("$app")
window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$app" | head -n 1)
[ -n "$window" ] || { echo "the program showed no window" >&2; cat "$work/tunelark.log" >&2; exit 1; }
sleep 2  # the player module is loaded after the first frame
eval "$(xdotool getwindowgeometry --shell "$window")"
# Play (Image9): left 720, top 1080 twips in the player frame, whose top is 1300; 675 x 225.
play_x=$((X + (720 + 675 / 2) / 15))
play_y=$((Y + (1300 + 1080 + 225 / 2) / 15))
before=$(sink_inputs)
xdotool mousemove "$play_x" "$play_y" click 1
for _ in $(seq 50); do [ "$(sink_inputs)" -gt "$before" ] && break; sleep 0.1; done
if [ "$(sink_inputs)" -le "$before" ]; then
  echo "clicking Play at $play_x,$play_y started no sound stream" >&2
  exit 1
fi

ffplay -nodisp -autoexit -loglevel error "$clip" >"$work/ffplay.log" 2>&1 &
ffplay=$!
pids+=("$ffplay")
sleep 2  # both past their start-up

app0=$(cpu_ticks "$app")
ff0=$(cpu_ticks "$ffplay")
rss_max=0
rss_sum=0
samples=0
for _ in $(seq "$seconds"); do
  sleep 1
  kib=$(rss_kib "$app") || break
  rss_sum=$((rss_sum + kib))
  samples=$((samples + 1))
  [ "$kib" -gt "$rss_max" ] && rss_max=$kib
done
app1=$(cpu_ticks "$app")
ff1=$(cpu_ticks "$ffplay")
ff_rss=$(rss_kib "$ffplay")
streams=$(sink_inputs)
breakdown=$(awk '/^(Rss|Pss_Anon|Pss_File|Pss_Shmem)/ { printf "%s %d MiB  ", $1, $2 / 1024 }' \
  "/proc/$app/smaps_rollup")

awk -v a0="$app0" -v a1="$app1" -v f0="$ff0" -v f1="$ff1" -v t="$ticks" -v s="$seconds" \
  -v rmax="$rss_max" -v rsum="$rss_sum" -v n="$samples" -v frss="$ff_rss" -v streams="$streams" \
  -v breakdown="$breakdown" 'BEGIN {
  app = (a1 - a0) / t; ff = (f1 - f0) / t
  printf "playing a 5-minute AC-3 .rm for %d s into the PulseAudio null sink (%d streams at the end)\n", s, streams
  printf "tunelark (window shown, position bar moving): %.2f CPU s  (%.2f%% of one core)\n", app, 100 * app / s
  printf "ffplay -nodisp -autoexit:                     %.2f CPU s  (%.2f%% of one core)\n", ff, 100 * ff / s
  if (ff > 0) printf "ratio tunelark / ffplay: %.2f  (target <= 0.50)\n", app / ff
  printf "tunelark resident memory while playing: max %.1f MiB, mean %.1f MiB  (target <= 60 MiB)\n", rmax / 1024, (n ? rsum / n : 0) / 1024
  printf "  %s\n", breakdown
  printf "ffplay resident memory: %.1f MiB\n", frss / 1024
}'
