#!/usr/bin/env bash
# Measures what playing costs: CPU seconds and resident memory of the Tunelark program while it
# plays a 5-minute AC-3 .rm for BENCH_SECONDS (default 60) with its window visible and the
# position bar moving, and, in the same run and into the same PulseAudio sink,
# `ffplay -nodisp -autoexit` playing the same clip. Prints the figures; asserts nothing.
#
# Other builds of the program given as further arguments play the same clip at the same time,
# each with its own window and figures, so two builds compare under the same load.
#
#   scripts/test-env bench/playback/playback_cost.sh build/<dir>/bin/tunelark [other/tunelark ...]
set -uo pipefail

[ $# -gt 0 ] || { echo "usage: $0 PATH/TO/tunelark [OTHER/tunelark ...]" >&2; exit 2; }
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

# Each program plays from its own settings folder, its window moved clear of the others'.
apps=()
slot=0
for program in "$@"; do
  windir=$work/windows$slot
  mkdir -p "$windir"
  cp "$work/windows/temp.ram" "$windir/"
  TUNELARK_WINDIR="$windir" "$program" >"$work/tunelark$slot.log" 2>&1 &
  app=$!
  pids+=("$app")
  window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$app" | head -n 1)
  [ -n "$window" ] || { echo "$program showed no window" >&2; cat "$work/tunelark$slot.log" >&2; exit 1; }
  xdotool windowmove --sync "$window" $((10 + slot * 500)) 10
  sleep 2  # the player module is loaded after the first frame
  eval "$(xdotool getwindowgeometry --shell "$window")"
  # Play (Image9): left 720, top 1080 twips in the player frame, whose top is 1300; 675 x 225.
  play_x=$((X + (720 + 675 / 2) / 15))
  play_y=$((Y + (1300 + 1080 + 225 / 2) / 15))
  before=$(sink_inputs)
  xdotool mousemove "$play_x" "$play_y" click 1
  for _ in $(seq 50); do [ "$(sink_inputs)" -gt "$before" ] && break; sleep 0.1; done
  if [ "$(sink_inputs)" -le "$before" ]; then
    echo "clicking Play of $program at $play_x,$play_y started no sound stream" >&2
    exit 1
  fi
  apps+=("$app")
  slot=$((slot + 1))
done

ffplay -nodisp -autoexit -loglevel error "$clip" >"$work/ffplay.log" 2>&1 &
ffplay=$!
pids+=("$ffplay")
sleep 2  # all past their start-up

app0=()
for app in "${apps[@]}"; do app0+=("$(cpu_ticks "$app")"); done
ff0=$(cpu_ticks "$ffplay")
declare -A rss_max rss_sum
samples=0
for _ in $(seq "$seconds"); do
  sleep 1
  for app in "${apps[@]}"; do
    kib=$(rss_kib "$app") || break 2
    rss_sum[$app]=$((${rss_sum[$app]:-0} + kib))
    [ "$kib" -gt "${rss_max[$app]:-0}" ] && rss_max[$app]=$kib
  done
  samples=$((samples + 1))
done
ff1=$(cpu_ticks "$ffplay")
ff_rss=$(rss_kib "$ffplay")
streams=$(sink_inputs)
ff=$(awk -v a="$ff0" -v b="$ff1" -v t="$ticks" 'BEGIN { print (b - a) / t }')
printf 'playing a 5-minute AC-3 .rm for %d s into the PulseAudio null sink (%d streams at the end)\n' \
  "$seconds" "$streams"
i=0
for app in "${apps[@]}"; do
  app1=$(cpu_ticks "$app")
  breakdown=$(awk '/^(Rss|Pss_Anon|Pss_File|Pss_Shmem)/ { printf "%s %d MiB  ", $1, $2 / 1024 }' \
    "/proc/$app/smaps_rollup")
  awk -v program="${@:$((i + 1)):1}" -v a0="${app0[$i]}" -v a1="$app1" \
    -v ff="$ff" -v t="$ticks" -v s="$seconds" -v rmax="${rss_max[$app]:-0}" \
    -v rsum="${rss_sum[$app]:-0}" -v n="$samples" -v breakdown="$breakdown" 'BEGIN {
    app = (a1 - a0) / t
    printf "%s (window shown, position bar moving): %.2f CPU s  (%.2f%% of one core)\n", program, app, 100 * app / s
    if (ff > 0) printf "  ratio to ffplay: %.2f  (target <= 0.50)\n", app / ff
    printf "  resident memory while playing: max %.1f MiB, mean %.1f MiB  (target <= 42 MiB)\n", rmax / 1024, (n ? rsum / n : 0) / 1024
    printf "  %s\n", breakdown
  }'
  i=$((i + 1))
done
awk -v ff="$ff" -v s="$seconds" -v frss="$ff_rss" 'BEGIN {
  printf "ffplay -nodisp -autoexit: %.2f CPU s  (%.2f%% of one core), resident memory %.1f MiB\n", ff, 100 * ff / s, frss / 1024
}'
